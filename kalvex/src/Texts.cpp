#include "Texts.h"

#include "Builtins.h"

namespace kalvex {

namespace {

void AddLine(std::string& out, const std::string& item, const std::string& help) {
    out += "  ";
    out += item;
    if (item.size() < 22) out.append(22 - item.size(), ' ');
    out += ' ';
    out += help;
    out += "\r\n";
}

}  // namespace

const char* VersionText() { return "1.0.0.0"; }

const std::string& AboutText() {
    static const std::string text = std::string("Kalvex numeric library, version ") + VersionText() +
                                    "\r\n"
                                    "Expressions, variables, functions, matrices, polynomial roots, derivatives "
                                    "and integrals for Tessara\r\n";
    return text;
}

const std::string& OperatorsText() {
    static const std::string text = [] {
        std::string out = "Operators (highest binding first)\r\n";
        AddLine(out, "( )", "grouping");
        AddLine(out, "^", "power, groups to the right: 2^3^2 = 512");
        AddLine(out, "- +", "signs: -2^2 = -4");
        AddLine(out, "* /", "product, quotient; 6x means 6*x");
        AddLine(out, "+ -", "sum, difference");
        AddLine(out, "< <= > >=", "comparisons, give 1 or 0");
        AddLine(out, "== = != <>", "equal, not equal, give 1 or 0");
        AddLine(out, ", ;", "separate function arguments");
        AddLine(out, "[A]", "the matrix or vector A");
        out += "Constants\r\n";
        for (int i = 0; const Constant* c = ConstantAt(i); ++i) AddLine(out, c->name, c->help);
        out += "Functions\r\n";
        for (int i = 0; i < BuiltinCount(); ++i) {
            const Builtin& b = BuiltinAt(i);
            AddLine(out, std::string(b.name) + "(" + b.args + ")", b.help);
        }
        return out;
    }();
    return text;
}

}  // namespace kalvex
