// SetVarFunct, then e_eval of an expression that may use the definition.
#include "Promises.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const int kind = (data[0] & 1) != 0 ? KALVEX_KIND_FUNCTION : KALVEX_KIND_VARIABLE;
    const std::string definition = FirstText(data + 1, size - 1);
    const std::string expression = SecondText(data + 1, size - 1);
    const std::size_t cut = definition.find(';');
    const std::string name = definition.substr(0, cut);
    const std::string body = cut == std::string::npos ? std::string() : definition.substr(cut + 1);
    SetVarFunct(name.c_str(), body.c_str(), kind);
    CheckOutcome(0);
    double value = -1;
    const int code = e_eval(expression.c_str(), &value, KALVEX_EVAL_STATEMENT);
    CheckOutcome(value);
    Promise(code == (GetE_Error() == KALVEX_NO_ERROR ? 0 : GetE_Error()));
    ReSetEqParser();
    return 0;
}
