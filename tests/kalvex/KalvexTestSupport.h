// Helpers for the tests of the library through its C interface.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "Errors.h"
#include "kalvex.h"

using namespace kalvex;

struct EvalResult {
    double value = 0;
    int error = -1;
    std::string description;
    int type = 0;
};

inline EvalResult Eval(const std::string& text, int flag = 1) {
    EvalResult r;
    e_eval(text.c_str(), &r.value, flag);
    r.error = GetE_Error();
    r.type = GetResultType();
    if (r.error != -1) r.description = GetE_ErrDescr(r.error);
    return r;
}

inline std::string LastDescription() {
    const int e = GetE_Error();
    return e == -1 ? std::string() : std::string(GetE_ErrDescr(e));
}

// Every test starts from a library that knows nothing.
class KalvexTest : public ::testing::Test {
protected:
    void SetUp() override {
        ReSetEqParser();
        aElemOrderSet(0);
    }
};
