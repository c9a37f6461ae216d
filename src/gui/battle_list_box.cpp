#include "gui/battle_list_box.h"

#include <QDir>
#include <QDropEvent>
#include <QHelpEvent>
#include <QMimeData>
#include <QToolTip>
#include <QUrl>

namespace mirudana::gui {
namespace {

QStringList droppedPaths(const QMimeData* data) {
    QStringList paths;
    if (data == nullptr || !data->hasUrls()) return paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) paths << QDir::toNativeSeparators(url.toLocalFile());
    }
    return paths;
}

void acceptFileList(QDropEvent* event) {
    if (droppedPaths(event->mimeData()).isEmpty()) {
        event->ignore();
    } else {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }
}

}  // namespace

BattleListBox::BattleListBox(QWidget* parent) : QListWidget(parent) {
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Paths from one folder differ only at their end: keep the file name in sight
    // and let the tip show the whole path.
    setTextElideMode(Qt::ElideMiddle);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

bool BattleListBox::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        if (const QListWidgetItem* line = itemAt(help->pos())) {
            QToolTip::showText(help->globalPos(), line->text(), viewport());
            return true;
        }
    }
    return QListWidget::viewportEvent(event);
}

void BattleListBox::dragEnterEvent(QDragEnterEvent* event) { acceptFileList(event); }

void BattleListBox::dragMoveEvent(QDragMoveEvent* event) { acceptFileList(event); }

void BattleListBox::dropEvent(QDropEvent* event) {
    const QStringList paths = droppedPaths(event->mimeData());
    if (paths.isEmpty()) {
        event->ignore();
        return;
    }
    addItems(paths);
    event->acceptProposedAction();
}

int ListBoxFileList::count() const { return box_.count(); }

std::string ListBoxFileList::entryAt(int index) const {
    checkPosition(index);
    return box_.item(index)->text().toStdString();
}

void ListBoxFileList::replaceAt(int index, const std::string& entry) {
    checkPosition(index);
    box_.item(index)->setText(QString::fromStdString(entry));
}

void ListBoxFileList::removeAt(int index) {
    checkPosition(index);
    delete box_.takeItem(index);
}

void ListBoxFileList::append(const std::string& entry) {
    box_.addItem(QString::fromStdString(entry));
}

void ListBoxFileList::clear() { box_.clear(); }

}  // namespace mirudana::gui
