#include "ttscript/script_failure.h"

namespace ttscript {
namespace {

thread_local const SourcePosition* runPosition = nullptr;

SourcePosition here() { return runPosition ? *runPosition : SourcePosition{}; }

}  // namespace

RunPositionScope::RunPositionScope(const SourcePosition& where) : outer_(runPosition) {
    runPosition = &where;
}

RunPositionScope::~RunPositionScope() { runPosition = outer_; }

std::string shownText(std::string_view text) {
    constexpr std::size_t kShownBytes = 40;
    std::size_t end = text.size();
    if (end > kShownBytes) {
        end = kShownBytes;
        while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    }
    // A line break or a NUL would split or cut the one line a message is shown on.
    std::string shown;
    for (char c : text.substr(0, end)) {
        auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            shown += c;
        } else {
            constexpr std::string_view kHex = "0123456789ABCDEF";
            shown.append("\\x").append(1, kHex[byte >> 4]).append(1, kHex[byte & 0xF]);
        }
    }
    return end < text.size() ? shown + "…" : shown;
}

void throwRuntimeError(const std::string& what) {
    throw ScriptFailure(kRuntimeErrorPrefix + what, here());
}

void throwStopped() {
    throw ScriptStopped(std::string(kRuntimeErrorPrefix) + "中断されました", here());
}

}  // namespace ttscript
