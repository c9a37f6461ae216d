// The window's edge between the core's UTF-8 text and the wide text of the Win32 API.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace mirudana::win {

// Invalid UTF-8 becomes U+FFFD.
std::wstring widen(std::string_view text);

// Unpaired surrogates become U+FFFD.
std::string narrow(std::wstring_view text);

// The text of a window or control as UTF-8.
std::string windowText(HWND window);

void setWindowText(HWND window, std::string_view text);

}  // namespace mirudana::win
