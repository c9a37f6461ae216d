// The language as scripts: every ".tts" file in scripts/ holds cases, each opened by
// a "'=== name" line (lines before the first are the file's heading). A case prints
// with `[p] = x`; its `' expect: x` lines give what it prints, in order, and an
// `' expect error: line:column: message` line the error that ends it. Lines are
// counted from the line after "'===", leaving out lines that hold only an
// expectation. A `' beside name: text` line adds a line to the file `name` written
// beside the script, and is left out too. Each runs within 64 MB.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "recording_host.h"
#include "support/temp_dir.h"

namespace ttscript::testing {
namespace {

struct Case {
    std::string name;
    std::string script;
    std::string printed;                        // the expected output
    std::string error;                          // the expected "line:column: message", or ""
    std::map<std::string, std::string> beside;  // files beside the script: name -> text
};

std::vector<Case> casesIn(const std::string& text) {
    std::vector<Case> cases;
    constexpr std::string_view kCase = "'=== ", kPrint = "' expect:", kError = "' expect error: ",
                               kBeside = "' beside ";
    std::size_t from = 0;
    while (from < text.size()) {
        std::size_t end = text.find('\n', from);
        if (end == std::string::npos) end = text.size();
        std::string_view line(text.data() + from, end - from);
        from = end + 1;
        if (line.starts_with(kCase)) {
            cases.emplace_back().name = line.substr(kCase.size());
            continue;
        }
        if (cases.empty()) continue;  // the file's own heading
        Case& c = cases.back();
        std::size_t at = line.find('\'');
        std::string_view comment = at == std::string_view::npos ? "" : line.substr(at);
        // A line holding only an expectation is not part of the script, so it moves
        // neither the end of the script nor the lines after it.
        bool onlyExpectation = (comment.starts_with("' expect") || comment.starts_with(kBeside)) &&
                               line.find_first_not_of(" \t") == at;
        if (!onlyExpectation) c.script.append(line).append("\n");
        if (onlyExpectation && comment.starts_with(kBeside)) {
            std::string_view file = comment.substr(kBeside.size());
            std::size_t colon = file.find(": ");
            c.beside[std::string(file.substr(0, colon))]
                .append(file.substr(colon + 2))
                .append("\n");
        } else if (comment.starts_with(kError)) {
            c.error = comment.substr(kError.size());
        } else if (comment.starts_with(kPrint)) {
            std::string_view printed = comment.substr(kPrint.size());
            if (printed.starts_with(' ')) printed.remove_prefix(1);
            c.printed.append(printed).append("\n");
        }
    }
    return cases;
}

TEST(ScriptFilesTest, EveryCaseRunsAsItsCommentsExpect) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(TTSCRIPT_CASES)) {
        if (entry.path().extension() != ".tts") continue;
        for (const Case& c : casesIn(mirudana::testing::readBytes(entry.path().string()))) {
            SCOPED_TRACE(entry.path().filename().string() + ": " + c.name);
            RecordingHost host;
            ScriptRun run = runScriptBytes(c.script, host, std::size_t{64} << 20, c.beside);
            std::string error = run.error;
            if (error.starts_with("test.tts:")) error.erase(0, 9);
            EXPECT_EQ(error, c.error);
            EXPECT_EQ(host.printed, c.printed);
            ++count;
        }
    }
    EXPECT_GT(count, 0);
}

// Every ```tts block of the language's documentation runs to its end over three
// battles and hands over a report.
TEST(ScriptFilesTest, DocumentedExamplesRun) {
    std::string docs = mirudana::testing::readBytes(TTSCRIPT_DOCS);
    std::vector<std::string> reports;
    constexpr std::string_view kOpen = "```tts\n", kClose = "```\n";
    for (std::size_t at = docs.find(kOpen); at != std::string::npos; at = docs.find(kOpen, at)) {
        at += kOpen.size();
        std::size_t end = docs.find(kClose, at);
        ASSERT_NE(end, std::string::npos);
        RecordingHost host;
        host.answers = {
            {"ファイル有無", "1"},      {"マスター種類", "炎の王"}, {"手札", "竜、騎士"},
            {"捨札", "剣,盾,剣"},       {"マスター体力", "18"},     {"ターン数", "21"},
            {"マスター名", "アリシア"}, {"アプリ名", "ミルダナ"},   {"ファイル名", "a,\"b\".kvs"}};
        int loads = 0;
        host.onEvent = [&](const std::string& event) {
            if (event == "RunCmd ロード" && ++loads == 3) host.answers["ファイル有無"] = "0";
        };
        ScriptRun run = runScriptBytes(docs.substr(at, end - at), host);
        EXPECT_EQ(run.error, "");
        ASSERT_FALSE(host.events.empty());
        reports.push_back(host.events.back());
        at = end;
    }
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_TRUE(reports[0].starts_with("SetData 保存データ|<!DOCTYPE html>")) << reports[0];
    for (const char* part :
         {"3 戦、マスターの平均体力 18.0", "<td>炎の王</td><td class=\"num\">6</td>",
          "<td class=\"num\">100.0%</td>", "<td>1</td><td>剣</td><td class=\"num\">12</td>"}) {
        EXPECT_NE(reports[1].find(part), std::string::npos) << part;
    }
    EXPECT_NE(reports[2].find("\r\n\"a,\"\"b\"\".kvs\",アリシア,炎の王\r\n"), std::string::npos)
        << reports[2];
}

}  // namespace
}  // namespace ttscript::testing
