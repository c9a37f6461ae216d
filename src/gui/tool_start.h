// The tool's start: the reference data first, then the window, shown without
// waiting for it. A loader that misses its file ends the tool before any window.
#pragma once

#include <memory>
#include <string>

#include "app/file_dialogs.h"
#include "gui/frm_print_out.h"
#include "refdata/program_data.h"

namespace mirudana::gui {

struct OpenedTool {
    ProgramData startup;
    std::unique_ptr<frmPrintOut> window;
};

// Runs start-up for the program in `programFolder` and shows the window. When start-up
// says so, calls ui.endTool() at once instead.
std::unique_ptr<OpenedTool> openTool(const std::string& programFolder, UserInterface& ui,
                                     FileDialogs& dialogs);

}  // namespace mirudana::gui
