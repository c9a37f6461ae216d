#include "platform/source_file_set.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/temp_dir.h"

namespace mirudana {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

// The source a report would be written over: by the identity noted as each file was
// read, or by a fresh look at each path where its folder may have changed since.
TEST(SourceFileSetTest, NamesTheSourceAnOutputWouldReplace) {
    TempDir dir;
    const std::string read = dir.write("cards/read.ini", "r");
    const std::string unread = dir.write("cards/unread.ini", "u");
    const std::string replaced = dir.write("cards/replaced.ini", "old");
    SourceFileSet trusting{std::chrono::nanoseconds(0)};  // relies on the identities noted
    SourceFileSet careful;  // the folder has just changed, so it looks at each path
    for (SourceFileSet* sources : {&trusting, &careful}) {
        EXPECT_EQ(sources->read(read), "r");
        sources->add(unread);
        EXPECT_EQ(sources->read(replaced), "old");
    }
    const std::string hardLink = dir.file("out/hard.html");
    dir.makeDir("out");
    fs::create_hard_link(read, hardLink);
    auto at = [](const SourceFileSet& sources, const std::string& output) {
        return sources.fileAt(fileIdentity(output).value());
    };
    const struct {
        const char* what;
        std::string output;
        std::optional<std::string> source;
    } cases[] = {
        {"a hard link to a file read", hardLink, read},
        {"a file noted but not read", unread, unread},
        {"no source", dir.write("out/other.html", "o"), std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(at(trusting, c.output), c.source);
        EXPECT_EQ(at(careful, c.output), c.source);
    }
    // Another file put in the place of one read is a source all the same.
    fs::rename(dir.write("out/new.ini", "new"), replaced);
    EXPECT_EQ(at(careful, replaced), replaced);
}

}  // namespace
}  // namespace mirudana
