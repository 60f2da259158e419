#include "MatrixSpec.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "Engine.h"
#include "Errors.h"
#include "Store.h"
#include "TextUtil.h"

namespace kalvex {

namespace {

// Cuts a matrix spec at the ";" that stand outside parentheses (a value may call
// a function whose arguments are separated by ";").
std::vector<std::string_view> SplitFields(std::string_view spec) {
    std::vector<std::string_view> fields;
    int depth = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i < spec.size(); ++i) {
        const char c = spec[i];
        if (c == '(') ++depth;
        else if (c == ')' && depth > 0) --depth;
        else if (c == ';' && depth == 0) {
            fields.push_back(Trim(spec.substr(start, i - start)));
            start = i + 1;
        }
    }
    fields.push_back(Trim(spec.substr(start)));
    while (!fields.empty() && fields.back().empty()) fields.pop_back();
    return fields;
}

bool ReadSize(std::string_view field, const char* what, const std::string& name, std::ptrdiff_t& out) {
    double v;
    const std::string label = std::string("The ") + what + " count of " + name;
    if (field.empty()) return Fail(kMatrixSpec, "Invalid matrix spec: the " + std::string(what) + " count of " + name + " is missing");
    if (!EvaluateNumber(field, label.c_str(), v)) {
        AddContext("Invalid matrix spec: the " + std::string(what) + " count of " + name + ": ");
        return false;
    }
    if (std::floor(v) != v || v < 1 || v > static_cast<double>(kMaxMatrixDimension)) {
        return Fail(kMatrixSpec, "Invalid matrix spec: the " + std::string(what) + " count of " + name + " is '" +
                                     std::string(field) + "'; it must be a whole number from 1 to " +
                                     std::to_string(kMaxMatrixDimension));
    }
    out = static_cast<std::ptrdiff_t>(v);
    return true;
}

}  // namespace

std::string_view BareMatrixName(std::string_view name) {
    name = Trim(name);
    if (name.size() >= 2 && name.front() == '[' && name.back() == ']') name = Trim(name.substr(1, name.size() - 2));
    return name;
}

std::string MatrixKey(std::string_view name) {
    name = BareMatrixName(name);
    return IsName(name) ? ToLower(name) : std::string();
}

bool DefineMatrixFromSpec(std::string_view spec) {
    const std::vector<std::string_view> fields = SplitFields(spec);
    if (fields.empty()) return Fail(kMatrixSpec, "Invalid matrix spec: the text is empty");
    const std::string key = MatrixKey(fields[0]);
    if (key.empty()) {
        return Fail(kMatrixSpec, "Invalid matrix spec: '" + std::string(fields[0]) +
                                     "' is no matrix name (write it as [A])");
    }
    std::string shown = "[";
    shown.append(BareMatrixName(fields[0])).append("]");
    std::ptrdiff_t rows = 0;
    std::ptrdiff_t cols = 0;
    if (!ReadSize(fields.size() > 1 ? fields[1] : std::string_view(), "row", shown, rows)) return false;
    if (!ReadSize(fields.size() > 2 ? fields[2] : std::string_view(), "column", shown, cols)) return false;
    // The product in 64 bits: both counts may be 100000 where std::ptrdiff_t has 32.
    if (static_cast<std::int64_t>(rows) * cols > kMaxMatrixElements) {
        return Fail(kMatrixSpec, "Invalid matrix spec: " + shown + " of " + std::to_string(rows) + " x " +
                                     std::to_string(cols) + " is too large (at most " +
                                     std::to_string(kMaxMatrixElements) + " elements)");
    }
    const std::ptrdiff_t count = rows * cols;
    const std::ptrdiff_t given = static_cast<std::ptrdiff_t>(fields.size()) - 3;
    if (given != count) {
        return Fail(kMatrixSpec, "Invalid matrix spec: " + shown + " is " + std::to_string(rows) + " x " +
                                     std::to_string(cols) + " and needs " + std::to_string(count) +
                                     " values, got " + std::to_string(given < 0 ? 0 : given));
    }
    Matrix m(rows, cols);
    const bool byColumn = TheStore().elementOrder == KALVEX_BY_COLUMN;
    for (std::ptrdiff_t k = 0; k < count; ++k) {
        const std::string_view field = fields[static_cast<std::size_t>(k + 3)];
        const std::string label = "Value " + std::to_string(k + 1) + " of " + shown;
        if (field.empty()) return Fail(kMatrixSpec, "Invalid matrix spec: " + label + " is empty");
        double v;
        if (!EvaluateNumber(field, label.c_str(), v)) {
            AddContext("Invalid matrix spec: " + label + " ('" + std::string(field.substr(0, 40)) + "'): ");
            return false;
        }
        const std::ptrdiff_t r = byColumn ? k % rows : k / cols;
        const std::ptrdiff_t c = byColumn ? k / rows : k % cols;
        m(r, c) = v;
    }
    TheStore().matrices[key] = std::move(m);
    return true;
}

}  // namespace kalvex
