#include "app/paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace mirudana {
namespace {

const std::string kSep(1, kDirSep);

TEST(Paths, AddDirSepAddsOneSeparatorWhenMissing) {
    EXPECT_EQ(AddDirSep(""), kSep);
    EXPECT_EQ(AddDirSep("/opt/tool"), "/opt/tool" + kSep);
    EXPECT_EQ(AddDirSep("/opt/tool" + kSep), "/opt/tool" + kSep);
    EXPECT_EQ(AddDirSep(kSep), kSep);  // a root stays as it is
}

TEST(Paths, FoldersLieBelowTheProgramFolder) {
#ifdef _WIN32
    Folders tool = computeFolders("C:\\Tools");
    EXPECT_EQ(tool.SystemFolder, "C:\\Tools\\system\\");
    EXPECT_EQ(tool.CardFolder, "C:\\Tools\\system\\cards\\");
    EXPECT_EQ(tool.StateFolder, "C:\\Tools\\system\\state\\");
    EXPECT_EQ(computeFolders("D:\\").CardFolder, "D:\\system\\cards\\");
#else
    Folders tool = computeFolders("/opt/tool");
    EXPECT_EQ(tool.SystemFolder, "/opt/tool/system/");
    EXPECT_EQ(tool.CardFolder, "/opt/tool/system/cards/");
    EXPECT_EQ(tool.StateFolder, "/opt/tool/system/state/");
#endif

    Folders root = computeFolders(kSep);  // a root already ends with the separator
    EXPECT_EQ(root.CardFolder, kSep + "system" + kSep + "cards" + kSep);
    EXPECT_EQ(root.StateFolder, kSep + "system" + kSep + "state" + kSep);
}

TEST(Paths, ProgramFolderHoldsTheRunningProgram) {
    std::string folder = programFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), kDirSep);
#ifdef _WIN32
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(folder) / "app_tests.exe"));
#else
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(folder) / "app_tests"));
#endif
}

}  // namespace
}  // namespace mirudana
