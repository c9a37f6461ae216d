// Answers the next modal box or dialog that the code under test shows, in-process:
// once the box is up and running its own message loop, `answer` is handed its
// window and must close it with a posted message (a command or a key).
#pragma once

#include <windows.h>

#include <functional>
#include <string_view>

#include "win/posted_call.h"

namespace mirudana::testing {

class ModalAnswer {
  public:
    explicit ModalAnswer(std::function<void(HWND)> answer)
        : call_([this, answer = std::move(answer)] { answer(box_); }) {
        current_ = this;
        hook_ = SetWindowsHookExW(WH_CBT, onHook, nullptr, GetCurrentThreadId());
    }
    ~ModalAnswer() {
        UnhookWindowsHookEx(hook_);
        current_ = nullptr;
    }
    ModalAnswer(const ModalAnswer&) = delete;
    ModalAnswer& operator=(const ModalAnswer&) = delete;

    bool answered() const { return box_ != nullptr; }

  private:
    // The box is activated before it has set itself up; the answer waits for the
    // box's loop to take a posted message.
    static LRESULT CALLBACK onHook(int code, WPARAM wParam, LPARAM lParam) {
        ModalAnswer* self = current_;
        if (code == HCBT_ACTIVATE && self != nullptr && self->box_ == nullptr) {
            const auto box = reinterpret_cast<HWND>(wParam);
            wchar_t kind[16] = {};
            GetClassNameW(box, kind, 16);
            // Message boxes and common dialogs are of the dialog class.
            if (std::wstring_view(kind) == L"#32770") {
                self->box_ = box;
                self->call_.post();
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline ModalAnswer* current_ = nullptr;
    PostedCall call_;
    HHOOK hook_;
    HWND box_ = nullptr;
};

}  // namespace mirudana::testing
