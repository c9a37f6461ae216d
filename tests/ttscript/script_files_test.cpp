// The language as scripts: every ".tts" file in scripts/ holds cases separated by
// "'=== name" lines. A case prints with `[p] = x`; its `' expect: x` lines give what
// it prints, in order, and an `' expect error: line:column: message` line the error
// that ends it (lines counted from the case's first line). Each runs within 64 MB.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "recording_host.h"
#include "support/temp_dir.h"

namespace ttscript::testing {
namespace {

struct Case {
    std::string name;
    std::string script;
    std::string printed;  // the expected output
    std::string error;    // the expected "line:column: message", or ""
};

std::vector<Case> casesIn(const std::string& text) {
    std::vector<Case> cases(1);
    constexpr std::string_view kCase = "'=== ", kPrint = "' expect: ", kError = "' expect error: ";
    std::size_t from = 0;
    while (from < text.size()) {
        std::size_t end = text.find('\n', from);
        if (end == std::string::npos) end = text.size();
        std::string_view line(text.data() + from, end - from);
        std::size_t at = line.find('\'');
        std::string_view comment = at == std::string_view::npos ? "" : line.substr(at);
        if (line.starts_with(kCase)) {
            if (!cases.back().script.empty()) cases.emplace_back();
            cases.back().name = line.substr(kCase.size());
        } else {
            cases.back().script.append(line).append("\n");
            if (comment.starts_with(kPrint)) {
                cases.back().printed.append(comment.substr(kPrint.size())).append("\n");
            }
            if (comment.starts_with(kError)) cases.back().error = comment.substr(kError.size());
        }
        from = end + 1;
    }
    return cases;
}

TEST(ScriptFiles, EveryCaseRunsAsItsCommentsExpect) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(TTSCRIPT_CASES)) {
        if (entry.path().extension() != ".tts") continue;
        for (const Case& c : casesIn(mirudana::testing::readBytes(entry.path().string()))) {
            SCOPED_TRACE(entry.path().filename().string() + ": " + c.name);
            RecordingHost host;
            ScriptRun run = runScriptBytes(c.script, host, std::size_t{64} << 20);
            std::string error = run.error;
            if (error.starts_with("test.tts:")) error.erase(0, 9);
            EXPECT_EQ(error, c.error);
            EXPECT_EQ(host.printed, c.printed);
            ++count;
        }
    }
    EXPECT_GT(count, 0);
}

}  // namespace
}  // namespace ttscript::testing
