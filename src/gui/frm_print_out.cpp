#include "gui/frm_print_out.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/error_reporter.h"
#include "app/paths.h"
#include "battle/dialog_result.h"
#include "gui/run_progress.h"
#include "gui/window_icon.h"
#include "report/conversion_run.h"
#include "ttscript/engine.h"

namespace mirudana::gui {
namespace {

// The layout is given in twips, 15 to the pixel at 96 dots per inch; Qt scales the
// pixels for other screens.
QRect twips(int left, int top, int width, int height) {
    return {left / 15, top / 15, width / 15, height / 15};
}

template <typename Control>
Control* place(Control* control, const char* name, const QRect& geometry) {
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(geometry);
    return control;
}

// The engine asked only for the version label; it lives as long as the process.
ttscript::TTSA& versionEngine() {
    static ttscript::TTSA engine;
    return engine;
}

std::string textOf(const QLineEdit* box) { return box->text().toStdString(); }

}  // namespace

frmPrintOut::frmPrintOut(const ReferenceData& references, UserInterface& ui, FileDialogs& dialogs,
                         const std::string& programFolder, QWidget* parent)
    : QWidget(parent),
      references_(references),
      ui_(ui),
      dialogs_(dialogs),
      lstKVS_(new BattleListBox(this)),
      files_(*lstKVS_) {
    setObjectName(QStringLiteral("frmPrintOut"));
    setWindowTitle(QString::fromUtf8(kApplicationTitle));
    setWindowIcon(toolIcon());
    // The layout is fixed in pixels, so the font is too: a Japanese UI font, whose
    // narrow Latin letters let the captions fit their places.
    QFont font = this->font();
    font.setFamilies(
        {QStringLiteral("MS UI Gothic"), QStringLiteral("Noto Sans CJK JP"), font.family()});
    font.setPointSize(9);
    setFont(font);
    setFixedSize(twips(0, 0, 4680, 3765).size());
    createControls();
    chainTabOrder();
    Form_Load(programFolder);
}

// Four places are wider than the classic layout had them, so that their captions
// fit in the Japanese UI fonts: Label1 (with the two small buttons beside it moved
// right by 8 pixels), Label3 and chkFileSort.
void frmPrintOut::createControls() {
    Label1_ = place(new QLabel(QStringLiteral("戦況ファイル(&S)："), this), "Label1",
                    twips(120, 120, 1560, 255));
    place(lstKVS_, "lstKVS", twips(240, 360, 4335, 1140));
    Label2_ = place(new QLabel(QStringLiteral("処理エンジン(&E)："), this), "Label2",
                    twips(120, 1560, 1695, 255));
    txtEngine_ = place(new QLineEdit(this), "txtEngine", twips(240, 1800, 4095, 270));
    cmdOpenEngine_ = place(new QPushButton(this), "cmdOpenEngine", twips(4440, 1800, 135, 255));
    lblEngine_ = place(new QLabel(QStringLiteral("出力先(&O)："), this), "lblEngine",
                       twips(120, 2160, 1215, 255));
    txtOutputTo_ = place(new QLineEdit(this), "txtOutputTo", twips(240, 2400, 4095, 270));
    cmdOpenOutput_ = place(new QPushButton(this), "cmdOpenOutput", twips(4440, 2400, 135, 255));
    cmdOpenInput_ = place(new QPushButton(this), "cmdOpenInput", twips(1680, 120, 255, 180));
    cmdStart_ = place(new QPushButton(QStringLiteral("処理開始(&T)"), this), "cmdStart",
                      twips(3000, 2760, 1575, 375));
    Label3_ = place(
        new QLabel(QStringLiteral("powered by Technology Termial Script for Application."), this),
        "Label3", twips(120, 3240, 4560, 255));
    lblTTSVer_ = place(new QLabel(QStringLiteral("TTScript.dll Version0.00.0000"), this),
                       "lblTTSVer", twips(1800, 3480, 2775, 255));
    chkFileSort_ = place(new QCheckBox(QStringLiteral("処理前にファイルをソート(&R)"), this),
                         "chkFileSort", twips(120, 2820, 2790, 255));
    cmdFClear_ =
        place(new QPushButton(QStringLiteral("x"), this), "cmdFClear", twips(2040, 120, 255, 180));

    Label1_->setBuddy(lstKVS_);
    Label2_->setBuddy(txtEngine_);
    lblEngine_->setBuddy(txtOutputTo_);
    // The small buttons have no caption; a glyph shows they are buttons and a tip
    // says what they do.
    for (QPushButton* browse : {cmdOpenEngine_, cmdOpenOutput_}) {
        browse->setIcon(browseGlyph());
        browse->setIconSize(QSize(3, 11));
    }
    cmdOpenInput_->setIcon(addFilesGlyph());
    cmdOpenInput_->setIconSize(QSize(7, 7));
    cmdOpenEngine_->setToolTip(QStringLiteral("参照…"));
    cmdOpenOutput_->setToolTip(QStringLiteral("参照…"));
    cmdOpenInput_->setToolTip(QStringLiteral("戦況ファイルを追加"));
    cmdFClear_->setToolTip(QStringLiteral("一覧を空にする"));

    connect(cmdOpenInput_, &QPushButton::clicked, this, &frmPrintOut::cmdOpenInput_Click);
    connect(cmdFClear_, &QPushButton::clicked, this, &frmPrintOut::cmdFClear_Click);
    connect(cmdOpenEngine_, &QPushButton::clicked, this, &frmPrintOut::cmdOpenEngine_Click);
    connect(cmdOpenOutput_, &QPushButton::clicked, this, &frmPrintOut::cmdOpenOutput_Click);
    connect(cmdStart_, &QPushButton::clicked, this, &frmPrintOut::cmdStart_Click);
}

std::array<QWidget*, 9> frmPrintOut::inputsInTabOrder() const {
    return {lstKVS_,       txtEngine_, cmdOpenEngine_, txtOutputTo_, cmdOpenOutput_,
            cmdOpenInput_, cmdStart_,  chkFileSort_,   cmdFClear_};
}

void frmPrintOut::chainTabOrder() {
    const auto inputs = inputsInTabOrder();
    for (std::size_t i = 0; i + 1 < inputs.size(); ++i) setTabOrder(inputs[i], inputs[i + 1]);
    lstKVS_->setFocus();
}

void frmPrintOut::Form_Load(const std::string& programFolder) {
    lstKVS_->clear();
    txtEngine_->setText(QString::fromStdString(AddDirSep(programFolder) + kDefaultScriptName));
    txtOutputTo_->setText(QString::fromStdString(AddDirSep(programFolder) + kDefaultReportName));
    lblTTSVer_->setText(QStringLiteral("TTScript.dll Version") +
                        QString::fromStdString(versionEngine().GetInfo("バージョン", "0")));
}

void frmPrintOut::closeEvent(QCloseEvent* event) {
    if (running_) {
        event->ignore();
    } else {
        event->accept();
    }
}

void frmPrintOut::cmdOpenInput_Click() {
    try {
        const std::optional<std::string> answer =
            dialogs_.openFiles("戦況を読み込む", "ゾルベックOnline バトル情報(*.kvs)|*.kvs", true);
        if (answer) appendDialogResult(files_, *answer);
    } catch (...) {
        reportCurrentException(ui_, "frmPrintout.cmdOpenInput_Click");
    }
}

void frmPrintOut::cmdFClear_Click() { lstKVS_->clear(); }

void frmPrintOut::cmdOpenEngine_Click() {
    try {
        const std::optional<std::string> answer = dialogs_.openFiles(
            "出力エンジンを読み込む", "Technology Terminal Script neo(*.tts)|*.tts", false);
        if (answer) txtEngine_->setText(QString::fromStdString(*answer));
    } catch (...) {
        reportCurrentException(ui_, "frmPrintout.cmdOpenEngine_Click");
    }
}

void frmPrintOut::cmdOpenOutput_Click() {
    try {
        const std::optional<std::string> answer = dialogs_.saveFile(
            "保存先の指定",
            "HTMLファイル(*.htm;*.html)|*.htm;*.html|テキストファイル(*.txt)|*.txt|"
            "すべてのファイル(*.*)|*.*");
        if (answer) txtOutputTo_->setText(QString::fromStdString(*answer));
    } catch (...) {
        reportCurrentException(ui_, "frmPrintout.cmdOpenOutput_Click");
    }
}

void frmPrintOut::cmdStart_Click() {
    setInputsEnabled(false);
    running_ = true;
    RunProgress progress(this, progressDelayMs_);
    RunContext context{battle_,  files_, references_, ui_, [this] { return textOf(txtOutputTo_); },
                       &progress};
    try {
        runConversion(context, textOf(txtEngine_), chkFileSort_->checkState() == Qt::Checked);
    } catch (...) {
        // Nothing may escape into Qt's event loop; a fault of the run is shown instead.
        reportCurrentException(ui_, "frmPrintout.cmdStart_Click");
    }
    running_ = false;
    setInputsEnabled(true);
}

void frmPrintOut::setInputsEnabled(bool enabled) {
    for (QWidget* input : inputsInTabOrder()) input->setEnabled(enabled);
}

}  // namespace mirudana::gui
