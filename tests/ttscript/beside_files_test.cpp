#include "ttscript/beside_files.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "support/long_path.h"
#include "support/temp_dir.h"
#include "ttscript/run_memory.h"
#include "ttscript/script_failure.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace ttscript {
namespace {

using mirudana::testing::TempDir;

// What readBesideFile says about `relative`: the text read, or "refused: reason".
std::string outcome(const std::string& folder, const std::string& relative,
                    BesideKind kind = BesideKind::PageText) {
    try {
        return readBesideFile(folder, relative, kind).bytes;
    } catch (const BesideFileRefused& refused) {
        return std::string("refused: ") + refused.what();
    }
}

TEST(BesideFilesTest, OnlyTextFilesInsideTheScriptsFolderAreRead) {
    TempDir outside;
    std::string secret = outside.write("secret.txt", "secret");
    TempDir dir;
    std::string folder = dir.makeDir("scripts");
    dir.write("scripts/page/app.js", "js");
    dir.write("scripts/Data.JSON", "{}");
    dir.write("scripts/key.pem", "key");
    dir.write("scripts/.hidden.txt", "hidden");
    dir.write("scripts/.git/config.txt", "hidden");
    dir.write("scripts/exact.txt", std::string(kMaxBesideFileBytes, 'x'));
    dir.write("scripts/big.txt", std::string(kMaxBesideFileBytes + 1, 'x'));
    dir.write("beside-folder.txt", "parent");
    const bool links =
        mirudana::testing::makeSymlink(secret, dir.file("scripts/outside.txt")) &&
        mirudana::testing::makeSymlink("../beside-folder.txt", dir.file("scripts/up.txt")) &&
        mirudana::testing::makeSymlink("page/app.js", dir.file("scripts/in.js")) &&
        mirudana::testing::makeSymlink("key.pem", dir.file("scripts/key.txt")) &&
        mirudana::testing::makeSymlink(".hidden.txt", dir.file("scripts/h.txt"));
    const std::string kOutside = "refused: 「..」でスクリプトのフォルダーの外へは出られません";
    const std::string kAbsolute =
        "refused: "
        "絶対パスやドライブ名は使えません（スクリプトのフォルダーからの相対パスで書きます）";
    const std::string kHidden =
        "refused: 隠しファイルや隠しフォルダー（. で始まる名前）は読めません";
    const std::string kKinds =
        "refused: 読めるのは .tts .css .js .html .txt .json のファイルだけです";
    struct Case {
        std::string relative;
        std::string expected;
        bool needsLinks = false;
    };
    const Case cases[] = {
        {"page/app.js", "js"},
        {"page\\app.js", "js"},
        {"Data.JSON", "{}"},
        {"exact.txt", std::string(kMaxBesideFileBytes, 'x')},
        {"big.txt", "refused: ファイルが大きすぎます（上限 1 MB）"},
        {"none.txt", "refused: ファイルがありません"},
        {"page", kKinds},
        {"key.pem", kKinds},
        {"", "refused: ファイル名が空です"},
        {secret, kAbsolute},
        {"\\\\server\\share\\a.txt", kAbsolute},
        {"C:/a.txt", kAbsolute},
        {"C:a.txt", kAbsolute},
        {"../beside-folder.txt", kOutside},
        {"page/../../beside-folder.txt", kOutside},
        {"page//app.js", "refused: パスの書き方が正しくありません"},
        {"./page/app.js", "refused: パスの書き方が正しくありません"},
        {std::string("key.pem\0.txt", 12), "refused: パスの書き方が正しくありません"},
        {".hidden.txt", kHidden},
        {".git/config.txt", kHidden},
        {"nul.txt", "refused: デバイス名は使えません"},
        {"COM1.js", "refused: デバイス名は使えません"},
        {"outside.txt", "refused: リンクの先がスクリプトのフォルダーの外です", true},
        {"up.txt", "refused: リンクの先がスクリプトのフォルダーの外です", true},
        {"in.js", "js", true},
        {"key.txt",
         "refused: リンクの先の種類は読めません（読めるのは .tts .css .js .html .txt .json "
         "のファイルだけです）",
         true},
        {"h.txt", "refused: リンクの先が隠しファイルか隠しフォルダーです", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.relative);
        if (c.needsLinks && !links) continue;
        EXPECT_EQ(outcome(folder, c.relative), c.expected);
    }
    EXPECT_EQ(outcome(folder, "page/app.js", BesideKind::Script),
              "refused: 読み込めるのは .tts のファイルだけです");
}

#ifndef _WIN32
// A named pipe or a device must not hang the run nor be read without end.
TEST(BesideFilesTest, PipesAndDevicesAreRefusedWithoutWaiting) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("pipe.txt").c_str(), 0600), 0);
    EXPECT_EQ(outcome(dir.path(), "pipe.txt"), "refused: 通常のファイルではありません");
    if (mirudana::testing::makeSymlink("/dev/zero", dir.file("zero.txt"))) {
        EXPECT_EQ(outcome(dir.path(), "zero.txt"),
                  "refused: リンクの先がスクリプトのフォルダーの外です");
    }
}
#endif

// Past the 260 characters Windows once allowed, a script's folder is still its own.
TEST(BesideFilesTest, AScriptAtAnyLengthReadsTheFilesBesideIt) {
    TempDir dir;
    const std::string script = mirudana::testing::writeAtLongPath(dir.path(), "s.tts", "");
    const std::string folder = scriptFolderOf(script);
    EXPECT_EQ(mirudana::AddDirSep(folder) + "s.tts", script);
    std::ofstream(mirudana::nativePath(mirudana::AddDirSep(folder) + "a.txt")) << "beside";
    EXPECT_EQ(outcome(folder, "a.txt"), "beside");
}

TEST(BesideFilesTest, TheFileMustFitTheRunsMemoryBudgetBeforeItIsRead) {
    TempDir dir;
    dir.write("a.txt", std::string(5000, 'a'));
    RunMemory memory(4000);
    EXPECT_THROW(readBesideFile(dir.path(), "a.txt", BesideKind::PageText), ScriptFailure);
}

TEST(BesideFilesTest, TextMustBeUtf8AndLosesItsByteOrderMark) {
    struct Case {
        std::string bytes, expected;
    };
    const Case cases[] = {
        {"\xEF\xBB\xBF"
         "a",
         "a"},
        {"手札", "手札"},
        {"a\x8E\xE8", "refused: UTF-8 のテキストではありません（2 バイト目）"},
        {"\xEF\xBB\xBF"
         "a\x8E",
         "refused: UTF-8 のテキストではありません（5 バイト目）"},
        {"\xED\xA0\x80", "refused: UTF-8 のテキストではありません（1 バイト目）"},
    };
    for (const Case& c : cases) {
        std::string got;
        try {
            got = besideFileText(c.bytes);
        } catch (const BesideFileRefused& refused) {
            got = std::string("refused: ") + refused.what();
        }
        EXPECT_EQ(got, c.expected);
    }
}

}  // namespace
}  // namespace ttscript
