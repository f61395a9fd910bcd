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
    for (std::size_t b = 0; b < N; ++b)
        p[b] = static_cast<char>((v >> (8 * b)) & 0xFFu);
}

// The bits of a double as an integer (std::bit_cast, which a sanitizer build
// may leave as a call per value).
[[gnu::always_inline]] inline uint64_t bit_double(double v) {
    uint64_t u = 0;
    std::memcpy(&u, &v, sizeof u);
    return u;
}

}  // namespace scenario
