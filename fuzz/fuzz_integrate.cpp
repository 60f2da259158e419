// Integrate over small subinterval counts and adaptively: a finite value, or
// 0 with an error.
#include <cstring>

#include "Promises.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    const double a = static_cast<std::int8_t>(data[0]) / 8.0;
    const double b = static_cast<std::int8_t>(data[1]) / 8.0;
    const int n = data[2] % 64;
    const int trap = data[3] & 1;
    const std::string function = FirstText(data + 4, size - 4);
    const std::string var = SecondText(data + 4, size - 4);
    double result = -1;
    Integrate(function.c_str(), a, b, n, trap, var.c_str(), &result);
    CheckOutcome(result);
    return 0;
}
