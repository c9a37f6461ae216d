#include "win/dpi.h"

namespace mirudana::win {

RECT pixelRect(const TwipsRect& place, UINT dpi) {
    const int left = scaled(place.left / kTwipsPerPixel, dpi);
    const int top = scaled(place.top / kTwipsPerPixel, dpi);
    return {left, top, left + scaled(place.width / kTwipsPerPixel, dpi),
            top + scaled(place.height / kTwipsPerPixel, dpi)};
}

void setClientSize(HWND window, int width, int height, POINT position, UINT dpi) {
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    RECT frame{0, 0, width, height};
    AdjustWindowRectExForDpi(&frame, style, FALSE, exStyle, dpi);
    SetWindowPos(window, nullptr, position.x, position.y, frame.right - frame.left,
                 frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // Where the frame the system draws differs from the one it reported for this
    // DPI, make up the difference so the layout keeps its room.
    RECT client;
    GetClientRect(window, &client);
    const int missingWidth = width - client.right;
    const int missingHeight = height - client.bottom;
    if (missingWidth != 0 || missingHeight != 0) {
        SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left + missingWidth,
                     frame.bottom - frame.top + missingHeight,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    }
}

MessageFont::MessageFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
        font_ = CreateFontIndirectW(&metrics.lfMessageFont);
    } else {
        font_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }
}

MessageFont::~MessageFont() { DeleteObject(font_); }

}  // namespace mirudana::win
