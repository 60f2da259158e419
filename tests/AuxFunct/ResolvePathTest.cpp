#include <gtest/gtest.h>

#include <string>

#include "AuxFunct/ResolvePath.h"

namespace {

struct PathCase {
    std::string name;
    std::string base;
    std::string resolved;
};

class ResolvePathTable : public ::testing::TestWithParam<PathCase> {};

TEST_P(ResolvePathTable, Resolves) {
    EXPECT_EQ(ResolvePath(GetParam().name, GetParam().base), GetParam().resolved)
        << "name «" << GetParam().name << "» base «" << GetParam().base << "»";
}

INSTANTIATE_TEST_SUITE_P(
    Names, ResolvePathTable,
    ::testing::Values(
        PathCase{"a.kvx", "/home/ann/", "/home/ann/a.kvx"},
        PathCase{"a.kvx", "/home/ann", "/home/ann/a.kvx"},
        PathCase{"sub/a.kvx", "/home/ann/", "/home/ann/sub/a.kvx"},
        PathCase{"my scripts/a.kvx", "/home/ann/", "/home/ann/my scripts/a.kvx"},
        // a leading component equal to the next base component is not repeated
        PathCase{"ann/a.kvx", "/home/ann/", "/home/ann/a.kvx"},
        PathCase{"home/ann/a.kvx", "/home/ann/", "/home/ann/a.kvx"},
        PathCase{"home/x/a.kvx", "/home/ann/", "/home/ann/x/a.kvx"},
        PathCase{"sub//a.kvx", "/home/ann/", "/home/ann/sub/a.kvx"},
        PathCase{"../a.kvx", "/home/ann/", "/home/ann/../a.kvx"},
        PathCase{"a.kvx", "/", "/a.kvx"},
        PathCase{"/other/a.kvx", "/home/ann/", "/other/a.kvx"},
        PathCase{"C:\\other\\a.kvx", "/home/ann/", "C:\\other\\a.kvx"},
        PathCase{"", "/home/ann/", ""},
        PathCase{"a.kvx", "work/", "work/a.kvx"},
        PathCase{"a.kvx", "", "a.kvx"}));

TEST(FolderPart, EndsAtTheLastSeparator) {
    EXPECT_EQ(FolderPart("/home/ann/a.kvx"), "/home/ann/");
    EXPECT_EQ(FolderPart("/home/ann/"), "/home/ann/");
    EXPECT_EQ(FolderPart("a.kvx"), "");
    EXPECT_EQ(FolderPart(""), "");
    EXPECT_EQ(FolderPart("\"/home/ann/a b.kvx\""), "/home/ann/");
    EXPECT_EQ(FolderPart("C:\\work\\a.kvx"), "C:\\work\\");
    EXPECT_EQ(FolderPart("a\\b/c"), "a\\b/");
    EXPECT_EQ(FolderPart("\"a"), "");
}

} // namespace
