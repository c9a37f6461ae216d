// The window's own 32 by 32 icon and the glyphs of its captionless buttons, drawn
// in code.
#pragma once

#include <QIcon>

namespace mirudana::gui {

QIcon toolIcon();

// Glyphs for the buttons that have no caption, so they read as buttons and not as
// blank slivers: three dots for the narrow browse buttons, a plus for adding files.
QIcon browseGlyph();
QIcon addFilesGlyph();

}  // namespace mirudana::gui
