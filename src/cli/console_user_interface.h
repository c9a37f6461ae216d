// The command line's user interface: warnings and error messages go to standard
// error as plain UTF-8 text, questions are answered No, ending the tool exits.
#pragma once

#include <ostream>
#include <string>

#include "app/user_interface.h"
#include "cli/exit_status.h"
#include "cli/progress_line.h"

namespace mirudana::cli {

class ConsoleUserInterface : public UserInterface {
  public:
    // `progress`, when given, is cleared before each message.
    explicit ConsoleUserInterface(std::ostream& err, ProgressLine* progress = nullptr)
        : err_(err), progress_(progress) {}

    void showWarning(const std::string& message) override;
    // Prints the question and answers No, as a user pressing Enter would.
    bool askYesNo(const std::string& message, const std::string& caption) override;
    // Never asked for, since every question is answered No.
    void copyToClipboard(const std::string& text) override;
    [[noreturn]] void endTool() override;

  private:
    void print(const std::string& message);

    std::ostream& err_;
    ProgressLine* progress_;
};

}  // namespace mirudana::cli
