#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/failure.h"
#include "platform/file_identity.h"
#include "platform/file_replacement.h"
#include "platform/folder_listing.h"
#include "platform/native_path.h"
#include "platform/utf.h"
#include "support/long_path.h"
#include "support/temp_dir.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace mirudana {
namespace {

using testing::TempDir;

// Hidden files as the platform marks them: a dot-name here; on Windows the hidden
// and the system attribute, set through Win32 (a dot-name is an ordinary file
// there, though Wine marks it hidden).
std::vector<std::string> writeHiddenFiles(const TempDir& dir, const std::string& suffix) {
#ifdef _WIN32
    std::vector<std::string> files;
    for (DWORD attribute : {FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM}) {
        files.push_back(dir.write("attribute" + std::to_string(attribute) + suffix, "x"));
        SetFileAttributesW(nativePath(files.back()).c_str(), attribute);
    }
    return files;
#else
    return {dir.write(".hidden" + suffix, "x")};
#endif
}

TEST(FileSystemTest, OrdinaryFilesAreVisibleRegularFiles) {
    TempDir dir;
    std::string file = dir.write("カード.kvl", "x");
    std::string empty = dir.write("empty.kvl", "");
    std::string folder = dir.makeDir("folder.kvl");
    std::string missing = dir.file("missing.kvl");

    EXPECT_TRUE(isOrdinaryFile(file));
    EXPECT_TRUE(isOrdinaryFile(empty));
    EXPECT_FALSE(isOrdinaryFile(folder));
    EXPECT_FALSE(isOrdinaryFile(missing));
    EXPECT_FALSE(isOrdinaryFile(""));

    EXPECT_TRUE(FileExists(file));
    EXPECT_TRUE(FileExists(folder));
    EXPECT_FALSE(FileExists(missing));
    EXPECT_FALSE(FileExists(""));
    for (const std::string& hidden : writeHiddenFiles(dir, ".kvl")) {
        SCOPED_TRACE(hidden);
        EXPECT_FALSE(isOrdinaryFile(hidden));
        EXPECT_TRUE(FileExists(hidden));
    }
}

#ifndef _WIN32
TEST(FileSystemTest, HiddenByTheLastNameOfThePath) {
    const std::pair<const char*, bool> cases[] = {
        {".x.kvs", true},      {"d/.x.kvs", true}, {"d/.", true}, {"/a/..", true}, {"x.kvs", false},
        {"d/.e/x.kvs", false}, {"d.e/x", false},   {"d/", false}, {"", false},     {"/", false},
    };
    for (const auto& [path, hidden] : cases) {
        SCOPED_TRACE(path);
        EXPECT_EQ(isHiddenFile(path), hidden);
    }
}
#endif

TEST(FileSystemTest, ListsOrdinaryFilesBySuffixInByteOrder) {
    TempDir dir;
    for (const char* name :
         {"b.kvl", "A.KVL", "a.kvl", "和.kvl", "c.Kvl", "notes.txt", "kvl", "x.kvl.bak"}) {
        dir.write(name, "x");
    }
    writeHiddenFiles(dir, ".kvl");
    dir.makeDir("folder.kvl");
    // Where names ignore case, "a.kvl" was written into "A.KVL".
    std::vector<std::string> expected{"A.KVL", "a.kvl", "b.kvl", "c.Kvl", "和.kvl"};
    if (fileNameKey("a") == fileNameKey("A")) expected.erase(expected.begin() + 1);
    EXPECT_EQ(listOrdinaryFiles(dir.path(), ".kvl"), expected);
    EXPECT_TRUE(listOrdinaryFiles(dir.file("missing"), ".kvl").empty());
}

TEST(FileSystemTest, ReadsWholeFilesAndNamesTheFailure) {
    TempDir dir;
    const std::string bytes("a\0\r\n\x82\xA0", 6);
    const std::string data = dir.write("data.bin", bytes);
    std::optional<FileIdentity> identity;
    EXPECT_EQ(readWholeFile(data, bytes.size(), &identity), bytes);
    EXPECT_EQ(identity, fileIdentity(data));
    EXPECT_EQ(readWholeFile(dir.write("empty.bin", "")), "");
#ifndef _WIN32
    // A system file that reports no size is read to its end all the same.
    EXPECT_NE(readWholeFile("/proc/self/maps").find("[stack]"), std::string::npos);
#else
    // Held by another program that shares it with no one.
    const std::string held = dir.write("held.bin", "x");
    HANDLE holder =
        CreateFileW(nativePath(held).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
#endif

    const struct {
        const char* what;
        std::string path;
        std::int16_t number;
    } failures[] = {
        {"missing", dir.file("missing.bin"), failure::kFileNotFound},
        {"a folder", dir.makeDir("folder"), failure::kPathFileAccess},
#ifdef _WIN32
        // Windows names are UTF-16: text that is not UTF-8 names no file there.
        {"a name that is not UTF-8", dir.file("\xff.bin"), failure::kBadFileName},
        {"held by another program", held, failure::kFileAlreadyOpen},
#endif
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
#ifdef _WIN32
    CloseHandle(holder);
#endif
}

// Past the 260 characters Windows once allowed, every file test, listing and read
// still works, and the path reads back as it was written.
TEST(FileSystemTest, PathsWorkAtAnyLength) {
    TempDir dir;
    const std::string file = testing::writeAtLongPath(dir.path(), "深い.kvs", "battle");
    ASSERT_GT(utf8ToUtf16(file).size(), 350u);
    const std::string folder = file.substr(0, file.size() - std::string("深い.kvs").size() - 1);
    EXPECT_TRUE(isFolder(folder));
    EXPECT_TRUE(isOrdinaryFile(file));
    EXPECT_TRUE(fileIdentity(file).has_value());
    EXPECT_EQ(readWholeFile(file), "battle");
    EXPECT_EQ(pathText(nativePath(file)), file);
    std::vector<FolderEntry> entries;
    EXPECT_TRUE(readFolder(folder, entries));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "深い.kvs");
    EXPECT_TRUE(entries[0].isFile);
    EXPECT_EQ(listOrdinaryFiles(folder, ".KVS"), std::vector<std::string>{"深い.kvs"});
    FileReplacement replacement(file);
    replacement.write("replaced");
    replacement.commit();
    EXPECT_EQ(readWholeFile(file), "replaced");
}

}  // namespace
}  // namespace mirudana
