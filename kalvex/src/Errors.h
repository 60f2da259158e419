// Error numbers and the error state of the library.
//
// Every exported operation starts with ClearError() and ends successful when
// no error was raised; the first error raised during an operation wins, so the
// description names the original cause rather than a follow-up failure.
#pragma once

#include <string>

namespace kalvex {

enum ErrorCode : int {
    kSyntax = 1,
    kUnknownName = 2,
    kArgumentCount = 3,
    kDivisionByZero = 4,
    kDomain = 5,
    kOutOfRange = 6,
    kTooDeep = 7,
    kTooLong = 8,
    kShape = 9,
    kUnknownMatrix = 10,
    kSingular = 11,
    kMatrixSpec = 12,
    kRecursion = 13,
    kNoRealRoot = 14,
    kNotPolynomial = 15,
    kBadArgument = 16,
    kBadName = 17,
    kEmpty = 18,
    kWorkLimit = 19,
    kNotConverged = 20,
};

constexpr int kNoError = -1;

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
