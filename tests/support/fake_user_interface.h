// A user interface for tests: records every warning, question and clipboard copy,
// answers questions from a queue, and turns "end the tool" into an exception.
#pragma once

#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/user_interface.h"

namespace mirudana::testing {

struct ToolEnded : std::runtime_error {
    ToolEnded() : std::runtime_error("the tool ended") {}
};

class FakeUserInterface : public UserInterface {
  public:
    struct Question {
        std::string message;
        std::string caption;
    };

    void showWarning(const std::string& message) override { warnings.push_back(message); }

    bool askYesNo(const std::string& message, const std::string& caption) override {
        questions.push_back({message, caption});
        if (answers.empty()) return false;  // Enter answers No
        bool answer = answers.front();
        answers.pop_front();
        return answer;
    }

    void copyToClipboard(const std::string& text) override { clipboard = text; }

    [[noreturn]] void endTool() override {
        ended = true;
        throw ToolEnded();
    }

    std::vector<std::string> warnings;
    std::vector<Question> questions;
    std::deque<bool> answers;
    std::string clipboard;
    bool ended = false;
};

}  // namespace mirudana::testing
