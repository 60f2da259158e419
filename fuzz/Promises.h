// The promises every call of the numeric library keeps, checked by the fuzz
// targets: a broken one stops the fuzzer with the input that broke it.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "kalvex.h"

// Stops the fuzzer when a promise is broken.
inline void Promise(bool kept) {
    if (!kept) __builtin_trap();
}

// After an operation: GetE_Error is KALVEX_NO_ERROR or a known error number
// with a description, and a number handed out is finite, and 0 on error.
inline void CheckOutcome(double value) {
    const int error = GetE_Error();
    Promise(error == KALVEX_NO_ERROR || (error >= KALVEX_E_SYNTAX && error <= KALVEX_E_NOT_CONVERGED));
    Promise(std::isfinite(value));
    if (error != KALVEX_NO_ERROR) {
        Promise(value == 0.0);
        const char* description = GetE_ErrDescr(error);
        Promise(description != nullptr && *description != '\0');
    }
}

// The fuzzer's bytes as texts: the first up to the first zero byte, the rest
// after it, so that one input can carry two texts.
inline std::string FirstText(const std::uint8_t* data, std::size_t size) {
    const void* zero = std::memchr(data, 0, size);
    return std::string(reinterpret_cast<const char*>(data),
                       zero ? static_cast<const std::uint8_t*>(zero) - data : size);
}

inline std::string SecondText(const std::uint8_t* data, std::size_t size) {
    const std::size_t first = FirstText(data, size).size();
    return first + 1 < size ? FirstText(data + first + 1, size - first - 1) : std::string();
}
