// File dialogs for window tests: each call records what was asked and takes the next
// prepared answer (a result, a cancel or a failure) instead of showing a dialog.
#pragma once

#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/file_dialogs.h"
#include "platform/failure.h"

namespace mirudana::testing {

class ScriptedFileDialogs : public FileDialogs {
  public:
    struct Request {
        std::string kind;  // "open" or "save"
        std::string title;
        std::string filter;
        bool several = false;
    };

    void answer(std::string result) { answers_.push_back(Answer{std::move(result), 0}); }
    void cancel() { answers_.push_back(Answer{std::nullopt, 0}); }
    void fail(std::int16_t number) { answers_.push_back(Answer{std::nullopt, number}); }

    std::optional<std::string> openFiles(const std::string& title, const std::string& filter,
                                         bool several) override {
        requests.push_back({"open", title, filter, several});
        return next();
    }

    std::optional<std::string> saveFile(const std::string& title,
                                        const std::string& filter) override {
        requests.push_back({"save", title, filter, false});
        return next();
    }

    std::vector<Request> requests;

  private:
    struct Answer {
        std::optional<std::string> result;
        std::int16_t failure;
    };

    std::optional<std::string> next() {
        if (answers_.empty())
            throw std::logic_error("a dialog was shown without a prepared answer");
        Answer answer = answers_.front();
        answers_.pop_front();
        if (answer.failure != 0) throw Failure(answer.failure);
        return answer.result;
    }

    std::deque<Answer> answers_;
};

}  // namespace mirudana::testing
