// The battle file list box seen through the plain list operations of the run and
// the sort: one full path per line.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "battle/file_list.h"

namespace mirudana::win {

class ListBoxFileList : public BattleFileList {
  public:
    explicit ListBoxFileList(HWND box) : box_(box) {}

    int count() const override;
    std::string entryAt(int index) const override;
    void replaceAt(int index, const std::string& entry) override;
    void removeAt(int index) override;
    // A list box out of memory throws failure 7.
    void append(const std::string& entry) override;
    void appendAll(const std::vector<std::string>& entries) override;
    void clear() override;

  private:
    HWND box_;
};

}  // namespace mirudana::win
