// Runs the desktop's helper tools (clipboard programs) without a shell.
#pragma once

#include <string>
#include <vector>

// The full path of program in the folders of PATH, or "" when it is not there.
std::string FindOnPath(const std::string& program);

struct ToolResult {
    bool succeeded = false; // the tool ended in time with exit status 0
    std::string output;     // its standard output, when it was asked for
};

// Runs the program at path with args (args[0] is its name), feeding it input
// on standard input. Standard output is collected when captureOutput is set,
// else it goes to /dev/null like standard error. A tool that has not ended
// within timeoutMs milliseconds is killed and counts as failed. The tool's
// own background processes inherit no pipe of ours, so they never hold us up.
ToolResult RunTool(const std::string& path, const std::vector<std::string>& args,
                   const std::string& input, bool captureOutput, int timeoutMs);
