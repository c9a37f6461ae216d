// The user interface of the window: Qt message boxes and the system clipboard.
#pragma once

#include "app/user_interface.h"

class QWidget;

namespace mirudana::gui {

class QtUserInterface : public UserInterface {
  public:
    // Boxes are centred on `parent` once the window exists; before, they stand alone.
    void setParent(QWidget* parent) { parent_ = parent; }

    void showWarning(const std::string& message) override;
    bool askYesNo(const std::string& message, const std::string& caption) override;
    void copyToClipboard(const std::string& text) override;
    // Ends the process with std::exit, so the window's close handling never runs.
    [[noreturn]] void endTool() override;

  private:
    QWidget* parent_ = nullptr;
};

}  // namespace mirudana::gui
