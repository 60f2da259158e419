// Whole runs of the real binary: processed outputs compared byte for byte.
#include <gtest/gtest.h>

#include <string>

#include "RunTessara.h"

TEST(StatementsEndToEnd, Placeholder) {}
