#include "AuxFunct/ResultText.h"

#include <charconv>
#include <cmath>
#include <initializer_list>
#include <string>

#include "AuxFunct/StatusCodes.h"
#include "bindings/KalvexApi.h"

namespace {

constexpr int kMaxDecimals = 512;

// Enough for any double in fixed notation with kMaxDecimals decimals: a sign,
// 309 integer digits, the point and the decimals.
constexpr std::size_t kNumberBufferSize = 1 + 309 + 1 + kMaxDecimals;

// Appends the value with the given decimals as "%.*f" writes it (to_chars
// is specified to give the same text, and is several times faster).
void AppendFixed(std::string& out, double value, int decimals) {
    char buffer[kNumberBufferSize];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (error == std::errc()) out.append(buffer, end);
}

std::string FixedText(double value, int decimals) {
    std::string text;
    AppendFixed(text, value, decimals);
    return text;
}

// "Ln " + i and the pieces of a block, without its end.
void AppendBlockStart(std::string& out, int i, std::initializer_list<std::string_view> pieces) {
    char number[16];
    out += "Ln ";
    out.append(number, std::to_chars(number, number + sizeof number, i).ptr);
    for (const std::string_view piece : pieces) out += piece;
}

// "Ln " + i, the pieces, and the empty line that ends every block.
void AppendBlock(std::string& out, int i, std::initializer_list<std::string_view> pieces) {
    AppendBlockStart(out, i, pieces);
    EndBlock(out);
}

} // namespace

int DecimalCount(std::int32_t decimals) {
    if (decimals > kMaxDecimals) return kMaxDecimals;
    if (decimals == -1) return 10;
    return decimals < 0 ? 0 : decimals;
}

std::string NumberText(double value, std::int32_t decimals) {
    return FixedText(value, DecimalCount(decimals));
}

std::string NumberResult(double value, std::int32_t decimals) {
    std::string text;
    AppendNumberResult(text, value, decimals);
    return text;
}

void AppendNumberResult(std::string& out, double value, std::int32_t decimals) {
    out += "Number = ";
    AppendFixed(out, value, DecimalCount(decimals));
}

std::string RoundedText(double value) { return FixedText(std::nearbyint(value) + 0.0, 0); }

std::string StripBrackets(std::string_view text) {
    if (!text.empty() && text.front() == '[') text.remove_prefix(1);
    if (!text.empty() && text.back() == ']') text.remove_suffix(1);
    return std::string(text);
}

std::string ErrorCodeText(std::int32_t code) {
    switch (code) {
    case kFileNotReadable: return "File Open Error (not found?)";
    case kFileNotWritable: return "File Write Error (already in use?)";
    case kCancelledByUser: return "Operation vancelled by user";
    case kNoInputSource: return "Invalid Parameter.";
    case kInstanceQuit: return "Instance Quit OK";
    case kApiError: return "API Error";
    case kWindowNotFound: return "Window not Found";
    case kHandOverRefused: return "Child Window Not Found";
    default: return {};
    }
}

std::string LibraryErrorText(const KalvexApi& kx, int error, bool oneSpace) {
    const char* description = kx.GetE_ErrDescr(error);
    std::string text = oneSpace ? "===> ERROR n. = " : "===>  ERROR n. = ";
    text += std::to_string(error);
    text += ": ";
    if (description) text += description;
    return text;
}

std::string StatusErrorText(std::int32_t code) {
    return "===>  ERROR n. = " + std::to_string(code) + ": " + ErrorCodeText(code);
}

void BeginResultBlock(std::string& out, int i, std::string_view expression, std::string_view targetNote) {
    AppendBlockStart(out, i, {": Expression = ", expression, ": ", targetNote, "\r\n       Result => "});
}

void EndBlock(std::string& out) { out += "\r\n\r\n"; }

void AppendResultBlock(std::string& out, int i, std::string_view expression, std::string_view targetNote,
                       std::string_view result) {
    BeginResultBlock(out, i, expression, targetNote);
    out += result;
    EndBlock(out);
}

void AppendStoredBlock(std::string& out, int i, std::string_view expression, std::string_view targetNote,
                       std::string_view result) {
    AppendBlock(out, i, {": Expression = ", expression, ": ", targetNote, "\r\n       Stored => ", result});
}

void AppendShowBlock(std::string& out, int i, std::string_view name, std::string_view result) {
    AppendBlock(out, i, {": Show(", name, ")   => ", result});
}

void AppendSolutionBlock(std::string& out, int i, std::string_view polynomial, std::string_view result) {
    AppendBlock(out, i, {": Polyn = ", polynomial, ":\r\n       Solution Polyn => ", result});
}

void AppendDerivateBlock(std::string& out, int i, std::string_view polynomial, std::string_view result) {
    AppendBlock(out, i, {": Polyn = ", polynomial, ":\r\n       Derivate of Polyn => ", result});
}

void AppendIntegralBlock(std::string& out, int i, std::string_view function, std::string_view targetNote,
                         double a, double b, std::string_view result) {
    AppendBlock(out, i, {": iFunction = ", function, ": ", targetNote, "\r\n       Integral iFunction(",
                         RoundedText(a), ",", RoundedText(b), ") => ", result});
}

void AppendMatrixErrorBlock(std::string& out, int i, std::string_view spec, std::string_view error) {
    AppendBlock(out, i, {": Expression = ", spec, ": ", kNoTarget, "\r\n     Result => ", error});
}

void AppendDimxErrorBlock(std::string& out, int i, std::string_view error) {
    AppendBlock(out, i, {": Expression = :\r\n       Result => ", error});
}

void AppendElemOrderBlock(std::string& out, int i, std::string_view order) {
    AppendBlock(out, i, {": aElemOrderEx = ", order});
}
