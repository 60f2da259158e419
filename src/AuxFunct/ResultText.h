// The pieces every statement result is made of: number texts, error texts and
// the result blocks, so that the wording of each block stands in one place.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct KalvexApi;

// Decimals used for a requested count: above 512 gives 512, -1 gives 10, any
// other negative count gives 0.
int DecimalCount(std::int32_t decimals);

// The value in fixed-point notation with DecimalCount(decimals) digits after
// the point ("%.*f"): no exponent, minus sign for negatives.
std::string NumberText(double value, std::int32_t decimals);

// "Number = " + NumberText(value, decimals): the result text of a number.
std::string NumberResult(double value, std::int32_t decimals);
// Appends NumberResult(value, decimals) to out, with no text in between.
void AppendNumberResult(std::string& out, double value, std::int32_t decimals);

// The value rounded to the nearest integer (halves to even) in plain decimal;
// a negative zero reads "0".
std::string RoundedText(double value);

// Removes one leading "[" and then one trailing "]".
std::string StripBrackets(std::string_view text);

// The wording of a status code left in exitCode (-2 to -9); "" for any other.
std::string ErrorCodeText(std::int32_t code);

// "===>  ERROR n. = " + error + ": " + the library's description (two spaces
// after the arrow), or with oneSpace "===> ERROR n. = ...".
std::string LibraryErrorText(const KalvexApi& kx, int error, bool oneSpace = false);

// "===>  ERROR n. = " + code + ": " + ErrorCodeText(code).
std::string StatusErrorText(std::int32_t code);

// Twenty spaces: the target note of a statement that writes no file.
inline constexpr std::string_view kNoTarget = "                    ";

// Result blocks, each appended to out and ending with an empty line.
// "Ln i: Expression = e: note\r\n       Result => r"
void AppendResultBlock(std::string& out, int i, std::string_view expression,
                       std::string_view targetNote, std::string_view result);
// The same block in two steps, for results that are appended to out in
// between: BeginResultBlock writes up to "Result => ", EndBlock the end.
void BeginResultBlock(std::string& out, int i, std::string_view expression, std::string_view targetNote);
void EndBlock(std::string& out);
// "Ln i: Expression = e: note\r\n       Stored => r"
void AppendStoredBlock(std::string& out, int i, std::string_view expression,
                       std::string_view targetNote, std::string_view result);
// "Ln i: Show(name)   => r"
void AppendShowBlock(std::string& out, int i, std::string_view name, std::string_view result);
// "Ln i: Polyn = p:\r\n       Solution Polyn => r"
void AppendSolutionBlock(std::string& out, int i, std::string_view polynomial, std::string_view result);
// "Ln i: Polyn = p:\r\n       Derivate of Polyn => r"
void AppendDerivateBlock(std::string& out, int i, std::string_view polynomial, std::string_view result);
// "Ln i: iFunction = f: note\r\n       Integral iFunction(a,b) => r", bounds rounded.
void AppendIntegralBlock(std::string& out, int i, std::string_view function, std::string_view targetNote,
                         double a, double b, std::string_view result);
// "Ln i: Expression = spec: " + 20 spaces + "\r\n     Result => error" (five spaces).
void AppendMatrixErrorBlock(std::string& out, int i, std::string_view spec, std::string_view error);
// "Ln i: Expression = :\r\n       Result => error"
void AppendDimxErrorBlock(std::string& out, int i, std::string_view error);
// "Ln i: aElemOrderEx = " + order
void AppendElemOrderBlock(std::string& out, int i, std::string_view order);
