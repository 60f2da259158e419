// What the library remembers between calls: variables, functions, matrices,
// result matrices and the switches.
#pragma once

#include <cstddef>
#include <deque>
#include <limits>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "Code.h"
#include "Value.h"
#include "kalvex.h"

namespace kalvex {

struct FunctionDef {
    std::vector<std::string> params;  // lower case; empty for a formula
    std::string body;                 // as given
    Code code;
};

// Result matrices kept: the newest 64, and fewer when they hold more than
// 4,000,000 elements together (the newest is always kept).
constexpr std::size_t kMaxResults = 64;
constexpr std::ptrdiff_t kMaxResultElements = 4000000;

struct Store {
    std::unordered_map<std::string, double> variables;
    std::unordered_map<std::string, FunctionDef> functions;
    std::unordered_map<std::string, Matrix> matrices;
    std::deque<std::pair<int, Matrix>> results;
    int nextHandle = 1;
    int elementOrder = KALVEX_BY_ROW;  // or KALVEX_BY_COLUMN
    bool debug = false;

    const double* FindVariable(const std::string& lowerName) const {
        const auto it = variables.find(lowerName);
        return it == variables.end() ? nullptr : &it->second;
    }
    const FunctionDef* FindFunction(const std::string& lowerName) const {
        const auto it = functions.find(lowerName);
        return it == functions.end() ? nullptr : &it->second;
    }
    const Matrix* FindMatrix(const std::string& lowerName) const {
        const auto it = matrices.find(lowerName);
        return it == matrices.end() ? nullptr : &it->second;
    }
    const Matrix* FindResult(int handle) const {
        for (const auto& [h, m] : results) {
            if (h == handle) return &m;
        }
        return nullptr;
    }
    // Keeps a result matrix and returns its handle.
    int AddResult(Matrix m) {
        std::ptrdiff_t elements = m.size();
        for (const auto& r : results) elements += r.second.size();
        while (!results.empty() && (results.size() >= kMaxResults || elements > kMaxResultElements)) {
            elements -= results.front().second.size();
            results.pop_front();
        }
        const int handle = nextHandle;
        nextHandle = nextHandle == std::numeric_limits<int>::max() ? 1 : nextHandle + 1;
        results.emplace_back(handle, std::move(m));
        return handle;
    }
    void Forget() {
        variables.clear();
        functions.clear();
        matrices.clear();
        results.clear();
    }
};

Store& TheStore();

}  // namespace kalvex
