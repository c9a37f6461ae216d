// The tool's only window: the battle file list, the script and output paths, the
// sort and follow boxes and the start button. It shows and forwards; what the
// controls are and what they do is decided below it (report/window_model.h).
#pragma once

#include <QPointer>
#include <QWidget>
#include <array>
#include <string>

#include "app/file_dialogs.h"
#include "app/user_interface.h"
#include "gui/battle_list_box.h"
#include "refdata/reference_data.h"
#include "report/main_window.h"
#include "report/window_model.h"

class QLabel;
class QPushButton;

namespace mirudana::gui {

class frmPrintOut : public QWidget, public WindowView {
    Q_OBJECT

  public:
    frmPrintOut(const ReferenceData& references, UserInterface& ui, FileDialogs& dialogs,
                const std::string& programFolder, QWidget* parent = nullptr);

    // How long a run goes on before its progress dialog appears.
    void setProgressDelay(qint64 milliseconds) { progressDelayMs_ = milliseconds; }
    WindowModel& model() { return model_; }

    std::string scriptPath() const override;
    std::string outputPath() const override;
    bool sortFirst() const override;
    void setInputsEnabled(bool enabled) override;
    void showRunStatus(const RunStatus& status) override;
    std::unique_ptr<RunObserver> runProgress() override;
    void post(std::function<void()> work) override;
    void openWithDesktop(const std::string& path) override;

  protected:
    // Closing waits while a run is under way, and ends following.
    void closeEvent(QCloseEvent* event) override;

  private slots:
    void cmdOpenInput_Click();
    void cmdAddFolder_Click();
    void cmdFClear_Click();
    void cmdOpenEngine_Click();
    void cmdOpenOutput_Click();
    void cmdStart_Click();
    void cmdOpenReport_Click();
    void chkFollow_Click(bool checked);
    void lstKVS_OLEDragDrop(const QStringList& paths);

  private:
    template <typename Widget>
    Widget* control(Control which) const {
        return static_cast<Widget*>(controls_[static_cast<std::size_t>(which)]);
    }
    void createControls();
    void createStatusLine();
    void connectControls();
    void chainTabOrder();
    void Form_Load(const std::string& programFolder);

    FileDialogs& dialogs_;
    qint64 progressDelayMs_ = kProgressDelayMs;
    std::array<QWidget*, kWindowControls.size()> controls_{};
    BattleListBox* lstKVS_ = nullptr;
    QLabel* lblStatus_ = nullptr;
    QLabel* lblWarnings_ = nullptr;
    QPushButton* cmdOpenReport_ = nullptr;
    QPointer<QWidget> focusBeforeRun_;
    ListBoxFileList files_;
    WindowModel model_;
};

}  // namespace mirudana::gui
