// Runs a function when the thread's message loop next takes a posted message, so a
// test can act from inside a loop the code under test runs (a box's own loop, or
// the pumping of a run's progress) without threads or waiting.
#pragma once

#include <windows.h>

#include <functional>

namespace mirudana::testing {

class PostedCall {
  public:
    explicit PostedCall(std::function<void()> call) : call_(std::move(call)) {
        WNDCLASSW kind{};
        kind.lpfnWndProc = onMessage;
        kind.hInstance = GetModuleHandleW(nullptr);
        kind.lpszClassName = L"MirudanaPostedCall";
        RegisterClassW(&kind);
        receiver_ = CreateWindowExW(0, kind.lpszClassName, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE,
                                    nullptr, kind.hInstance, nullptr);
        SetWindowLongPtrW(receiver_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~PostedCall() { DestroyWindow(receiver_); }
    PostedCall(const PostedCall&) = delete;
    PostedCall& operator=(const PostedCall&) = delete;

    void post() { PostMessageW(receiver_, WM_APP, 0, 0); }

  private:
    static LRESULT CALLBACK onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<PostedCall*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_APP && self != nullptr) self->call_();
        return DefWindowProcW(window, message, wParam, lParam);
    }

    std::function<void()> call_;
    HWND receiver_;
};

}  // namespace mirudana::testing
