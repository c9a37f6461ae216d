// The user interface of the window: message boxes and the clipboard of Windows.
#pragma once

#include <windows.h>

#include "app/user_interface.h"

namespace mirudana::win {

class WinUserInterface : public UserInterface {
  public:
    // Boxes belong to `owner` once the window exists; before, they stand alone.
    void setOwner(HWND owner) { owner_ = owner; }

    void showWarning(const std::string& message) override;
    bool askYesNo(const std::string& message, const std::string& caption) override;
    // Leaves the clipboard as it was when another program holds it open.
    void copyToClipboard(const std::string& text) override;
    // Ends the process with std::exit, so the window's close handling never runs.
    [[noreturn]] void endTool() override;

  private:
    HWND owner_ = nullptr;
};

}  // namespace mirudana::win
