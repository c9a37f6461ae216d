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

namespace mirudana::gui {
namespace {

// The layout is given in twips, 15 to the pixel at 96 dots per inch; Qt scales the
// pixels for other screens.
QRect twips(const TwipsRect& place) {
    return {place.left / kTwipsPerPixel, place.top / kTwipsPerPixel, place.width / kTwipsPerPixel,
            place.height / kTwipsPerPixel};
}

QWidget* newControl(const WindowControl& design, QWidget* list, QWidget* parent) {
    const QString caption = QString::fromUtf8(design.caption);
    switch (design.kind) {
        case ControlKind::Label:
            return new QLabel(caption, parent);
        case ControlKind::ListBox:
            return list;
        case ControlKind::TextBox:
            return new QLineEdit(parent);
        case ControlKind::Button:
            return new QPushButton(caption, parent);
        case ControlKind::CheckBox:
            return new QCheckBox(caption, parent);
    }
    return nullptr;
}

QWidget* newStatusControl(QWidget* control, const char* name, const TwipsRect& place) {
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(twips(place));
    return control;
}

}  // namespace

frmPrintOut::frmPrintOut(const ReferenceData& references, UserInterface& ui, FileDialogs& dialogs,
                         const std::string& programFolder, QWidget* parent)
    : QWidget(parent),
      dialogs_(dialogs),
      lstKVS_(new BattleListBox(this)),
      files_(*lstKVS_),
      model_(references, ui, files_, *this) {
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
    createStatusLine();
    connectControls();
    chainTabOrder();
    Form_Load(programFolder);
}

// One control for each row of the table, in tab order; a label with an access key
// hands the focus to the control after it.
void frmPrintOut::createControls() {
    for (std::size_t i = 0; i < kWindowControls.size(); ++i) {
        const WindowControl& design = kWindowControls[i];
        QWidget* control = newControl(design, lstKVS_, this);
        control->setObjectName(QString::fromLatin1(design.name));
        control->setGeometry(twips(design.place));
        control->setToolTip(QString::fromUtf8(design.tip));
        if (design.glyph != nullptr) {
            auto* button = static_cast<QPushButton*>(control);
            button->setIcon(glyphIcon(*design.glyph));
            button->setIconSize(QSize(design.glyph->width, design.glyph->height));
        }
        controls_[i] = control;
    }
    for (std::size_t i = 0; i + 1 < kWindowControls.size(); ++i) {
        auto* label = qobject_cast<QLabel*>(controls_[i]);
        if (label == nullptr) continue;
        if (label->text().contains('&')) label->setBuddy(controls_[i + 1]);
        // Over the box below it, whose frame reaches a pixel into the label's last
        // row, where the access key's underline is drawn.
        label->raise();
    }
}

// Under the classic layout: what the last run did, its warnings, and its report.
void frmPrintOut::createStatusLine() {
    lblStatus_ =
        static_cast<QLabel*>(newStatusControl(new QLabel(this), "lblStatus", kStatusLinePlace));
    lblWarnings_ = static_cast<QLabel*>(
        newStatusControl(new QLabel(this), "lblWarnings", kScriptWarningsPlace));
    cmdOpenReport_ = static_cast<QPushButton*>(
        newStatusControl(new QPushButton(QString::fromUtf8(kOpenReportCaption), this),
                         "cmdOpenReport", kOpenReportPlace));
    cmdOpenReport_->setToolTip(QString::fromUtf8(kOpenReportTip));
    cmdOpenReport_->hide();
}

void frmPrintOut::connectControls() {
    for (auto [which, slot] : {std::pair{Control::cmdOpenInput, &frmPrintOut::cmdOpenInput_Click},
                               {Control::cmdAddFolder, &frmPrintOut::cmdAddFolder_Click},
                               {Control::cmdFClear, &frmPrintOut::cmdFClear_Click},
                               {Control::cmdOpenEngine, &frmPrintOut::cmdOpenEngine_Click},
                               {Control::cmdOpenOutput, &frmPrintOut::cmdOpenOutput_Click},
                               {Control::cmdStart, &frmPrintOut::cmdStart_Click}}) {
        connect(control<QPushButton>(which), &QPushButton::clicked, this, slot);
    }
    connect(cmdOpenReport_, &QPushButton::clicked, this, &frmPrintOut::cmdOpenReport_Click);
    connect(control<QCheckBox>(Control::chkFollow), &QCheckBox::toggled, this,
            &frmPrintOut::chkFollow_Click);
    connect(lstKVS_, &BattleListBox::pathsDropped, this, &frmPrintOut::lstKVS_OLEDragDrop);
}

void frmPrintOut::chainTabOrder() {
    QWidget* previous = nullptr;
    for (std::size_t i = 0; i < kWindowControls.size(); ++i) {
        if (kWindowControls[i].kind == ControlKind::Label) continue;
        if (previous != nullptr) setTabOrder(previous, controls_[i]);
        previous = controls_[i];
    }
    lstKVS_->setFocus();
}

void frmPrintOut::Form_Load(const std::string& programFolder) {
    lstKVS_->clear();
    const WindowStartTexts start = windowStartTexts(programFolder);
    control<QLineEdit>(Control::txtEngine)->setText(QString::fromStdString(start.scriptPath));
    control<QLineEdit>(Control::txtOutputTo)->setText(QString::fromStdString(start.outputPath));
    control<QLabel>(Control::lblTTSVer)->setText(QString::fromStdString(start.versionCaption));
}

void frmPrintOut::closeEvent(QCloseEvent* event) {
    if (!model_.mayClose()) {
        event->ignore();
        return;
    }
    model_.setFollowing(false);
    event->accept();
}

void frmPrintOut::cmdOpenInput_Click() { model_.addFilesByDialog(dialogs_); }

void frmPrintOut::cmdAddFolder_Click() { model_.addFolderByDialog(dialogs_); }

void frmPrintOut::cmdFClear_Click() { model_.clearFiles(); }

void frmPrintOut::cmdOpenEngine_Click() {
    if (auto path = browseForScript(dialogs_, model_.ui()))
        control<QLineEdit>(Control::txtEngine)->setText(QString::fromStdString(*path));
}

void frmPrintOut::cmdOpenOutput_Click() {
    if (auto path = browseForOutput(dialogs_, model_.ui()))
        control<QLineEdit>(Control::txtOutputTo)->setText(QString::fromStdString(*path));
}

void frmPrintOut::cmdStart_Click() { model_.start(); }

void frmPrintOut::cmdOpenReport_Click() { model_.openReport(); }

void frmPrintOut::chkFollow_Click(bool checked) { model_.setFollowing(checked); }

void frmPrintOut::lstKVS_OLEDragDrop(const QStringList& paths) {
    std::vector<std::string> dropped;
    for (const QString& path : paths) dropped.push_back(path.toStdString());
    model_.addPaths(dropped, "frmPrintout.lstKVS_OLEDragDrop");
}

std::string frmPrintOut::scriptPath() const {
    return control<QLineEdit>(Control::txtEngine)->text().toStdString();
}

std::string frmPrintOut::outputPath() const {
    return control<QLineEdit>(Control::txtOutputTo)->text().toStdString();
}

bool frmPrintOut::sortFirst() const {
    return control<QCheckBox>(Control::chkFileSort)->checkState() == Qt::Checked;
}

// The follow box stays on during a run, so following can be ended while it lasts.
// Turning the focused control off moves the focus on to that box, where Space
// would untick it: the focus goes back where it was once the inputs are on again.
void frmPrintOut::setInputsEnabled(bool enabled) {
    if (!enabled) focusBeforeRun_ = focusWidget();
    for (std::size_t i = 0; i < kWindowControls.size(); ++i) {
        if (kWindowControls[i].kind != ControlKind::Label &&
            static_cast<Control>(i) != Control::chkFollow) {
            controls_[i]->setEnabled(enabled);
        }
    }
    if (enabled && focusBeforeRun_ && focusBeforeRun_->isVisible()) focusBeforeRun_->setFocus();
}

void frmPrintOut::showRunStatus(const RunStatus& status) {
    // Each line shows what fits (the path's end stays in sight) and its tip all of it.
    auto show = [](QLabel* line, const std::string& text, const std::string& tip,
                   Qt::TextElideMode mode) {
        line->setToolTip(QString::fromStdString(tip));
        line->setText(
            line->fontMetrics().elidedText(QString::fromStdString(text), mode, line->width()));
    };
    show(lblStatus_, status.text, status.text,
         status.endsInPath ? Qt::ElideMiddle : Qt::ElideRight);
    show(lblWarnings_, status.warnings, status.warningsTip, Qt::ElideRight);
    cmdOpenReport_->setVisible(!status.reportToOpen.empty());
}

std::unique_ptr<RunObserver> frmPrintOut::runProgress() {
    return std::make_unique<RunProgress>(this, progressDelayMs_);
}

void frmPrintOut::post(std::function<void()> work) {
    QMetaObject::invokeMethod(this, std::move(work), Qt::QueuedConnection);
}

void frmPrintOut::openWithDesktop(const std::string& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

}  // namespace mirudana::gui
