// Qt's own texts (Yes and No, the file dialogs, the overwrite question) in Japanese,
// like every text of the tool, whatever the desktop's language.
#pragma once

namespace mirudana::gui {

// Installs Qt's Japanese translation into the running application. False when Qt's
// translations are not installed; Qt's texts then stay in English.
bool installJapaneseQtTexts();

}  // namespace mirudana::gui
