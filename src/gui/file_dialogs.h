// The file dialogs on Qt's own dialog widget, the same on every platform, so the
// save dialog can refuse read-only files and tests can drive it.
#pragma once

#include <QStringList>

#include "app/file_dialogs.h"

class QWidget;

namespace mirudana::gui {

class QtFileDialogs : public FileDialogs {
  public:
    explicit QtFileDialogs(QWidget* parent = nullptr) : parent_(parent) {}

    void setParent(QWidget* parent) { parent_ = parent; }

    std::optional<std::string> openFiles(const std::string& title, const std::string& filter,
                                         bool several) override;
    std::optional<std::string> saveFile(const std::string& title,
                                        const std::string& filter) override;

  private:
    QWidget* parent_;
};

// The common dialog's answer for the chosen files: the one full path, or the folder
// of the first file and each file relative to it, NUL characters between the parts.
std::string commonDialogAnswer(const QStringList& files);

// The warning shown when a read-only file is chosen as the output.
QString readOnlyRefusalText(const QString& path);

}  // namespace mirudana::gui
