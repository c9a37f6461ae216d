// The window's own 32 by 32 icon, drawn in code: a battle card turning into a
// report page.
#pragma once

#include <QIcon>

namespace mirudana::gui {

QIcon toolIcon();

}  // namespace mirudana::gui
