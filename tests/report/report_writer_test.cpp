// The report file is replaced in one step: permissions kept, links followed, and
// nothing touched or left behind when the write cannot happen.
#include "report/report_writer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/codepage.h"
#include "platform/failure.h"
#include "platform/native_path.h"
#include "support/temp_dir.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/unprivileged.h"
#endif

namespace fs = std::filesystem;

namespace mirudana::testing {
namespace {

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(ReportWriterTest, WritesCodePage932WithCrLfAndLeavesNoTemporaryFile) {
    TempDir dir;
    std::string path = dir.file("r.html");
    writeReportFile(path, "紅蓮<b>\n☃");
    EXPECT_EQ(readBytes(path), utf8ToCp932("紅蓮<b>\n") + "?\r\n");

    // A name near the system's limit of 255 bytes leaves no room for a longer one.
    const std::string longName = std::string(245, 'n') + ".html";
    writeReportFile(dir.file(longName), "x");
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{longName, "r.html"}));
}

// The seven JIS X 0208 characters code page 932 decodes to other code points are
// written as the code it decodes to them instead; in every other text they stay "?".
TEST(ReportWriterTest, WritesTheSevenLookAlikesAndQuestionMarksForTheRest) {
    struct Case {
        const char* character;
        const char* code;
    };
    const Case cases[] = {
        {"〜", "\x81\x60"}, {"‖", "\x81\x61"}, {"−", "\x81\x7C"}, {"—", "\x81\x5C"},
        {"¢", "\x81\x91"},  {"£", "\x81\x92"}, {"¬", "\x81\xCA"}, {"ß", "?"},
    };
    TempDir dir;
    const std::string path = dir.file("r.html");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.character);
        writeReportFile(path, std::string("a") + c.character);
        EXPECT_EQ(readBytes(path), std::string("a") + c.code + "\r\n");
        EXPECT_EQ(utf8ToCp932(c.character), "?");
    }
}

TEST(ReportWriterTest, ALargeReportConvertsAsOneText) {
    TempDir dir;
    std::string path = dir.file("big.html");
    std::string text;
    while (text.size() < (3u << 20)) text += "紅蓮の仔竜、\xff<td>☃</td>\n";
    text += std::string(2u << 20, '\xe3');  // a long run without an ASCII byte
    writeReportFile(path, text);
    EXPECT_EQ(readBytes(path), utf8ToCp932(text) + "\r\n");
}

