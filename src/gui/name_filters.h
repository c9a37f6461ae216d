// Translation of the common dialog's filter text into Qt's name filters.
#pragma once

#include <QStringList>
#include <string>

namespace mirudana::gui {

// "desc|*.a;*.b|desc2|*.*" becomes {"desc (*.a *.b)", "desc2 (*)"}: one Qt name filter
// per description and pattern pair. "*.*" means every file, as it does on the
// platform's own dialog. A description without a pattern is dropped.
QStringList qtNameFilters(const std::string& filter);

}  // namespace mirudana::gui
