// The program `mirudana`: the window over the core.
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "app/paths.h"
#include "gui/qt_file_dialogs.h"
#include "gui/qt_user_interface.h"
#include "gui/tool_start.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // Qt's own texts (the Yes and No buttons, the file dialogs and their overwrite
    // question) in the desktop's language, when Qt's translations are installed.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTexts);
    }
    mirudana::gui::QtUserInterface ui;
    mirudana::gui::QtFileDialogs dialogs;
    auto tool = mirudana::gui::startTool(mirudana::programFolder(), ui, dialogs);
    ui.setParent(tool->window.get());
    dialogs.setParent(tool->window.get());
    return QApplication::exec();
}
