// The one error type of the engine: a syntax or runtime error with the position
// where it arose. Thrown anywhere inside the engine and caught once in RunScript.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace ttscript {

// A place in the script: 1-based line and column, 0 when not tied to one, and the
// file a script imports it is in (null: the script itself).
struct SourcePosition {
    int line = 0;
    int column = 0;
    const std::string* file = nullptr;
};

class ScriptFailure : public std::runtime_error {
  public:
    ScriptFailure(std::string message, SourcePosition at)
        : std::runtime_error(message),
          message_(std::move(message)),
          line_(at.line),
          column_(at.column),
          file_(at.file ? *at.file : std::string()) {}

    const std::string& message() const noexcept { return message_; }
    int line() const noexcept { return line_; }
    int column() const noexcept { return column_; }
    // The imported file it arose in, as its Import names it; "" for the script itself.
    const std::string& file() const noexcept { return file_; }

  private:
    std::string message_;
    int line_;
    int column_;
    std::string file_;
};

// What ends a script whose host asked it to stop: a runtime error of its own kind,
// so a host can tell the user's stop from a fault without reading the message.
class ScriptStopped : public ScriptFailure {
  public:
    using ScriptFailure::ScriptFailure;
};

// While it lives, runtime errors raised on this thread take their position from
// `where`, which the interpreter keeps at the statement or expression it works on.
class RunPositionScope {
  public:
    explicit RunPositionScope(const SourcePosition& where);
    ~RunPositionScope();
    RunPositionScope(const RunPositionScope&) = delete;
    RunPositionScope& operator=(const RunPositionScope&) = delete;

  private:
    const SourcePosition* outer_;
};

inline constexpr const char* kSyntaxErrorPrefix = "構文エラー: ";
inline constexpr const char* kRuntimeErrorPrefix = "実行時エラー: ";

[[noreturn]] inline void throwSyntaxError(const std::string& what, int line, int column) {
    throw ScriptFailure(kSyntaxErrorPrefix + what, {line, column});
}

// The start of a text from a script as a message quotes it: a long one is cut at a
// character's start and ends in "…", and control characters are written "\x0D", so
// a message stays one short line of valid UTF-8.
std::string shownText(std::string_view text);

// Both take the position of what the running script is working on.
[[noreturn]] void throwRuntimeError(const std::string& what);
// How a script ends when its host asked it to stop.
[[noreturn]] void throwStopped();

}  // namespace ttscript
