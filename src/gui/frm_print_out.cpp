#include "gui/frm_print_out.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>

#include "gui/run_progress.h"
#include "gui/window_icon.h"
#include "report/main_window.h"

namespace mirudana::gui {
namespace {

// The layout is given in twips, 15 to the pixel at 96 dots per inch; Qt scales the
// pixels for other screens.
QRect twips(const TwipsRect& place) {
    return {place.left / kTwipsPerPixel, place.top / kTwipsPerPixel, place.width / kTwipsPerPixel,
            place.height / kTwipsPerPixel};
}

template <typename Widget>
Widget* place(Widget* control, Control which) {
    const WindowControl& design = windowControl(which);
    control->setObjectName(QString::fromLatin1(design.name));
    control->setGeometry(twips(design.place));
    control->setToolTip(QString::fromUtf8(design.tip));
    return control;
}

QString captionOf(mirudana::Control which) {
    return QString::fromUtf8(windowControl(which).caption);
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
    setFixedSize(
        twips({0, 0, kWindowWidthTwips, kWindowHeightTwips + kStatusLineHeightTwips}).size());
    createControls();
    chainTabOrder();
    Form_Load(programFolder);
}

void frmPrintOut::createControls() {
    Label1_ = place(new QLabel(captionOf(Control::Label1), this), Control::Label1);
    place(lstKVS_, Control::lstKVS);
    Label2_ = place(new QLabel(captionOf(Control::Label2), this), Control::Label2);
    txtEngine_ = place(new QLineEdit(this), Control::txtEngine);
    cmdOpenEngine_ = place(new QPushButton(this), Control::cmdOpenEngine);
    lblEngine_ = place(new QLabel(captionOf(Control::lblEngine), this), Control::lblEngine);
    txtOutputTo_ = place(new QLineEdit(this), Control::txtOutputTo);
    cmdOpenOutput_ = place(new QPushButton(this), Control::cmdOpenOutput);
    cmdOpenInput_ = place(new QPushButton(this), Control::cmdOpenInput);
    cmdStart_ = place(new QPushButton(captionOf(Control::cmdStart), this), Control::cmdStart);
    Label3_ = place(new QLabel(captionOf(Control::Label3), this), Control::Label3);
    lblTTSVer_ = place(new QLabel(captionOf(Control::lblTTSVer), this), Control::lblTTSVer);
    chkFileSort_ =
        place(new QCheckBox(captionOf(Control::chkFileSort), this), Control::chkFileSort);
    cmdFClear_ = place(new QPushButton(captionOf(Control::cmdFClear), this), Control::cmdFClear);

    lblStatus_ = new QLabel(this);
    lblStatus_->setObjectName(QStringLiteral("lblStatus"));
    lblStatus_->setGeometry(twips(kStatusLinePlace));
    lblWarnings_ = new QLabel(this);
    lblWarnings_->setObjectName(QStringLiteral("lblWarnings"));
    lblWarnings_->setGeometry(twips(kScriptWarningsPlace));
    cmdOpenReport_ = new QPushButton(QString::fromUtf8(kOpenReportCaption), this);
    cmdOpenReport_->setObjectName(QStringLiteral("cmdOpenReport"));
    cmdOpenReport_->setGeometry(twips(kOpenReportPlace));
    cmdOpenReport_->setToolTip(QString::fromUtf8(kOpenReportTip));
    cmdOpenReport_->hide();

    Label1_->setBuddy(lstKVS_);
    Label2_->setBuddy(txtEngine_);
    lblEngine_->setBuddy(txtOutputTo_);
    for (auto [button, which] : {std::pair{cmdOpenEngine_, Control::cmdOpenEngine},
                                 {cmdOpenOutput_, Control::cmdOpenOutput},
                                 {cmdOpenInput_, Control::cmdOpenInput}}) {
        const Glyph& glyph = *windowControl(which).glyph;
        button->setIcon(glyphIcon(glyph));
        button->setIconSize(QSize(glyph.width, glyph.height));
    }

    connect(cmdOpenInput_, &QPushButton::clicked, this, &frmPrintOut::cmdOpenInput_Click);
    connect(cmdFClear_, &QPushButton::clicked, this, &frmPrintOut::cmdFClear_Click);
    connect(cmdOpenEngine_, &QPushButton::clicked, this, &frmPrintOut::cmdOpenEngine_Click);
    connect(cmdOpenOutput_, &QPushButton::clicked, this, &frmPrintOut::cmdOpenOutput_Click);
    connect(cmdStart_, &QPushButton::clicked, this, &frmPrintOut::cmdStart_Click);
    connect(cmdOpenReport_, &QPushButton::clicked, this, &frmPrintOut::cmdOpenReport_Click);
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
    const WindowStartTexts start = windowStartTexts(programFolder);
    txtEngine_->setText(QString::fromStdString(start.scriptPath));
    txtOutputTo_->setText(QString::fromStdString(start.outputPath));
    lblTTSVer_->setText(QString::fromStdString(start.versionCaption));
}

void frmPrintOut::closeEvent(QCloseEvent* event) {
    if (running_) {
        event->ignore();
    } else {
        event->accept();
    }
}

void frmPrintOut::cmdOpenInput_Click() { addBattleFilesByDialog(dialogs_, ui_, files_); }

void frmPrintOut::cmdFClear_Click() { lstKVS_->clear(); }

void frmPrintOut::cmdOpenEngine_Click() {
    if (auto path = browseForScript(dialogs_, ui_))
        txtEngine_->setText(QString::fromStdString(*path));
}

void frmPrintOut::cmdOpenOutput_Click() {
    if (auto path = browseForOutput(dialogs_, ui_)) {
        txtOutputTo_->setText(QString::fromStdString(*path));
    }
}

void frmPrintOut::cmdStart_Click() {
    setInputsEnabled(false);
    running_ = true;
    // The last run's line goes; this run's replaces it when the run is over.
    for (QLabel* line : {lblStatus_, lblWarnings_}) {
        line->clear();
        line->setToolTip(QString());
    }
    cmdOpenReport_->hide();
    RunProgress progress(this, progressDelayMs_);
    RunSummary summary;
    RunContext context{
        battle_,   files_,  references_, ui_, [this] { return textOf(txtOutputTo_); },
        &progress, &summary};
    RunResult result =
        startRun(context, textOf(txtEngine_), chkFileSort_->checkState() == Qt::Checked);
    showRunSummary(result, summary);
    running_ = false;
    setInputsEnabled(true);
}

void frmPrintOut::showRunSummary(RunResult result, const RunSummary& summary) {
    const std::optional<RunStatus> status = runStatus(result, summary);
    if (!status) return;
    // Each line shows what fits (the path's end stays in sight) and its tip all of it.
    auto show = [](QLabel* line, const QString& text, const QString& tip, Qt::TextElideMode mode) {
        line->setToolTip(tip);
        line->setText(line->fontMetrics().elidedText(text, mode, line->width()));
    };
    const QString text = QString::fromStdString(status->text);
    show(lblStatus_, text, text, Qt::ElideMiddle);
    QStringList tip;
    for (const std::string& warning : summary.scriptWarnings)
        tip << QString::fromStdString(warning);
    show(lblWarnings_, QString::fromStdString(status->warnings), tip.join(u'\n'), Qt::ElideRight);
    reportPath_ = status->reportToOpen;
    cmdOpenReport_->setVisible(!reportPath_.empty());
}

void frmPrintOut::cmdOpenReport_Click() {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(reportPath_)));
}

void frmPrintOut::setInputsEnabled(bool enabled) {
    for (QWidget* input : inputsInTabOrder()) input->setEnabled(enabled);
}

}  // namespace mirudana::gui
