// The program `mirudana`: the window over the core.
#include <QApplication>

#include "app/paths.h"
#include "gui/qt_file_dialogs.h"
#include "gui/qt_texts.h"
#include "gui/qt_user_interface.h"
#include "gui/tool_start.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    mirudana::gui::installJapaneseQtTexts();
    mirudana::gui::QtUserInterface ui;
    mirudana::gui::QtFileDialogs dialogs;
    auto tool = mirudana::gui::startTool(mirudana::programFolder(), ui, dialogs);
    ui.setParent(tool->window.get());
    dialogs.setParent(tool->window.get());
    return QApplication::exec();
}
