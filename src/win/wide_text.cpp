#include "win/wide_text.h"

#include "platform/utf.h"

namespace mirudana::win {

std::wstring widen(std::string_view text) {
    const std::u16string wide = utf8ToUtf16(text);
    return {wide.begin(), wide.end()};
}

std::string narrow(std::wstring_view text) {
    return utf16ToUtf8(std::u16string(text.begin(), text.end()));
}

std::string windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return narrow(text);
}

void setWindowText(HWND window, std::string_view text) {
    SetWindowTextW(window, widen(text).c_str());
}

}  // namespace mirudana::win