#ifdef _WIN32
TEST(ReportWriterTest, KeepsTheOldAttributesAndGivesANewFileNone) {
    TempDir dir;
    std::string fresh = dir.file("new.html");
    writeReportFile(fresh, "a");
    constexpr DWORD kMarks =
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY;
    EXPECT_EQ(GetFileAttributesW(nativePath(fresh).c_str()) & kMarks, 0u);

    std::string hidden = dir.write("hidden.html", "old");
    SetFileAttributesW(nativePath(hidden).c_str(), FILE_ATTRIBUTE_HIDDEN);
    writeReportFile(hidden, "b");
    EXPECT_EQ(readBytes(hidden), "b\r\n");
    EXPECT_NE(GetFileAttributesW(nativePath(hidden).c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

TEST(ReportWriterTest, AReportAnotherProgramHoldsOpenIsRefusedWithThatReason) {
    TempDir dir;
    std::string held = dir.write("held.csv", "old");
    HANDLE holder = CreateFileW(nativePath(held).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    try {
        writeReportFile(held, "new");
        ADD_FAILURE() << "written";
    } catch (const Failure& failure) {
        EXPECT_STREQ(
            failure.what(),
            "ほかのプログラムがこのファイルを開いています。閉じてからやり直してください。");
    }
    CloseHandle(holder);
    EXPECT_EQ(readBytes(held), "old");
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"held.csv"});
}
#else
fs::perms permissionsOf(const std::string& path) {
    return fs::status(path).permissions() & fs::perms::all;
}

TEST(ReportWriterTest, KeepsTheOldPermissionsAndGivesANewFileTheUsualOnes) {
    TempDir dir;
    mode_t old = umask(022);
    std::string fresh = dir.file("new.html");
    writeReportFile(fresh, "a");
    EXPECT_EQ(permissionsOf(fresh), fs::perms(0644));

    std::string kept = dir.write("kept.html", "old");
    fs::permissions(kept, fs::perms(0640));
    writeReportFile(kept, "b");
    EXPECT_EQ(permissionsOf(kept), fs::perms(0640));
    umask(old);
}
#endif

TEST(ReportWriterTest, WritesThroughASymbolicLink) {
    TempDir dir;
    std::string target = dir.write("real/report.html", "old");
    std::string link = dir.file("link.html");
    if (!makeSymlink("real/report.html", link)) GTEST_SKIP() << "no symbolic links here";
    writeReportFile(link, "new");
    EXPECT_TRUE(isSymlink(link));
    EXPECT_EQ(readBytes(target), "new\r\n");
}

TEST(ReportWriterTest, FailsWithoutTouchingAnything) {
    TempDir dir;
    std::string readOnly = dir.write("ro.html", "old");
    fs::permissions(readOnly, fs::perms::owner_read);
    std::string folder = dir.makeDir("folder.html");
    std::vector<std::string> names{"folder.html", "ro.html"};
    std::string looped = dir.file("loop.html");
    struct Case {
        std::string path;
        const char* why;
    };
    std::vector<Case> cases = {
        {readOnly, "書き込みが許可されていません。"},
        {folder, "フォルダーには書き込めません。"},
        {dir.file("missing/r.html"), "書き込み先のフォルダーが見つかりません。"},
        {std::string(), "書き込み先のフォルダーが見つかりません。"},
    };
    if (makeSymlink("loop.html", looped)) {
        cases.push_back({looped, "シンボリックリンクが循環しています。"});
        names.insert(names.begin() + 1, "loop.html");
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        try {
            writeReportFile(c.path, "new");
            ADD_FAILURE() << "written";
        } catch (const Failure& failure) {
            EXPECT_STREQ(failure.what(), c.why);
        }
    }
    EXPECT_EQ(readBytes(readOnly), "old");
    EXPECT_EQ(namesIn(dir.path()), names);
}

#ifndef _WIN32
TEST(ReportWriterTest, KeepsTheOwnerAndGroupOfAReplacedReport) {
    if (geteuid() != 0) {
        // CI runs as root, so there this must run.
        if (std::getenv("CI") != nullptr) FAIL() << "needs root, which CI has";
        GTEST_SKIP() << "only root may give a file to another user";
    }
    TempDir dir;
    std::string path = dir.write("theirs.html", "old");
    ASSERT_EQ(chown(path.c_str(), kNobody, kNobody), 0);
    writeReportFile(path, "new");
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, kNobody);
    EXPECT_EQ(info.st_gid, kNobody);
}

// Such as /tmp: only the owner of a file, or of the folder, may put another in its place.
TEST(ReportWriterTest, WritesInPlaceWhenAStickyFolderKeepsAnotherUsersFile) {
    TempDir dir;
    std::string folder = dir.makeDir("shared");
    std::string path = dir.write("shared/r.html", "old");
    fs::permissions(path, fs::perms(0666));
    fs::permissions(folder, fs::perms(01777));
    EXPECT_EQ(asUnprivileged([&] {
                  try {
                      writeReportFile(path, "new");
                  } catch (const Failure&) {
                      return 1;
                  }
                  return 0;
              }),
              0);
    EXPECT_EQ(readBytes(path), "new\r\n");
    EXPECT_EQ(namesIn(folder), std::vector<std::string>{"r.html"});
}

TEST(ReportWriterTest, WritesInPlaceWhenTheFolderRefusesANewFile) {
    TempDir dir;
    std::string folder = dir.makeDir("locked");
    std::string path = dir.write("locked/r.html", std::string(100, 'o'));
    std::string link = dir.file("locked/hard.html");
    fs::create_hard_link(path, link);
    ASSERT_EQ(chown(path.c_str(), kNobody, kNobody) == 0 || geteuid() != 0, true);
    fs::permissions(folder, fs::perms(0555));
    // Also the hard link sees the new content: the file itself was written.
    EXPECT_EQ(asUnprivileged([&] {
                  writeReportFile(path, "new");
                  return 0;
              }),
              0);
    EXPECT_EQ(readBytes(path), "new\r\n");
    EXPECT_EQ(readBytes(link), "new\r\n");
    EXPECT_EQ(namesIn(folder), (std::vector<std::string>{"hard.html", "r.html"}));

    // While another run writes it in place, holding its lock, a second is refused.
    int held = ::open(path.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    EXPECT_EQ(asUnprivileged([&] {
                  try {
                      writeReportFile(path, "mixed");
                  } catch (const Failure& failure) {
                      return std::string(failure.what()) ==
                                     "ほかの処理がこのファイルに書き込んでいます。"
                                 ? 0
                                 : 1;
                  }
                  return 2;
              }),
              0);
    ::close(held);
    EXPECT_EQ(readBytes(path), "new\r\n");
}

#endif

TEST(ReportWriterTest, AReplacedReportLeavesOtherHardLinksWithTheOldContent) {
    TempDir dir;
    std::string path = dir.write("r.html", "old");
    fs::create_hard_link(path, dir.file("hard.html"));
    writeReportFile(path, "new");
    EXPECT_EQ(readBytes(dir.file("hard.html")), "old");
}

}  // namespace
}  // namespace mirudana::testing
