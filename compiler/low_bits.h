// The value a field of fixed width keeps of a wider result: its low bits.
// Results are computed in 64 bits, where they cannot overflow; taking the low
// bits afterwards equals computing in the field's own width.
#pragma once

#include <cstdint>

namespace scenario {

constexpr uint8_t basso8(int64_t v) {
    return static_cast<uint8_t>(static_cast<uint64_t>(v) & 0xFFu);
}
constexpr int16_t basso16(int64_t v) {
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(v) & 0xFFFFu));
}
constexpr int32_t basso32(int64_t v) {
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v) & 0xFFFFFFFFu));
}

}  // namespace scenario
