// Sizes for the monitor a window is on. Layouts are designed at 96 dots per inch
// and scaled to the window's own; the font is the system's message font.
#pragma once

#include <windows.h>

#include "report/main_window.h"

namespace mirudana::win {

inline constexpr UINT kDesignDpi = 96;

inline int scaled(int designPixels, UINT dpi) {
    return MulDiv(designPixels, static_cast<int>(dpi), kDesignDpi);
}

// A place in twips, in pixels at `dpi`.
RECT pixelRect(const TwipsRect& place, UINT dpi);

// Gives `window` a client area of `width` by `height` pixels, its top left corner
// at `position` (screen coordinates of the whole window).
void setClientSize(HWND window, int width, int height, POINT position, UINT dpi);

// The system's message font for `dpi`, as the desktop's settings give it.
class MessageFont {
  public:
    explicit MessageFont(UINT dpi);
    ~MessageFont();
    MessageFont(const MessageFont&) = delete;
    MessageFont& operator=(const MessageFont&) = delete;

    HFONT handle() const { return font_; }

  private:
    HFONT font_;
};

}  // namespace mirudana::win
