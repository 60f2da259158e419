// lPoly_dydx: the derivative text reads back as a polynomial in the same
// variable, and its own derivative is taken without a syntax error.
#include "Promises.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string polynomial = FirstText(data, size);
    const std::string var = SecondText(data, size);
    const char* text = lPoly_dydx(polynomial.c_str(), var.c_str());
    Promise(text != nullptr);
    CheckOutcome(0);
    if (GetE_Error() != KALVEX_NO_ERROR) {
        Promise(*text == '\0');
        return 0;
    }
    const std::string derivative = text;
    const std::string again = lPoly_dydx(derivative.c_str(), var.c_str());
    CheckOutcome(0);
    // A constant derivative has no free name left, so only a named variable
    // may be missing from it; a second derivative can only overflow.
    const int error = GetE_Error();
    Promise(error == KALVEX_NO_ERROR || error == KALVEX_E_OUT_OF_RANGE);
    // The difference of the text and itself is the zero polynomial.
    dSolve(("(" + derivative + ") - (" + derivative + ")").c_str(), var.c_str());
    Promise(GetE_Error() == KALVEX_E_NO_REAL_ROOT);
    return 0;
}
