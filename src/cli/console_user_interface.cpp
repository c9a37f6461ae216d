#include "cli/console_user_interface.h"

#include <cstdlib>
#include <iostream>

namespace mirudana::cli {

void ConsoleUserInterface::print(const std::string& message) {
    if (progress_ != nullptr) progress_->clear();
    // Message boxes break lines with CR LF; a terminal wants LF.
    std::string text;
    text.reserve(message.size() + 1);
    for (std::size_t i = 0; i < message.size(); ++i) {
        if (message[i] == '\r' && i + 1 < message.size() && message[i + 1] == '\n') continue;
        text += message[i];
    }
    err_ << text << '\n' << std::flush;
}

void ConsoleUserInterface::showWarning(const std::string& message) { print(message); }

bool ConsoleUserInterface::askYesNo(const std::string& message, const std::string& caption) {
    print(caption + ": " + message);
    return false;
}

void ConsoleUserInterface::copyToClipboard(const std::string& /*text*/) {}

void ConsoleUserInterface::endTool() {
    err_.flush();
    std::cout.flush();
    std::exit(kExitStopped);
}

}  // namespace mirudana::cli
