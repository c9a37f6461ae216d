// The window's own 32 by 32 icon and the glyphs of its captionless buttons, drawn
// in code.
#pragma once

#include <QIcon>

#include "report/main_window.h"

namespace mirudana::gui {

QIcon toolIcon();

// The glyph of a button that has no caption.
QIcon glyphIcon(const Glyph& glyph);

}  // namespace mirudana::gui
