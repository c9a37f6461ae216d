// The file dialogs on the system's common dialogs.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "app/file_dialogs.h"

namespace mirudana::win {

class WinFileDialogs : public FileDialogs {
  public:
    // Dialogs belong to `owner` once the window exists.
    void setOwner(HWND owner) { owner_ = owner; }

    // A failing dialog throws the failure the common dialog control gave for it.
    std::optional<std::string> openFiles(const std::string& title, const std::string& filter,
                                         bool several) override;
    std::optional<std::string> saveFile(const std::string& title,
                                        const std::string& filter) override;

  private:
    std::optional<std::string> show(bool save, const std::string& title, const std::string& filter,
                                    DWORD flags);

    HWND owner_ = nullptr;
};

// "desc|*.a;*.b|desc2|*.*" as the system's filter: the same parts, each ended by a
// NUL, and one more NUL at the end.
std::wstring systemFilter(const std::string& filter);

// The dialog's answer in the common dialog's form: the system gives the full path
// of one file, or the folder and each chosen name, each part ended by a NUL and the
// list by one more; the parts are joined with NUL between them.
std::string commonDialogAnswer(std::wstring_view buffer);

}  // namespace mirudana::win
