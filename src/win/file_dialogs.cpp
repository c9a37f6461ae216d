#include "win/file_dialogs.h"

#include <cderr.h>
#include <commdlg.h>

#include <vector>

#include "platform/failure.h"
#include "win/wide_text.h"

namespace mirudana::win {
namespace {

// The common dialog control's own failure numbers.
constexpr std::int16_t kBufferTooSmall = 20476;
constexpr std::int16_t kDialogFailure = -32768;

// Room for a selection of many files: the folder once, then each name.
constexpr std::size_t kAnswerRoom = 65536;

}  // namespace

std::wstring systemFilter(const std::string& filter) {
    std::wstring parts = widen(filter);
    for (wchar_t& c : parts) {
        if (c == L'|') c = L'\0';
    }
    parts.push_back(L'\0');
    parts.push_back(L'\0');
    return parts;
}

std::string commonDialogAnswer(std::wstring_view buffer) {
    std::string answer;
    std::size_t begin = 0;
    while (begin < buffer.size() && buffer[begin] != L'\0') {
        std::size_t end = buffer.find(L'\0', begin);
        if (end == std::wstring_view::npos) end = buffer.size();
        if (!answer.empty()) answer += '\0';
        answer += narrow(buffer.substr(begin, end - begin));
        begin = end + 1;
    }
    return answer;
}

std::optional<std::string> WinFileDialogs::show(bool save, const std::string& title,
                                                const std::string& filter, DWORD flags) {
    const std::wstring wideTitle = widen(title);
    const std::wstring wideFilter = systemFilter(filter);
    std::vector<wchar_t> answer(kAnswerRoom, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner_;
    dialog.lpstrFilter = wideFilter.c_str();
    dialog.lpstrFile = answer.data();
    dialog.nMaxFile = static_cast<DWORD>(answer.size());
    dialog.lpstrTitle = wideTitle.c_str();
    dialog.Flags = flags;
    if (save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog)) {
        return commonDialogAnswer({answer.data(), answer.size()});
    }
    switch (CommDlgExtendedError()) {
        case 0:
            return std::nullopt;  // cancelled
        case FNERR_BUFFERTOOSMALL:
            throw Failure(kBufferTooSmall);
        default:
            throw Failure(kDialogFailure);
    }
}

std::optional<std::string> WinFileDialogs::openFiles(const std::string& title,
                                                     const std::string& filter, bool several) {
    return show(false, title, filter,
                OFN_LONGNAMES | OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY |
                    (several ? OFN_ALLOWMULTISELECT : 0));
}

std::optional<std::string> WinFileDialogs::saveFile(const std::string& title,
                                                    const std::string& filter) {
    return show(true, title, filter,
                OFN_LONGNAMES | OFN_EXPLORER | OFN_NOREADONLYRETURN | OFN_HIDEREADONLY |
                    OFN_OVERWRITEPROMPT);
}

}  // namespace mirudana::win
