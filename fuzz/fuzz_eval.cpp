// e_eval in both modes: statement evaluation and plot sampling.
#include "Promises.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const int flag = (data[0] & 1) != 0 ? KALVEX_EVAL_STATEMENT : KALVEX_EVAL_PLOT;
    const std::string text = FirstText(data + 1, size - 1);
    double value = -1;
    const int code = e_eval(text.c_str(), &value, flag);
    CheckOutcome(value);
    Promise(code == (GetE_Error() == KALVEX_NO_ERROR ? 0 : GetE_Error()));
    if (code == 0 && GetResultType() == KALVEX_RESULT_MATRIX) {
        Promise(flag == KALVEX_EVAL_STATEMENT);
        int rows = 0;
        int cols = 0;
        const double* m = FindMatrix(std::to_string(static_cast<long>(value)).c_str(), KALVEX_MATRIX_BY_HANDLE, &rows, &cols);
        Promise(m != nullptr && rows > 0 && cols > 0);
        for (long k = 0; k < static_cast<long>(rows) * cols; ++k) Promise(std::isfinite(m[k]));
    }
    return 0;
}
