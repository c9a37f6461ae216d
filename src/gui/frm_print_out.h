// The tool's only window: the battle file list, the script and output paths, the
// sort box and the start button. It shows and forwards; the run is the core's.
#pragma once

#include <QWidget>
#include <array>
#include <string>

#include "app/file_dialogs.h"
#include "app/user_interface.h"
#include "battle/loaded_battle.h"
#include "gui/battle_list_box.h"
#include "refdata/reference_data.h"
#include "report/conversion_run.h"
#include "report/main_window.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace mirudana::gui {

class frmPrintOut : public QWidget {
    Q_OBJECT

  public:
    frmPrintOut(const ReferenceData& references, UserInterface& ui, FileDialogs& dialogs,
                const std::string& programFolder, QWidget* parent = nullptr);

    // How long a run goes on before its progress dialog appears.
    void setProgressDelay(qint64 milliseconds) { progressDelayMs_ = milliseconds; }

    // Shows what the last run did in the status line under the controls, and offers
    // its report for the desktop's browser when one was written; nothing after a
    // check stopped the run, whose warning said why.
    void showRunSummary(RunResult result, const RunSummary& summary);

  protected:
    // Closing waits while a run is under way: the run's state lives in the window.
    void closeEvent(QCloseEvent* event) override;

  private slots:
    void cmdOpenInput_Click();
    void cmdFClear_Click();
    void cmdOpenEngine_Click();
    void cmdOpenOutput_Click();
    void cmdStart_Click();
    void cmdOpenReport_Click();

  private:
    void createControls();
    // Every control the user can change, in tab order.
    std::array<QWidget*, 9> inputsInTabOrder() const;
    void chainTabOrder();
    void Form_Load(const std::string& programFolder);
    void setInputsEnabled(bool enabled);

    const ReferenceData& references_;
    UserInterface& ui_;
    FileDialogs& dialogs_;
    LoadedBattle battle_;
    bool running_ = false;
    qint64 progressDelayMs_ = kProgressDelayMs;

    QLabel* Label1_ = nullptr;
    BattleListBox* lstKVS_ = nullptr;
    QLabel* Label2_ = nullptr;
    QLineEdit* txtEngine_ = nullptr;
    QPushButton* cmdOpenEngine_ = nullptr;
    QLabel* lblEngine_ = nullptr;
    QLineEdit* txtOutputTo_ = nullptr;
    QPushButton* cmdOpenOutput_ = nullptr;
    QPushButton* cmdOpenInput_ = nullptr;
    QPushButton* cmdStart_ = nullptr;
    QLabel* Label3_ = nullptr;
    QLabel* lblTTSVer_ = nullptr;
    QCheckBox* chkFileSort_ = nullptr;
    QPushButton* cmdFClear_ = nullptr;
    QLabel* lblStatus_ = nullptr;
    QLabel* lblWarnings_ = nullptr;
    QPushButton* cmdOpenReport_ = nullptr;
    std::string reportPath_;
    ListBoxFileList files_;
};

}  // namespace mirudana::gui
