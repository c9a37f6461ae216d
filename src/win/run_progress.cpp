#include "win/run_progress.h"

#include <commctrl.h>

#include <algorithm>

#include "app/user_interface.h"
#include "report/main_window.h"
#include "win/wide_text.h"

namespace mirudana::win {
namespace {

constexpr wchar_t kClassName[] = L"MirudanaRunProgress";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

// The dialog's design at 96 dots per inch: client size, then label, bar and button
// as left, top, width, height.
constexpr int kWidth = 320, kHeight = 104;
constexpr RECT kLabel{12, 12, 296, 20};
constexpr RECT kBar{12, 38, 296, 18};
constexpr RECT kButton{224, 68, 84, 26};

HWND createChild(HWND parent, const wchar_t* kind, const std::string& text, DWORD style, int id,
                 const RECT& design, UINT dpi, HFONT font) {
    HWND child = CreateWindowExW(
        0, kind, widen(text).c_str(), WS_CHILD | WS_VISIBLE | style, scaled(design.left, dpi),
        scaled(design.top, dpi), scaled(design.right, dpi), scaled(design.bottom, dpi), parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

}  // namespace

RunProgress::RunProgress(HWND owner, int delayMs)
    : owner_(owner), delayMs_(delayMs), started_(GetTickCount64()) {}

RunProgress::~RunProgress() { close(); }

LRESULT CALLBACK RunProgress::dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        SetWindowLongPtrW(
            dialog, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    auto* self = reinterpret_cast<RunProgress*>(GetWindowLongPtrW(dialog, GWLP_USERDATA));
    // The button, Escape and the close box all stop the script.
    const bool cancel =
        (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) || (message == WM_CLOSE);
    if (self != nullptr && cancel) {
        self->cancelled_ = true;
        EnableWindow(GetDlgItem(dialog, IDCANCEL), FALSE);
        return 0;
    }
    return DefWindowProcW(dialog, message, wParam, lParam);
}

void RunProgress::open() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (!GetClassInfoExW(instance, kClassName, &windowClass)) {
        windowClass.lpfnWndProc = dialogProc;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = kClassName;
        RegisterClassExW(&windowClass);
    }
    const UINT dpi = GetDpiForWindow(owner_);
    font_ = std::make_unique<MessageFont>(dpi);
    dialog_ = CreateWindowExW(kExStyle, kClassName, widen(kApplicationTitle).c_str(), kStyle, 0, 0,
                              0, 0, owner_, nullptr, instance, this);
    createChild(dialog_, WC_STATICW, "", SS_LEFT | SS_NOPREFIX, kLabelId, kLabel, dpi,
                font_->handle());
    createChild(dialog_, PROGRESS_CLASSW, "", 0, kBarId, kBar, dpi, font_->handle());
    createChild(dialog_, WC_BUTTONW, kProgressCancelCaption, WS_TABSTOP | BS_DEFPUSHBUTTON,
                IDCANCEL, kButton, dpi, font_->handle());

    // Centred on the window, which is held still while the dialog is up, and kept
    // on the window's monitor.
    RECT owner;
    GetWindowRect(owner_, &owner);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(owner_, MONITOR_DEFAULTTONEAREST), &monitor);
    const int width = scaled(kWidth, dpi);
    const int height = scaled(kHeight, dpi);
    const RECT& work = monitor.rcWork;
    const POINT corner{std::clamp<LONG>((owner.left + owner.right - width) / 2, work.left,
                                        std::max<LONG>(work.left, work.right - width)),
                       std::clamp<LONG>((owner.top + owner.bottom - height) / 2, work.top,
                                        std::max<LONG>(work.top, work.bottom - height))};
    setClientSize(dialog_, width, height, corner, dpi);
    EnableWindow(owner_, FALSE);
    ShowWindow(dialog_, SW_SHOW);
    SetFocus(GetDlgItem(dialog_, IDCANCEL));
}

void RunProgress::close() {
    if (dialog_ == nullptr) return;
    // The owner first, so the system gives it back the activation.
    EnableWindow(owner_, TRUE);
    DestroyWindow(dialog_);
    dialog_ = nullptr;
}

bool RunProgress::onProgress(int done, int total) {
    if (dialog_ == nullptr) {
        if (GetTickCount64() - started_ < static_cast<ULONGLONG>(delayMs_)) return true;
        open();
    }
    setWindowText(GetDlgItem(dialog_, kLabelId), progressText(done, total));
    HWND bar = GetDlgItem(dialog_, kBarId);
    SendMessageW(bar, PBM_SETRANGE32, 0, total);
    SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(done), 0);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (IsDialogMessageW(dialog_, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return !cancelled_;
}

void RunProgress::onScriptEnded() { close(); }

}  // namespace mirudana::win
