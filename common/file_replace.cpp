#include "common/file_replace.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

namespace scenario {

namespace {
std::string nome_per_messaggio(const std::filesystem::path& p) {
    auto u8 = p.u8string();
    return std::string(u8.begin(), u8.end());
}

std::string guasto(const char* azione, const std::filesystem::path& p, const std::string& causa) {
    return std::string(azione) + " \"" + nome_per_messaggio(p) + "\": " + causa;
}

std::string causa_errno(int e) {
    return e != 0 ? std::strerror(e) : "unknown failure";
}
}  // namespace

std::optional<std::string> sostituisci_file(const std::filesystem::path& percorso,
                                            std::string_view contenuto) {
    {
        errno = 0;
        std::ofstream prova(percorso, std::ios::binary | std::ios::app);
        if (!prova)
            return guasto("cannot open", percorso, causa_errno(errno));
    }

    std::filesystem::path temporaneo = percorso;
    temporaneo += ".tmp";
    {
        errno = 0;
        std::ofstream out(temporaneo, std::ios::binary | std::ios::trunc);
        if (!out)
            return guasto("cannot create", temporaneo, causa_errno(errno));
        out.write(contenuto.data(), std::streamsize(contenuto.size()));
        out.flush();
        int e = errno;
        if (!out) {
            out.close();
            std::error_code ignora;
            std::filesystem::remove(temporaneo, ignora);
            return guasto("cannot write", percorso, causa_errno(e));
        }
        out.close();
        if (!out) {
            e = errno;
            std::error_code ignora;
            std::filesystem::remove(temporaneo, ignora);
            return guasto("cannot write", percorso, causa_errno(e));
        }
    }

    std::error_code ec;
    std::filesystem::rename(temporaneo, percorso, ec);
    if (ec) {
        std::error_code ignora;
        std::filesystem::remove(temporaneo, ignora);
        return guasto("cannot replace", percorso, ec.message());
    }
    return std::nullopt;
}

}  // namespace scenario
