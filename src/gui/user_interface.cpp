#include "gui/user_interface.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMessageBox>
#include <cstdlib>

namespace mirudana::gui {
namespace {

// The core ends lines with CR LF; a label wants LF alone.
QString boxText(const std::string& message) {
    return QString::fromStdString(message).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace

void QtUserInterface::showWarning(const std::string& message) {
    QMessageBox box(QMessageBox::Warning, QString::fromUtf8(kApplicationTitle), boxText(message),
                    QMessageBox::Ok, parent_);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool QtUserInterface::askYesNo(const std::string& message, const std::string& caption) {
    QMessageBox box(QMessageBox::Warning, QString::fromStdString(caption), boxText(message),
                    QMessageBox::Yes | QMessageBox::No, parent_);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void QtUserInterface::copyToClipboard(const std::string& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(QString::fromStdString(text));
}

void QtUserInterface::endTool() { std::exit(EXIT_SUCCESS); }

}  // namespace mirudana::gui
