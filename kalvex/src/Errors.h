// Error numbers and the error state of the library.
//
// Every exported operation starts with ClearError() and ends successful when
// no error was raised; the first error raised during an operation wins, so the
// description names the original cause rather than a follow-up failure.
#pragma once

#include <string>

#include "kalvex.h"

namespace kalvex {

// The error numbers of the C interface (kalvex.h), by shorter names.
enum ErrorCode : int {
    kSyntax = KALVEX_E_SYNTAX,
    kUnknownName = KALVEX_E_UNKNOWN_NAME,
    kArgumentCount = KALVEX_E_ARGUMENT_COUNT,
    kDivisionByZero = KALVEX_E_DIVISION_BY_ZERO,
    kDomain = KALVEX_E_DOMAIN,
    kOutOfRange = KALVEX_E_OUT_OF_RANGE,
    kTooDeep = KALVEX_E_TOO_DEEP,
    kTooLong = KALVEX_E_TOO_LONG,
    kShape = KALVEX_E_SHAPE,
    kUnknownMatrix = KALVEX_E_UNKNOWN_MATRIX,
    kSingular = KALVEX_E_SINGULAR,
    kMatrixSpec = KALVEX_E_MATRIX_SPEC,
    kRecursion = KALVEX_E_RECURSION,
    kNoRealRoot = KALVEX_E_NO_REAL_ROOT,
    kNotPolynomial = KALVEX_E_NOT_POLYNOMIAL,
    kBadArgument = KALVEX_E_BAD_ARGUMENT,
    kBadName = KALVEX_E_BAD_NAME,
    kEmpty = KALVEX_E_EMPTY,
    kWorkLimit = KALVEX_E_WORK_LIMIT,
    kNotConverged = KALVEX_E_NOT_CONVERGED,
};

constexpr int kNoError = KALVEX_NO_ERROR;

void ClearError();
// Records code with its full description unless an error is already pending.
// Always returns false, so that failing paths can write `return Fail(...)`.
bool Fail(int code, std::string description);
bool ErrorPending();
// " at position " + pos: where an error description names its place.
std::string Where(int pos);
// Fail(kSyntax, "Syntax error at position " + pos + ": " + what).
bool SyntaxError(int pos, const std::string& what);
// Puts prefix in front of the pending error's description (say, which value
// of a matrix spec failed).
void AddContext(const std::string& prefix);
int LastError();
const std::string& LastErrorText();
// The general description of an error number (the table of docs/language.md).
const char* ErrorTitle(int code);

}  // namespace kalvex
