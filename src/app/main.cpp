#include <string>
#include <vector>

#include "app/RunDriver.h"
#include "platform/ProgramStart.h"

int main(int argc, char** argv) { return RunProgram(ProgramArguments(argc, argv)); }
