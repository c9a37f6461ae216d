#include "gui/run_progress.h"

#include <QCoreApplication>
#include <QProgressDialog>

#include "app/user_interface.h"

namespace mirudana::gui {

RunProgress::RunProgress(QWidget* parent, qint64 delayMs) : parent_(parent), delayMs_(delayMs) {
    clock_.start();
}

RunProgress::~RunProgress() = default;

bool RunProgress::onProgress(int done, int total) {
    if (!dialog_) {
        if (clock_.elapsed() < delayMs_) return true;
        dialog_ = std::make_unique<QProgressDialog>(parent_);
        dialog_->setWindowTitle(QString::fromUtf8(kApplicationTitle));
        dialog_->setCancelButtonText(QString::fromUtf8(kProgressCancelCaption));
        dialog_->setWindowModality(Qt::WindowModal);
        dialog_->setAutoClose(false);
        dialog_->setAutoReset(false);
        dialog_->setMinimumDuration(0);
        dialog_->show();
    }
    dialog_->setMaximum(total);
    dialog_->setValue(done);
    dialog_->setLabelText(QString::fromStdString(progressText(done, total)));
    QCoreApplication::processEvents();
    return !dialog_->wasCanceled();
}

void RunProgress::onScriptEnded() { dialog_.reset(); }

}  // namespace mirudana::gui
