// The battle file list box: one full path per line. Files and folders dropped on it
// from the desktop's file manager are handed on, in the dropped order, to join the list.
#pragma once

#include <QListWidget>

#include "battle/file_list.h"

namespace mirudana::gui {

class BattleListBox : public QListWidget {
    Q_OBJECT

  public:
    explicit BattleListBox(QWidget* parent = nullptr);

  signals:
    void pathsDropped(const QStringList& paths);

  protected:
    // Only data that carries a file list may be dropped; text and the rest are refused.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    // The tip of a line is its whole path, which the line may show shortened.
    bool viewportEvent(QEvent* event) override;
};

// The list box seen through the plain list operations of the run and the sort.
class ListBoxFileList : public BattleFileList {
  public:
    explicit ListBoxFileList(QListWidget& box) : box_(box) {}

    int count() const override;
    std::string entryAt(int index) const override;
    void replaceAt(int index, const std::string& entry) override;
    void removeAt(int index) override;
    void append(const std::string& entry) override;
    void clear() override;

  private:
    QListWidget& box_;
};

}  // namespace mirudana::gui
