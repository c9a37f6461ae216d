#include "app/folders.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/paths.h"

namespace mirudana {
namespace {

const std::string kSep(1, kDirSep);

TEST(FoldersTest, FoldersLieBelowTheProgramFolder) {
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

}  // namespace
}  // namespace mirudana
