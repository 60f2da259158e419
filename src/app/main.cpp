#include <string>
#include <vector>

#include "app/RunDriver.h"

int main(int argc, char** argv) { return RunProgram(std::vector<std::string>(argv + 1, argv + argc)); }
