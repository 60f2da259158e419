#include "Errors.h"

namespace kalvex {

namespace {
int g_code = kNoError;
std::string g_text;
}  // namespace

void ClearError() {
    g_code = kNoError;
    g_text.clear();
}

bool Fail(int code, std::string description) {
    if (g_code == kNoError) {
        g_code = code;
        g_text = std::move(description);
    }
    return false;
}

std::string Where(int pos) { return " at position " + std::to_string(pos); }

bool SyntaxError(int pos, const std::string& what) {
    return Fail(kSyntax, "Syntax error" + Where(pos) + ": " + what);
}

bool ErrorPending() { return g_code != kNoError; }

void AddContext(const std::string& prefix) {
    if (g_code != kNoError) g_text.insert(0, prefix);
}

int LastError() { return g_code; }

const std::string& LastErrorText() { return g_text; }

const char* ErrorTitle(int code) {
    switch (code) {
        case kSyntax: return "Syntax error";
        case kUnknownName: return "Unknown name";
        case kArgumentCount: return "Wrong number of arguments";
        case kDivisionByZero: return "Division by zero";
        case kDomain: return "Domain error";
        case kOutOfRange: return "Number out of range";
        case kTooDeep: return "Nesting too deep";
        case kTooLong: return "Expression too long";
        case kShape: return "Matrix sizes do not match";
        case kUnknownMatrix: return "Unknown matrix";
        case kSingular: return "Singular matrix";
        case kMatrixSpec: return "Invalid matrix spec";
        case kRecursion: return "Recursion too deep";
        case kNoRealRoot: return "No real root";
        case kNotPolynomial: return "Not a polynomial";
        case kBadArgument: return "Invalid argument";
        case kBadName: return "Invalid name";
        case kEmpty: return "Empty expression";
        case kWorkLimit: return "Work limit exceeded";
        case kNotConverged: return "Integral did not converge";
        default: return "No error";
    }
}

}  // namespace kalvex
