// The program `mirudana`: the window over the core.
#include <QApplication>

#include "gui/file_dialogs.h"
#include "gui/texts.h"
#include "gui/tool_start.h"
#include "gui/user_interface.h"
#include "platform/paths.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    mirudana::gui::installJapaneseQtTexts();
    mirudana::gui::QtUserInterface ui;
    mirudana::gui::QtFileDialogs dialogs;
    auto tool = mirudana::gui::openTool(mirudana::programFolder(), ui, dialogs);
    ui.setParent(tool->window.get());
    dialogs.setParent(tool->window.get());
    return QApplication::exec();
}
