#include "platform/paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace mirudana {
namespace {

const std::string kSep(1, kDirSep);

TEST(PathsTest, AddDirSepAddsOneSeparatorWhenMissing) {
    EXPECT_EQ(AddDirSep(""), kSep);
    EXPECT_EQ(AddDirSep("/opt/tool"), "/opt/tool" + kSep);
    EXPECT_EQ(AddDirSep("/opt/tool" + kSep), "/opt/tool" + kSep);
    EXPECT_EQ(AddDirSep(kSep), kSep);  // a root stays as it is
}

TEST(PathsTest, ProgramFolderHoldsTheRunningProgram) {
    std::string folder = programFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), kDirSep);
#ifdef _WIN32
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(folder) / "platform_tests.exe"));
#else
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(folder) / "platform_tests"));
#endif
}

}  // namespace
}  // namespace mirudana
