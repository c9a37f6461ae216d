#include "gui/tool_start.h"

namespace mirudana::gui {

std::unique_ptr<OpenedTool> openTool(const std::string& programFolder, UserInterface& ui,
                                     FileDialogs& dialogs) {
    auto tool = std::make_unique<OpenedTool>();
    tool->startup = loadProgramData(programFolder, ui);
    if (tool->startup.endTool) ui.endTool();
    tool->window =
        std::make_unique<frmPrintOut>(tool->startup.references, ui, dialogs, programFolder);
    tool->window->show();
    return tool;
}

}  // namespace mirudana::gui
