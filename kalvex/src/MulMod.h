#ifndef KALVEX_MULMOD_H
#define KALVEX_MULMOD_H

#include <cstdint>

// a * b mod m (m > 0) for 64-bit numbers, without a 128-bit integer type, so
// that 32-bit targets compute the same: the product's high and low halves from
// 32-bit pieces, then the remainder of the high half with the low half's bits
// shifted in one at a time.
inline std::uint64_t MulMod(std::uint64_t a, std::uint64_t b, std::uint64_t m) {
    constexpr std::uint64_t kLow32 = 0xffffffffu;
    const std::uint64_t ll = (a & kLow32) * (b & kLow32);
    const std::uint64_t lh = (a & kLow32) * (b >> 32);
    const std::uint64_t hl = (a >> 32) * (b & kLow32);
    const std::uint64_t hh = (a >> 32) * (b >> 32);
    const std::uint64_t middle = (ll >> 32) + (lh & kLow32) + (hl & kLow32);
    const std::uint64_t high = hh + (lh >> 32) + (hl >> 32) + (middle >> 32);
    const std::uint64_t low = (middle << 32) | (ll & kLow32);
    if (high == 0) return low % m;
    std::uint64_t r = high % m;
    for (int bit = 63; bit >= 0; --bit) {
        // 2r + bit < 2m: one subtraction brings it below m, also when the
        // doubling carried out of 64 bits (the wrap-around cancels the carry).
        const bool carry = (r >> 63) != 0;
        r = (r << 1) | ((low >> bit) & 1u);
        if (carry || r >= m) r -= m;
    }
    return r;
}

#endif
