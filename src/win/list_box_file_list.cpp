#include "win/list_box_file_list.h"

#include "platform/failure.h"
#include "win/wide_text.h"

namespace mirudana::win {
namespace {

void checkAdded(LRESULT result) {
    if (result == LB_ERR || result == LB_ERRSPACE) throw Failure(failure::kOutOfMemory);
}

}  // namespace

int ListBoxFileList::count() const {
    return static_cast<int>(SendMessageW(box_, LB_GETCOUNT, 0, 0));
}

std::string ListBoxFileList::entryAt(int index) const {
    checkPosition(index);
    const auto position = static_cast<WPARAM>(index);
    std::wstring text(static_cast<std::size_t>(SendMessageW(box_, LB_GETTEXTLEN, position, 0)) + 1,
                      L'\0');
    const LRESULT length =
        SendMessageW(box_, LB_GETTEXT, position, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return narrow(text);
}

void ListBoxFileList::replaceAt(int index, const std::string& entry) {
    checkPosition(index);
    const std::wstring text = widen(entry);
    SendMessageW(box_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    checkAdded(SendMessageW(box_, LB_INSERTSTRING, static_cast<WPARAM>(index),
                            reinterpret_cast<LPARAM>(text.c_str())));
}

void ListBoxFileList::removeAt(int index) {
    checkPosition(index);
    SendMessageW(box_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void ListBoxFileList::append(const std::string& entry) {
    const std::wstring text = widen(entry);
    checkAdded(SendMessageW(box_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

// Drawn once, when all have joined: a list box that redraws and resets its scroll
// bar at each line keeps the window frozen for minutes over a folder of thousands.
void ListBoxFileList::appendAll(const std::vector<std::string>& entries) {
    struct DrawingPaused {
        HWND box;
        explicit DrawingPaused(HWND list) : box(list) { SendMessageW(box, WM_SETREDRAW, FALSE, 0); }
        ~DrawingPaused() {
            SendMessageW(box, WM_SETREDRAW, TRUE, 0);
            InvalidateRect(box, nullptr, TRUE);
        }
    } paused(box_);
    BattleFileList::appendAll(entries);
}

void ListBoxFileList::clear() { SendMessageW(box_, LB_RESETCONTENT, 0, 0); }

}  // namespace mirudana::win
