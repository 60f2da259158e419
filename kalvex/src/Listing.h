// The text listing of a matrix (aPrint).
#pragma once

#include <string>

namespace kalvex {

// Decimals asked for by a zero mask: the zeros after "0." ("0.0000" gives 4).
int DecimalsOfMask(const char* zeroMask);

// For each row "\r\n" and the row's values, each preceded by two spaces and
// right-aligned to the widest value of its column; elements row after row.
std::string ListMatrix(const double* elements, int rows, int cols, int decimals);

}  // namespace kalvex
