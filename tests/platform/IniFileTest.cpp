#include "platform/IniFile.h"

#include "RunTessara.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

TEST(IniFile, MissingFileSectionOrKeyGivesDefault) {
    TempDir dir;
    const std::string path = dir.file("Tessara.INI");
    EXPECT_EQ(IniRead(path, "Tessara", "lastCmdLn", "none"), "none");
    WriteFileBytes(path, "[Other]\r\nlastCmdLn=x\r\n[Tessara]\r\nsomething=y\r\n");
    EXPECT_EQ(IniRead(path, "Tessara", "lastCmdLn", "none"), "none");
    EXPECT_EQ(IniRead(path, "Missing", "lastCmdLn", "none"), "none");
}

TEST(IniFile, UnreadableFileGivesDefaultAndIsNotReplaced) {
    TempDir dir;
    // A folder in place of the file: opening succeeds, reading fails.
    const std::string path = dir.file("Tessara.INI");
    ASSERT_EQ(::mkdir(path.c_str(), 0700), 0);
    EXPECT_EQ(IniRead(path, "Tessara", "lastCmdLn", "dflt"), "dflt");
    EXPECT_FALSE(IniWrite(path, "Tessara", "lastCmdLn", "v"));
}

TEST(IniFile, ReadsNamesWithoutRegardToCaseAndTrimsBlanks) {
    TempDir dir;
    const std::string path = dir.file("a.ini");
    WriteFileBytes(path, "; comment\n[tessara]\n  LastCmdLn =  /i a.kvx /o  \nother=1");
    EXPECT_EQ(IniRead(path, "Tessara", "lastCmdLn", ""), "/i a.kvx /o");
    EXPECT_EQ(IniRead(path, "TESSARA", "other", ""), "1");
}

TEST(IniFile, WriteCreatesFolderAndFileAndRoundTrips) {
    TempDir dir;
    const std::string path = dir.file("config/tessara/Tessara.INI");
    const std::string value = "/i my scripts/a.kvx /sel:'x = a=b'/ /o";
    ASSERT_TRUE(IniWrite(path, "Tessara", "lastCmdLn", value));
    EXPECT_EQ(ReadFileBytes(path), "[Tessara]\r\nlastCmdLn=" + value + "\r\n");
    EXPECT_EQ(IniRead(path, "Tessara", "lastCmdLn", ""), value);
}

TEST(IniFile, SameValueAgainLeavesTheFileUntouched) {
    TempDir dir;
    const std::string path = dir.file("Tessara.INI");
    ASSERT_TRUE(IniWrite(path, "Tessara", "lastCmdLn", "/i a.kvx"));
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    ASSERT_TRUE(IniWrite(path, "Tessara", "lastCmdLn", "/i a.kvx"));
    struct stat after {};
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    // A rewrite goes through a new file and a rename, which gives a new inode.
    EXPECT_EQ(before.st_ino, after.st_ino);
    ASSERT_TRUE(IniWrite(path, "Tessara", "lastCmdLn", "/i b.kvx"));
    EXPECT_EQ(IniRead(path, "Tessara", "lastCmdLn", ""), "/i b.kvx");
}

TEST(IniFile, WriteKeepsOtherSectionsKeysAndLineEnds) {
    struct Case {
        const char* name;
        std::string before;
        std::string after;
    };
    const Case cases[] = {
        {"replaces the key in place",
         "[A]\r\nk=1\r\n[Tessara]\r\nfirst=1\r\nlastCmdLn=old\r\nlast=2\r\n[B]\r\nlastCmdLn=b\r\n",
         "[A]\r\nk=1\r\n[Tessara]\r\nfirst=1\r\nlastCmdLn=new\r\nlast=2\r\n[B]\r\nlastCmdLn=b\r\n"},
        {"adds the key after the section's last entry",
         "[Tessara]\nfirst=1\n\n[B]\nx=2\n",
         "[Tessara]\nfirst=1\nlastCmdLn=new\n\n[B]\nx=2\n"},
        {"adds the section at the end",
         "[B]\r\nx=2", "[B]\r\nx=2\r\n[Tessara]\r\nlastCmdLn=new\r\n"},
        {"replaces a key written in another case",
         "[TESSARA]\r\nLASTCMDLN=old\r\n", "[TESSARA]\r\nlastCmdLn=new\r\n"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const std::string path = dir.file("Tessara.INI");
        WriteFileBytes(path, c.before);
        ASSERT_TRUE(IniWrite(path, "Tessara", "lastCmdLn", "new")) << c.name;
        EXPECT_EQ(ReadFileBytes(path), c.after) << c.name;
    }
}

TEST(IniFile, ValueWithLineBreakIsRefusedAndOldValueKept) {
    TempDir dir;
    const std::string path = dir.file("Tessara.INI");
    ASSERT_TRUE(IniWrite(path, "Tessara", "lastCmdLn", "old"));
    EXPECT_FALSE(IniWrite(path, "Tessara", "lastCmdLn", "a\r\n[Other]"));
    EXPECT_EQ(IniRead(path, "Tessara", "lastCmdLn", ""), "old");
}

TEST(IniFile, ReadsLongValuesWhole) {
    TempDir dir;
    const std::string path = dir.file("Tessara.INI");
    const std::string value(10000, 'v');
    ASSERT_TRUE(IniWrite(path, "Tessara", "lastCmdLn", value));
    EXPECT_EQ(IniRead(path, "Tessara", "lastCmdLn", ""), value);
}

} // namespace
