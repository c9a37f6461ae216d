// The program `mirudana` on Windows: the reference data first, then the window,
// over the same core as every other front end.
#include <windows.h>

#include "platform/paths.h"
#include "refdata/program_data.h"
#include "win/file_dialogs.h"
#include "win/frm_print_out.h"
#include "win/user_interface.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    mirudana::win::WinUserInterface ui;
    mirudana::win::WinFileDialogs dialogs;
    const std::string folder = mirudana::programFolder();
    // A loader that misses its file ends the tool before any window.
    const mirudana::ProgramData startup = mirudana::loadProgramData(folder, ui);
    if (startup.endTool) ui.endTool();
    mirudana::win::frmPrintOut window(startup.references, ui, dialogs, folder);
    ui.setOwner(window.handle());
    dialogs.setOwner(window.handle());
    ShowWindow(window.handle(), showCommand);
    window.runUntilClosed();
    return 0;
}
