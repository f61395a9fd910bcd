// The line file: every value of the track plan, a 2-byte tag and then the
// value it announces, made piece by piece. A long route holds millions of
// values, so this per-value work lives apart from the other compiled files
// (the fuzz build leaves it out of its instrumentation, as it does the plan
// steps).
#include "compiler/compiled_files.h"
#include "compiler/little_endian.h"
#include "compiler/plan_stepper.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <stdexcept>

namespace scenario {

namespace {

using etichetta = valore_tracciato::etichetta;

std::size_t byte_valore(const valore_tracciato& v) {
    switch (v.tipo) {
        case etichetta::intero:
            return 4;
        case etichetta::reale:
            return 10;
        case etichetta::vuoto:
            break;
    }
    return 2;
}

// A tag, then the value it announces, at `p`; gives the byte after it. Each
// takes its bytes in one step, into room the caller made sure of.
[[gnu::always_inline]] inline char* metti_valore(char* p, const valore_tracciato& v) {
    switch (v.tipo) {
        case etichetta::intero:
            metti_le<2>(p, static_cast<uint16_t>(etichetta::intero));
            metti_le<2>(p + 2, static_cast<uint16_t>(v.intero));
            return p + 4;
        case etichetta::reale:
            metti_le<2>(p, static_cast<uint16_t>(etichetta::reale));
            metti_le<8>(p + 2, bit_double(v.reale));
            return p + 10;
        case etichetta::vuoto:
            break;
    }
    metti_le<2>(p, static_cast<uint16_t>(etichetta::vuoto));
    return p + 2;
}

// Gathers the line file's bytes in a small buffer and hands each full buffer
// on, so no more than a piece of the file is ever in memory at once.
class piece_buffer {
public:
    explicit piece_buffer(const piece_writer& write) : write_(write) {}

    // One value, its tag first.
    [[gnu::always_inline]] void put(const valore_tracciato& v) {
        if (end_ - p_ < largest_value)
            flush();
        p_ = metti_valore(p_, v);
    }

    // Tags and values of the points a run computes, for one coordinate.
    [[gnu::always_inline]] void put_double(double v) {
        if (end_ - p_ < largest_value)
            flush();
        metti_le<2>(p_, static_cast<uint16_t>(etichetta::reale));
        metti_le<8>(p_ + 2, bit_double(v));
        p_ += 10;
    }

    void flush() {
        if (p_ != buffer_)
            write_(std::string_view(buffer_, std::size_t(p_ - buffer_)));
        p_ = buffer_;
    }

private:
    static constexpr std::ptrdiff_t largest_value = 10;
    const piece_writer& write_;
    char buffer_[plan_piece_bytes];
    char* p_ = buffer_;
    char* const end_ = buffer_ + plan_piece_bytes;
};

// One coordinate of a plan that keeps only its runs: points 0 and 1 as the
// line reader sets them, the runs' points computed again, then empty values.
void coordinate_from_runs(const tracciato_linea& t, int coordinate, piece_buffer& out) {
    const valore_tracciato empty{};
    const valore_tracciato start[2] = {valore_tracciato::da_intero(0),
                                       valore_tracciato::da_intero(coordinate == 0 ? 0 : 1)};
    for (int32_t p = 0; p < 2 && p <= t.ultimo_punto; ++p)
        out.put(t.started ? start[p] : empty);
    // The numbers of points 0 and 1, as a plan holding them reads them.
    plan_stepper steps(0.0, 0.0, 0.0, t.started ? 1.0 : 0.0);
    int32_t next = 2;
    for (const plan_run& r : t.runs) {
        if (r.first != next || r.last > t.ultimo_punto)
            throw std::logic_error("track plan runs that do not follow each other");
        if (coordinate == 0)
            steps.run(r, [&out](int32_t, double x, double) { out.put_double(x); });
        else
            steps.run(r, [&out](int32_t, double, double y) { out.put_double(y); });
        next = r.last + 1;
    }
    for (int32_t p = std::max(next, 2); p <= t.ultimo_punto; ++p)
        out.put(empty);
}

}  // namespace

void encode_plan_in_pieces(const tracciato_linea& t, const piece_writer& write) {
    // A plan that does not exist has no elements to write.
    if (!t.esiste())
        return;
    piece_buffer out(write);
    if (t.keep_points) {
        // `valori` already holds all x values, then all y values.
        for (const valore_tracciato& v : t.valori)
            out.put(v);
    } else {
        coordinate_from_runs(t, 0, out);
        coordinate_from_runs(t, 1, out);
    }
    out.flush();
}

std::size_t line_file_bytes(const tracciato_linea& t) {
    if (!t.esiste())
        return 0;
    if (t.keep_points) {
        std::size_t n = 0;
        for (const valore_tracciato& v : t.valori)
            n += byte_valore(v);
        return n;
    }
    std::size_t computed = 0;
    for (const plan_run& r : t.runs)
        computed += std::size_t(r.last - r.first + 1);
    const std::size_t first_two = std::min<std::size_t>(2, t.punti());
    const std::size_t empty = t.punti() - computed - (t.started ? first_two : 0);
    return 2 * ((t.started ? 4 * first_two : 0) + 10 * computed + 2 * empty);
}

void codifica_tracciato(const tracciato_linea& t, std::string& dati) {
    dati.clear();
    dati.reserve(line_file_bytes(t));
    encode_plan_in_pieces(t, [&dati](std::string_view piece) { dati.append(piece); });
}

std::string codifica_tracciato(const tracciato_linea& t) {
    std::string dati;
    codifica_tracciato(t, dati);
    return dati;
}

}  // namespace scenario
