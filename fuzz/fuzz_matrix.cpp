// SetStrMatrix, then FindMatrix and aPrint of the matrix it defined.
#include "Promises.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    aElemOrderSet(data[0] & 1);
    const std::string spec = FirstText(data + 1, size - 1);
    SetStrMatrix(spec.c_str(), 0, 1);
    CheckOutcome(0);
    const bool defined = GetE_Error() == KALVEX_NO_ERROR;
    int rows = 0;
    int cols = 0;
    const double* m = FindMatrix(spec.substr(0, spec.find(';')).c_str(), KALVEX_MATRIX_BY_NAME, &rows, &cols);
    CheckOutcome(0);
    if (defined) Promise(m != nullptr);
    if (m != nullptr) {
        Promise(rows > 0 && cols > 0);
        for (long k = 0; k < static_cast<long>(rows) * cols; ++k) Promise(std::isfinite(m[k]));
        const char* listing = aPrint(m, rows, cols, "String", "0.0000", "", "");
        Promise(listing != nullptr && GetE_Error() == KALVEX_NO_ERROR);
    }
    ReSetEqParser();
    return 0;
}
