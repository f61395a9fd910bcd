#include "common/file_replace.h"

#include <cerrno>
#include <fstream>

namespace scenario {

namespace {
// The stream library reports failures through errno.
std::error_code errno_cause(int e) {
    return e != 0 ? std::error_code(e, std::generic_category()) : std::error_code();
}

result<void, file_failure> failed(replace_step step, const std::filesystem::path& p, std::error_code cause) {
    return failure{file_failure{step, p, cause}};
}

void remove_quietly(const std::filesystem::path& p) {
    std::error_code ignored;
    std::filesystem::remove(p, ignored);
}
}  // namespace

result<void, file_failure> replace_file(const std::filesystem::path& percorso, std::string_view contenuto) {
    return replace_file_in_pieces(percorso, [contenuto](const piece_writer& write) { write(contenuto); });
}

result<void, file_failure> replace_file_in_pieces(const std::filesystem::path& percorso,
                                                  const std::function<void(const piece_writer&)>& produce) {
    {
        errno = 0;
        std::ofstream prova(percorso, std::ios::binary | std::ios::app);
        if (!prova)
            return failed(replace_step::open, percorso, errno_cause(errno));
    }

    std::filesystem::path temporaneo = percorso;
    temporaneo += ".tmp";
    {
        errno = 0;
        std::ofstream out(temporaneo, std::ios::binary | std::ios::trunc);
        if (!out)
            return failed(replace_step::create, temporaneo, errno_cause(errno));
        // Each piece in one write; the first failure's cause is kept, and
        // close() flushes what is left and reports a failure of that too.
        int e = 0;
        produce([&out, &e](std::string_view piece) {
            if (!out)
                return;
            out.write(piece.data(), std::streamsize(piece.size()));
            if (!out)
                e = errno;
        });
        if (!out) {
            out.close();
            remove_quietly(temporaneo);
            return failed(replace_step::write, percorso, errno_cause(e));
        }
        out.close();
        if (!out) {
            const int e_close = errno;
            remove_quietly(temporaneo);
            return failed(replace_step::write, percorso, errno_cause(e_close));
        }
    }

    std::error_code ec;
    std::filesystem::rename(temporaneo, percorso, ec);
    if (ec) {
        remove_quietly(temporaneo);
        return failed(replace_step::replace, percorso, ec);
    }
    return {};
}

const char* failure_phrase(replace_step step) {
    switch (step) {
        case replace_step::open:
            return "cannot open";
        case replace_step::create:
            return "cannot create";
        case replace_step::write:
            return "cannot write";
        case replace_step::replace:
            return "cannot replace";
    }
    return "cannot replace";
}

std::string describe_failure(const file_failure& f) {
    const auto u8 = f.file.u8string();
    return std::string(failure_phrase(f.step)) + " \"" + std::string(u8.begin(), u8.end()) +
           "\": " + (f.cause ? f.cause.message() : "unknown failure");
}

result<void> sostituisci_file(const std::filesystem::path& percorso, std::string_view contenuto) {
    if (auto replaced = replace_file(percorso, contenuto); !replaced)
        return failure{describe_failure(replaced.error())};
    return {};
}

}  // namespace scenario
