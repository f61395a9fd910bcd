// Little-endian fields, byte by byte, whatever the machine's own order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace scenario {

// Puts the N low bytes of `v` at `p`, least significant first. With N a
// constant the shifts are constants too and the stores merge. Always inlined:
// a sanitizer build's checks make it look too big to inline, and a call per
// field then costs more than the field.
template <std::size_t N>
[[gnu::always_inline]] inline void metti_le(char* p, uint64_t v) {
    static_assert(N >= 1 && N <= 8);
    // Written out: a loop here is not always unrolled, and then every byte
    // takes a shift by a variable amount.
    p[0] = static_cast<char>(v & 0xFFu);
    if constexpr (N > 1)
        p[1] = static_cast<char>((v >> 8) & 0xFFu);
    if constexpr (N > 2)
        p[2] = static_cast<char>((v >> 16) & 0xFFu);
    if constexpr (N > 3)
        p[3] = static_cast<char>((v >> 24) & 0xFFu);
    if constexpr (N > 4)
        p[4] = static_cast<char>((v >> 32) & 0xFFu);
    if constexpr (N > 5)
        p[5] = static_cast<char>((v >> 40) & 0xFFu);
    if constexpr (N > 6)
        p[6] = static_cast<char>((v >> 48) & 0xFFu);
    if constexpr (N > 7)
        p[7] = static_cast<char>((v >> 56) & 0xFFu);
}

// The bits of a double as an integer (std::bit_cast, which a sanitizer build
// may leave as a call per value).
[[gnu::always_inline]] inline uint64_t bit_double(double v) {
    uint64_t u = 0;
    std::memcpy(&u, &v, sizeof u);
    return u;
}

}  // namespace scenario
