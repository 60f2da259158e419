#include "OneVariable.h"

#include <algorithm>
#include <vector>

#include "Errors.h"
#include "Parser.h"
#include "Store.h"
#include "TextUtil.h"

namespace kalvex {

namespace {

std::vector<std::string> FreeNames(const Code& code) {
    const Store& store = TheStore();
    std::vector<std::string> free;
    for (const Instr& in : code.instrs) {
        if (in.op != Op::Name) continue;
        const std::string& name = code.names[static_cast<std::size_t>(in.a)];
        if (store.FindVariable(name) || store.FindFunction(name)) continue;
        if (std::find(free.begin(), free.end(), name) == free.end()) free.push_back(name);
    }
    return free;
}

}  // namespace

bool CompileInOneVariable(std::string_view text, std::string_view var, const char* what, Code& code,
                          std::string& chosen) {
    static const std::vector<std::string> noParams;
    var = Trim(var);
    if (!var.empty() && !IsName(var)) {
        return Fail(kBadName, "Invalid name '" + std::string(var) + "' for the variable of the " + what);
    }
    if (!Compile(text, noParams, code)) return false;
    chosen = ToLower(var);
    if (chosen.empty()) {
        const std::vector<std::string> free = FreeNames(code);
        if (free.size() > 1) {
            std::string list;
            for (const std::string& n : free) list += (list.empty() ? "'" : ", '") + n + "'";
            return Fail(kBadArgument, std::string("The ") + what + " has more than one free name (" + list +
                                          "); name its variable");
        }
        if (free.empty()) return true;
        chosen = free[0];
    }
    for (Instr& in : code.instrs) {
        if (in.op == Op::Name && code.names[static_cast<std::size_t>(in.a)] == chosen) {
            in.op = Op::Param;
            in.a = 0;
        }
    }
    return true;
}

}  // namespace kalvex
