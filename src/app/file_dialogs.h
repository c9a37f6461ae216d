// The file dialogs a window asks for, behind an interface so each toolkit shows its
// own and tests can answer them without a real modal dialog.
#pragma once

#include <optional>
#include <string>

namespace mirudana {

class FileDialogs {
  public:
    virtual ~FileDialogs() = default;

    // The open dialog: only existing files can be chosen, several at once when
    // `several`. `filter` is in the "description|pattern|description|pattern" form.
    // The answer is in the common dialog's form: the full path of one file, or the
    // folder followed by each chosen name, NUL characters between the parts.
    // Empty when the user cancels; throws mirudana::Failure when the dialog fails.
    virtual std::optional<std::string> openFiles(const std::string& title,
                                                 const std::string& filter, bool several) = 0;

    // The save dialog: asks before an existing file is overwritten, refuses a
    // read-only file and adds no extension. Empty when the user cancels; throws
    // mirudana::Failure when the dialog fails.
    virtual std::optional<std::string> saveFile(const std::string& title,
                                                const std::string& filter) = 0;

    // The folder dialog: an existing folder, its full path. Empty when the user
    // cancels; throws mirudana::Failure when the dialog fails.
    virtual std::optional<std::string> chooseFolder(const std::string& title) = 0;
};

}  // namespace mirudana
