// The one error type of the engine: a syntax or runtime error with the position
// where it arose. Thrown anywhere inside the engine and caught once in RunScript.
#pragma once

#include <stdexcept>
#include <string>

namespace ttscript {

class ScriptFailure : public std::runtime_error {
  public:
    // `line` 0 means "not placed yet": the interpreter fills in the position of the
    // expression or statement it was working on.
    ScriptFailure(std::string message, int line = 0, int column = 0)
        : std::runtime_error(message), message_(std::move(message)), line_(line), column_(column) {}

    const std::string& message() const noexcept { return message_; }
    int line() const noexcept { return line_; }
    int column() const noexcept { return column_; }

    void placeIfUnplaced(int line, int column) noexcept {
        if (line_ == 0) line_ = line, column_ = column;
    }

  private:
    std::string message_;
    int line_;
    int column_;
};

// What ends a script whose host asked it to stop: a runtime error of its own kind,
// so a host can tell the user's stop from a fault without reading the message.
class ScriptStopped : public ScriptFailure {
  public:
    using ScriptFailure::ScriptFailure;
};

inline constexpr const char* kSyntaxErrorPrefix = "構文エラー: ";
inline constexpr const char* kRuntimeErrorPrefix = "実行時エラー: ";

[[noreturn]] inline void throwSyntaxError(const std::string& what, int line, int column) {
    throw ScriptFailure(kSyntaxErrorPrefix + what, line, column);
}

// How a script ends when its host asked it to stop; placed later when `line` is 0.
[[noreturn]] inline void throwStopped(int line = 0, int column = 0) {
    throw ScriptStopped(std::string(kRuntimeErrorPrefix) + "中断されました", line, column);
}

// Placed later by the interpreter when `line` is 0.
[[noreturn]] inline void throwRuntimeError(const std::string& what, int line = 0, int column = 0) {
    throw ScriptFailure(kRuntimeErrorPrefix + what, line, column);
}

}  // namespace ttscript
