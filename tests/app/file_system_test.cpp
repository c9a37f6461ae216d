#include "app/file_system.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/failure.h"
#include "support/temp_dir.h"

namespace mirudana {
namespace {

using testing::TempDir;

TEST(FileSystem, OrdinaryFilesAreVisibleRegularFiles) {
    TempDir dir;
    std::string file = dir.write("カード.kvl", "x");
    std::string empty = dir.write("empty.kvl", "");
    std::string hidden = dir.write(".hidden.kvl", "x");
    std::string folder = dir.makeDir("folder.kvl");
    std::string missing = dir.file("missing.kvl");

    EXPECT_TRUE(isOrdinaryFile(file));
    EXPECT_TRUE(isOrdinaryFile(empty));
    EXPECT_FALSE(isOrdinaryFile(hidden));
    EXPECT_FALSE(isOrdinaryFile(folder));
    EXPECT_FALSE(isOrdinaryFile(missing));
    EXPECT_FALSE(isOrdinaryFile(""));

    EXPECT_TRUE(FileExists(file));
    EXPECT_TRUE(FileExists(hidden));
    EXPECT_TRUE(FileExists(folder));
    EXPECT_FALSE(FileExists(missing));
    EXPECT_FALSE(FileExists(""));
}

TEST(FileSystem, ListsOrdinaryFilesBySuffixInByteOrder) {
    TempDir dir;
    for (const char* name : {"b.kvl", "A.KVL", "a.kvl", "和.kvl", "c.Kvl", "notes.txt", "kvl",
                             ".hidden.kvl", "x.kvl.bak"}) {
        dir.write(name, "x");
    }
    dir.makeDir("folder.kvl");
    EXPECT_EQ(listOrdinaryFiles(dir.path(), ".kvl"),
              (std::vector<std::string>{"A.KVL", "a.kvl", "b.kvl", "c.Kvl", "和.kvl"}));
    EXPECT_TRUE(listOrdinaryFiles(dir.file("missing"), ".kvl").empty());
}

TEST(FileSystem, ReadsWholeFilesAndNamesTheFailure) {
    TempDir dir;
    const std::string bytes("a\0\r\n\x82\xA0", 6);
    EXPECT_EQ(readWholeFile(dir.write("data.bin", bytes)), bytes);
    EXPECT_EQ(readWholeFile(dir.write("empty.bin", "")), "");

    const struct {
        const char* what;
        std::string path;
        std::int16_t number;
    } failures[] = {
        {"missing", dir.file("missing.bin"), failure::kFileNotFound},
        {"a folder", dir.makeDir("folder"), failure::kPathFileAccess},
    };
    for (const auto& f : failures) {
        SCOPED_TRACE(f.what);
        try {
            readWholeFile(f.path);
            ADD_FAILURE() << "no failure";
        } catch (const Failure& e) {
            EXPECT_EQ(e.number(), f.number);
        }
    }
}

}  // namespace
}  // namespace mirudana
