#include "gui/file_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "gui/name_filters.h"

namespace mirudana::gui {
namespace {

// A file whose owner may not write it: the read-only attribute on Windows.
bool isReadOnlyFile(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() && !(info.permissions() & QFileDevice::WriteOwner);
}

// A save dialog that stays open when a read-only file is chosen, before it would
// ask about overwriting it.
class OutputFileDialog : public QFileDialog {
  public:
    using QFileDialog::QFileDialog;

    void accept() override {
        const QStringList files = selectedFiles();
        if (!files.isEmpty() && isReadOnlyFile(files.first())) {
            QMessageBox::warning(this, windowTitle(), readOnlyRefusalText(files.first()));
            return;
        }
        QFileDialog::accept();
    }
};

void prepare(QFileDialog& dialog, const std::string& filter) {
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(qtNameFilters(filter));
}

std::string toUtf8(const QString& text) { return text.toStdString(); }

}  // namespace

std::string commonDialogAnswer(const QStringList& files) {
    if (files.size() == 1) return toUtf8(QDir::toNativeSeparators(files.first()));
    const QDir folder = QFileInfo(files.first()).absoluteDir();
    std::string answer = toUtf8(QDir::toNativeSeparators(folder.absolutePath()));
    for (const QString& file : files) {
        answer += '\0';
        answer += toUtf8(QDir::toNativeSeparators(folder.relativeFilePath(file)));
    }
    return answer;
}

QString readOnlyRefusalText(const QString& path) {
    return QDir::toNativeSeparators(path) +
           QStringLiteral("\nこのファイルは読み取り専用です。\n別のファイル名を指定してください。");
}

std::optional<std::string> QtFileDialogs::openFiles(const std::string& title,
                                                    const std::string& filter, bool several) {
    QFileDialog dialog(parent_, QString::fromStdString(title));
    prepare(dialog, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(several ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return commonDialogAnswer(dialog.selectedFiles());
}

std::optional<std::string> QtFileDialogs::saveFile(const std::string& title,
                                                   const std::string& filter) {
    OutputFileDialog dialog(parent_, QString::fromStdString(title));
    prepare(dialog, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return toUtf8(QDir::toNativeSeparators(dialog.selectedFiles().first()));
}

}  // namespace mirudana::gui
