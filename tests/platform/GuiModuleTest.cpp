// Which runs of the real binary load the window module (and with it FLTK,
// X11, libpng and libjpeg), seen in the loader's own report and in the
// mappings of a running instance, and what a run does when the module
// cannot be loaded.
#include "RunTessara.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

constexpr const char* kNoServer = ":97531"; // a display that is named but not there
constexpr int kWaitMs = 10000;
const char* const kWindowLibraries[] = {"libTessaraGui", "libfltk", "libX11", "libpng", "libjpeg"};

// A display named, and the loader reporting on standard error every library it opens.
RunOptions LoaderReport() {
    RunOptions options;
    options.env = {{"DISPLAY", kNoServer}, {"LD_DEBUG", "files"}};
    return options;
}

void ExpectNoWindowLibrary(const std::string& libraries, const std::string& what) {
    for (const char* library : kWindowLibraries)
        EXPECT_EQ(libraries.find(library), std::string::npos) << what << " maps " << library;
}

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

TEST(GuiModule, RunsWithoutWindowsNeverMapTheWindowLibraries) {
    TempDir dir;
    WriteFileBytes(dir.file("a.kvx"), "expr = 2 + 3\r\n");
    WriteFileBytes(dir.file("plot.kvx"), "plot(0; x; 1; 4) = x\r\n");

    const RunResult plain = RunTessara(dir, {"/i", "a.kvx", "/o", "out.kvx"}, LoaderReport());
    EXPECT_EQ(plain.exitCode, 0);
    ASSERT_NE(plain.err.find("libKalvex.so"), std::string::npos) << "no loader report: " << plain.err;
    ExpectNoWindowLibrary(plain.err, "a plain run");

    // The resident instance and a launch that hands its line over.
    RunOptions named;
    named.env = {{"DISPLAY", kNoServer}};
    Background resident = StartTessara(dir, {"/tsr", "/i", "a.kvx", "/o", "first.kvx"}, "resident", named);
    ASSERT_TRUE(WaitUntil([&] { return FileExists(dir.file("runtime/tessara/tsr")); }, kWaitMs))
        << ReadFileBytes(resident.err);
    const std::string maps = "/proc/" + std::to_string(resident.pid) + "/maps";
    ExpectNoWindowLibrary(ReadFileBytes(maps), "the resident instance");
    const RunResult launch = RunTessara(dir, {"/i", "a.kvx", "/o", "second.kvx"}, LoaderReport());
    EXPECT_EQ(launch.exitCode, 0);
    ExpectNoWindowLibrary(launch.err, "a hand-over launch");
    EXPECT_TRUE(WaitUntil([&] { return FileExists(dir.file("second.kvx")); }, kWaitMs));
    ExpectNoWindowLibrary(ReadFileBytes(maps), "the resident instance after a run");
    EXPECT_EQ(RunTessara(dir, {"/quit"}).exitCode, 250);
    EXPECT_EQ(WaitForExit(resident, kWaitMs), 0);

    // A plot wants a window: the module is loaded, finds no display there, and the run goes on.
    const RunResult plot = RunTessara(dir, {"/i", "plot.kvx", "/o", "plot-out.kvx"}, LoaderReport());
    EXPECT_EQ(plot.exitCode, 0);
    EXPECT_NE(plot.err.find("libTessaraGui.so"), std::string::npos);
    EXPECT_NE(plot.err.find("libfltk"), std::string::npos);
    EXPECT_NE(plot.err.find("Tessara: no display; plot windows are not shown"), std::string::npos);
}

TEST(GuiModule, WithoutTheModuleARunSaysSoOnceAndGoesOnAsWithoutADisplay) {
    TempDir dir;
    WriteFileBytes(dir.file("plots.kvx"), "plot(0; x; 1; 4) = x\r\nexpr = 6*7\r\nplot(0; x; 1; 4) = 1-x\r\n");
    const RunResult headless = RunTessara(dir, {"/i", "plots.kvx", "/o", "headless.kvx"});
    ASSERT_EQ(headless.exitCode, 0);

    // The program and its numeric library alone in a folder, the module
    // missing or not a library.
    for (const char* module : {"", "not a library\n"}) {
        TempDir copy;
        fs::copy_file(TessaraBinary(), copy.file("tessara"));
        fs::copy_file(BinaryFolder() + "/libKalvex.so", copy.file("libKalvex.so"));
        if (*module != '\0') WriteFileBytes(copy.file("libTessaraGui.so"), module);
        RunOptions options;
        options.program = copy.file("tessara");
        options.env = {{"DISPLAY", kNoServer}};
        const RunResult r = RunTessara(dir, {"/i", "plots.kvx", "/o", "out.kvx"}, options);
        EXPECT_EQ(r.exitCode, 0) << module;
        const std::string note = "Tessara: the window module cannot be loaded (";
        EXPECT_EQ(Count(r.err, note), 1U) << r.err;
        EXPECT_NE(r.err.find("libTessaraGui.so"), std::string::npos) << r.err;
        EXPECT_TRUE(r.err.ends_with("); going on without a display\n" + headless.err)) << r.err;
        EXPECT_EQ(MaskRunTime(ReadFileBytes(dir.file("out.kvx"))), MaskRunTime(ReadFileBytes(dir.file("headless.kvx"))));
    }
}

} // namespace
