#include "gui/texts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace mirudana::gui {

bool installJapaneseQtTexts() {
    // Installed translators must outlive their use: this one lives with the process.
    static QTranslator qtTexts;
    if (!qtTexts.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                      QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return false;
    }
    return QCoreApplication::installTranslator(&qtTexts);
}

}  // namespace mirudana::gui
