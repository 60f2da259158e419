#include "Definitions.h"

#include <algorithm>
#include <string>
#include <vector>

#include "Builtins.h"
#include "Engine.h"
#include "Errors.h"
#include "Parser.h"
#include "Store.h"
#include "TextUtil.h"

namespace kalvex {

bool CheckUserName(const std::string& lowerName, std::string_view asGiven) {
    if (!IsName(asGiven)) {
        return Fail(kBadName, "Invalid name '" + std::string(asGiven) +
                                  "': a name is a letter or '_' followed by letters, digits or '_'");
    }
    if (FindBuiltin(lowerName) >= 0) {
        return Fail(kBadName, "Invalid name '" + std::string(asGiven) + "': it is a built-in function");
    }
    if (FindConstant(lowerName)) {
        return Fail(kBadName, "Invalid name '" + std::string(asGiven) + "': it is a built-in constant");
    }
    return true;
}

bool DefineVariable(std::string_view name, std::string_view text) {
    name = Trim(name);
    const std::string lower = ToLower(name);
    if (!CheckUserName(lower, name)) return false;
    double v;
    const std::string what = "The value of " + std::string(name);
    if (!EvaluateNumber(text, what.c_str(), v)) return false;
    Store& store = TheStore();
    store.functions.erase(lower);
    store.variables[lower] = v;
    return true;
}

bool DefineFunction(std::string_view head, std::string_view body) {
    head = Trim(head);
    std::string_view name = head;
    std::vector<std::string> params;
    const std::size_t open = head.find('(');
    if (open != std::string_view::npos) {
        name = Trim(head.substr(0, open));
        if (head.back() != ')') {
            return Fail(kBadName, "Invalid function head '" + std::string(head) + "': expected ')' at its end");
        }
        std::string_view list = head.substr(open + 1, head.size() - open - 2);
        while (!Trim(list).empty()) {
            const std::size_t cut = list.find_first_of(",;");
            const std::string_view p = Trim(list.substr(0, cut));
            const std::string lower = ToLower(p);
            if (!CheckUserName(lower, p)) return false;
            if (std::find(params.begin(), params.end(), lower) != params.end()) {
                return Fail(kBadName, "Invalid function head '" + std::string(head) + "': parameter '" +
                                          std::string(p) + "' appears twice");
            }
            params.push_back(lower);
            if (cut == std::string_view::npos) break;
            list.remove_prefix(cut + 1);
            if (Trim(list).empty()) {
                return Fail(kBadName, "Invalid function head '" + std::string(head) + "': missing parameter");
            }
        }
    }
    const std::string lower = ToLower(name);
    if (!CheckUserName(lower, name)) return false;
    FunctionDef def;
    def.params = std::move(params);
    def.body = std::string(body);
    if (!Compile(def.body, def.params, def.code)) {
        AddContext("Function " + std::string(name) + ": ");
        return false;
    }
    Store& store = TheStore();
    store.variables.erase(lower);
    store.functions[lower] = std::move(def);
    return true;
}

}  // namespace kalvex
