// What the core needs from a user interface. The window, the command line and the
// tests each implement it, so the core never depends on a toolkit.
#pragma once

#include <string>

namespace mirudana {

// The caption of plain warnings.
inline constexpr const char* kApplicationTitle = "ミルダナ";

class UserInterface {
  public:
    virtual ~UserInterface() = default;

    // A plain warning: exclamation icon, one OK button, kApplicationTitle as caption.
    virtual void showWarning(const std::string& message) = 0;

    // A warning box with the buttons Yes and No, No the default. True when the
    // user answers Yes.
    virtual bool askYesNo(const std::string& message, const std::string& caption) = 0;

    // Empties the clipboard and puts `text` on it as plain text.
    virtual void copyToClipboard(const std::string& text) = 0;

    // Ends the process at once, without the window's unload step.
    // An implementation must not return (a test double throws).
    [[noreturn]] virtual void endTool() = 0;
};

}  // namespace mirudana
