// dSolve: a finite root, or 0 with an error.
#include "Promises.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string polynomial = FirstText(data, size);
    const std::string var = SecondText(data, size);
    CheckOutcome(dSolve(polynomial.c_str(), var.c_str()));
    return 0;
}
