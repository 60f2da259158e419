// Values of the evaluator: a number, or a matrix held by the evaluator.
#pragma once

#include <Eigen/Dense>
#include <cstdint>

namespace kalvex {

// Matrices are stored row after row, the order in which FindMatrix hands
// them out.
using Matrix = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>;

struct Value {
    double num = 0.0;
    std::int32_t mat = -1;  // index of a matrix of the evaluator, -1 for a number

    bool IsNumber() const { return mat < 0; }
};

}  // namespace kalvex
