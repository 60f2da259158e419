#include "platform/ToolProcess.h"

#include <chrono>
#include <gtest/gtest.h>

namespace {

std::string AllBytes(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 + i / 256);
    return bytes;
}

TEST(ToolProcess, FindsProgramsOnPath) {
    EXPECT_NE(FindOnPath("sh"), "");
    EXPECT_EQ(FindOnPath("no-such-tool-tessara"), "");
}

TEST(ToolProcess, PassesBytesBothWaysWithoutDeadlock) {
    // More than a pipe holds, in both directions at once.
    const std::string input = AllBytes(1 << 20);
    const ToolResult result = RunTool(FindOnPath("cat"), {"cat"}, input, true, 10000);
    EXPECT_TRUE(result.succeeded);
    EXPECT_EQ(result.output, input);
}

TEST(ToolProcess, ArgumentsReachTheToolUnchangedWithoutAShell) {
    const std::string arg = "$(touch /tmp/never) `id` ; | > 'x' \"y\"";
    const ToolResult result = RunTool(FindOnPath("printf"), {"printf", "%s", arg}, "", true, 5000);
    EXPECT_TRUE(result.succeeded);
    EXPECT_EQ(result.output, arg);
}

TEST(ToolProcess, ToolStartsWithNoSignalBlocked) {
    const ToolResult result =
        RunTool(FindOnPath("grep"), {"grep", "^SigBlk", "/proc/self/status"}, "", true, 5000);
    EXPECT_EQ(result.output, "SigBlk:\t0000000000000000\n");
}

TEST(ToolProcess, FailuresAreReported) {
    struct Case {
        const char* name;
        std::string path;
        std::vector<std::string> args;
        std::string input;
    };
    const Case cases[] = {
        {"non-zero exit", FindOnPath("false"), {"false"}, ""},
        {"tool that ends without reading its input", FindOnPath("false"), {"false"}, AllBytes(1 << 20)},
        {"missing program", "/nonexistent/tool", {"tool"}, ""},
    };
    for (const Case& c : cases) {
        const ToolResult result = RunTool(c.path, c.args, c.input, true, 5000);
        EXPECT_FALSE(result.succeeded) << c.name;
        EXPECT_EQ(result.output, "") << c.name;
    }
}

TEST(ToolProcess, HangingToolIsKilledAtTheTimeOut) {
    const auto start = std::chrono::steady_clock::now();
    const ToolResult result = RunTool(FindOnPath("sleep"), {"sleep", "10"}, "", true, 200);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_FALSE(result.succeeded);
    EXPECT_LT(elapsed, std::chrono::seconds(3));
}

TEST(ToolProcess, BackgroundChildOfTheToolDoesNotHoldUsUp) {
    // Like xclip, which leaves a process behind that serves the clipboard.
    const auto start = std::chrono::steady_clock::now();
    const ToolResult result = RunTool(FindOnPath("sh"), {"sh", "-c", "sleep 5 & cat >/dev/null"}, "data", false, 4000);
    EXPECT_TRUE(result.succeeded);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

} // namespace
