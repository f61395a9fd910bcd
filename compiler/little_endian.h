// Little-endian fields, byte by byte, whatever the machine's own order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

namespace scenario {

// Puts the bytes `b...` of `v` at `p`, least significant first.
template <std::size_t... b>
[[gnu::always_inline]] inline void metti_byte_le(char* p, uint64_t v, std::index_sequence<b...>) {
    ((p[b] = static_cast<char>((v >> (8 * b)) & 0xFFu)), ...);
}

// Puts the N low bytes of `v` at `p`, least significant first. With N a
// constant the shifts are constants too and the stores merge (a loop is not
// always unrolled, and then every byte takes a shift by a variable amount).
// Always inlined: a sanitizer build's checks make it look too big to inline,
// and a call per field then costs more than the field.
template <std::size_t N>
[[gnu::always_inline]] inline void metti_le(char* p, uint64_t v) {
    static_assert(N >= 1 && N <= 8);
    metti_byte_le(p, v, std::make_index_sequence<N>{});
}

// The bits of a double as an integer (std::bit_cast, which a sanitizer build
// may leave as a call per value).
[[gnu::always_inline]] inline uint64_t bit_double(double v) {
    uint64_t u = 0;
    std::memcpy(&u, &v, sizeof u);
    return u;
}

}  // namespace scenario
