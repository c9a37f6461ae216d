#include "win/user_interface.h"

#include <cstdlib>
#include <cstring>

#include "win/wide_text.h"

namespace mirudana::win {

void WinUserInterface::showWarning(const std::string& message) {
    MessageBoxW(owner_, widen(message).c_str(), widen(kApplicationTitle).c_str(),
                MB_OK | MB_ICONEXCLAMATION);
}

bool WinUserInterface::askYesNo(const std::string& message, const std::string& caption) {
    return MessageBoxW(owner_, widen(message).c_str(), widen(caption).c_str(),
                       MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) == IDYES;
}

void WinUserInterface::copyToClipboard(const std::string& text) {
    const std::wstring wide = widen(text);
    const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (memory == nullptr) return;
    std::memcpy(GlobalLock(memory), wide.c_str(), bytes);
    GlobalUnlock(memory);
    if (!OpenClipboard(owner_)) {
        GlobalFree(memory);
        return;
    }
    EmptyClipboard();
    // The clipboard owns the memory once it has taken it.
    if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) GlobalFree(memory);
    CloseClipboard();
}

void WinUserInterface::endTool() { std::exit(EXIT_SUCCESS); }

}  // namespace mirudana::win
