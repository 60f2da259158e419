// The platform layer without a display: everything falls back at once.
#include "platform/Clipboard.h"
#include "platform/Display.h"
#include "platform/MessageBox.h"
#include "platform/MessageWindow.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

class Headless : public ::testing::Test {
protected:
    void SetUp() override {
        ::unsetenv("DISPLAY");
        ::unsetenv("WAYLAND_DISPLAY");
    }
};

TEST_F(Headless, NoDisplayNoWindows) {
    EXPECT_FALSE(DisplayAvailable());
    EXPECT_FALSE(OpenMessageWindow(true));
    EXPECT_FALSE(MessageWindowOpen());
    MessageWindowAddLine("ignored", 0);
    MessageWindowWaitClosed();  // returns at once
    EXPECT_EQ(MessageWindowText(), "");
}

TEST_F(Headless, MessageBoxWritesToStandardErrorWithoutWaiting) {
    ::testing::internal::CaptureStderr();
    ShowMessageBox("Tessara", "Error 4: can't read the file\r\nfile: /tmp/a.kvx");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Tessara: Error 4: can't read the file\r\nfile: /tmp/a.kvx\n");
}

TEST_F(Headless, NoClipboard) {
    EXPECT_FALSE(ClipboardAvailable());
    EXPECT_EQ(ClipboardGetText(), "");
    EXPECT_FALSE(ClipboardSetText("text"));
}

TEST_F(Headless, UnreachableDisplayMakesClipboardFailNotHang) {
    ::setenv("DISPLAY", ":97531", 1);
    EXPECT_FALSE(ClipboardSetText("text"));
    EXPECT_EQ(ClipboardGetText(), "");
}

} // namespace
