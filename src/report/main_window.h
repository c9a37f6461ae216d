// What the tool's one window is and does, whichever toolkit draws it: its controls
// with their captions, places and tab order, the texts it opens with, its file
// dialogs and the work of its buttons. The Qt and the Win32 window only show this.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>

#include "app/file_dialogs.h"
#include "app/user_interface.h"
#include "battle/file_list.h"
#include "report/conversion_run.h"

namespace mirudana {

// Places are in twips, 15 to the pixel at 96 dots per inch.
inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kWindowWidthTwips = 4680;
inline constexpr int kWindowHeightTwips = 3765;

enum class ControlKind { Label, ListBox, TextBox, Button, CheckBox };

struct TwipsRect {
    int left, top, width, height;
};

// A glyph on a button without a caption, so it reads as a button and not as a
// blank sliver: black rectangles (left, top, width, height) in pixels at 96 dots
// per inch, within a box of `width` by `height`.
struct PixelRect {
    int left, top, width, height;
};

struct Glyph {
    int width, height;
    std::array<PixelRect, 3> parts;
    std::size_t partCount;
};

inline constexpr Glyph kBrowseGlyph{3, 11, {{{0, 1, 2, 2}, {0, 5, 2, 2}, {0, 9, 2, 2}}}, 3};
inline constexpr Glyph kAddFilesGlyph{7, 7, {{{3, 0, 1, 7}, {0, 3, 7, 1}, {}}}, 2};
inline constexpr Glyph kAddFolderGlyph{9, 7, {{{0, 0, 4, 1}, {0, 1, 9, 6}, {}}}, 2};

struct WindowControl {
    const char* name;
    ControlKind kind;
    const char* caption;  // "&" marks the access key
    TwipsRect place;
    const char* tip;     // what the control does where its caption does not say; or empty
    const Glyph* glyph;  // what a captionless button shows; null for the others
};

// The controls, in tab order: the value is the position in kWindowControls.
enum class Control {
    Label1,
    lstKVS,
    Label2,
    txtEngine,
    cmdOpenEngine,
    lblEngine,
    txtOutputTo,
    cmdOpenOutput,
    cmdOpenInput,
    cmdStart,
    Label3,
    lblTTSVer,
    chkFileSort,
    cmdFClear,
    cmdAddFolder,
    chkFollow,
};

// Four places are wider than the classic layout had them, so that their captions
// fit in the Japanese UI fonts: Label1 (with the two small buttons beside it moved
// right by 8 pixels), Label3 and chkFileSort. The last two rows are the tool's own:
// adding a folder's battle files, and following the list's folders, on a line of
// its own above the status line.
inline constexpr std::array<WindowControl, 16> kWindowControls{{
    {"Label1", ControlKind::Label, "戦況ファイル(&S)：", {120, 120, 1560, 255}, "", nullptr},
    {"lstKVS", ControlKind::ListBox, "", {240, 360, 4335, 1140}, "", nullptr},
    {"Label2", ControlKind::Label, "処理エンジン(&E)：", {120, 1560, 1695, 255}, "", nullptr},
    {"txtEngine", ControlKind::TextBox, "", {240, 1800, 4095, 270}, "", nullptr},
    {"cmdOpenEngine", ControlKind::Button, "", {4440, 1800, 135, 255}, "参照…", &kBrowseGlyph},
    {"lblEngine", ControlKind::Label, "出力先(&O)：", {120, 2160, 1215, 255}, "", nullptr},
    {"txtOutputTo", ControlKind::TextBox, "", {240, 2400, 4095, 270}, "", nullptr},
    {"cmdOpenOutput", ControlKind::Button, "", {4440, 2400, 135, 255}, "参照…", &kBrowseGlyph},
    {"cmdOpenInput",
     ControlKind::Button,
     "",
     {1680, 120, 255, 180},
     "戦況ファイルを追加",
     &kAddFilesGlyph},
    {"cmdStart", ControlKind::Button, "処理開始(&T)", {3000, 2760, 1575, 375}, "", nullptr},
    {"Label3",
     ControlKind::Label,
     "powered by Technology Termial Script for Application.",
     {120, 3240, 4560, 255},
     "",
     nullptr},
    {"lblTTSVer",
     ControlKind::Label,
     "TTScript.dll Version0.00.0000",
     {1800, 3480, 2775, 255},
     "",
     nullptr},
    {"chkFileSort",
     ControlKind::CheckBox,
     "処理前にファイルをソート(&R)",
     {120, 2820, 2790, 255},
     "",
     nullptr},
    {"cmdFClear", ControlKind::Button, "x", {2040, 120, 255, 180}, "一覧を空にする", nullptr},
    {"cmdAddFolder",
     ControlKind::Button,
     "",
     {2400, 120, 255, 180},
     "フォルダーの戦況ファイルを追加",
     &kAddFolderGlyph},
    {"chkFollow",
     ControlKind::CheckBox,
     "新しい戦況を自動で追加して処理(&F)",
     {120, 3780, 4455, 255},
     "一覧のファイルがあるフォルダーを見張り、保存された戦況を加えて処理し直します",
     nullptr},
}};

static_assert(kWindowControls.size() == static_cast<std::size_t>(Control::chkFollow) + 1,
              "one row of kWindowControls for each Control");

// Under the classic layout, added on purpose: a passive status line that says what
// the last run did (runSummaryText) with a small button that opens its report, and
// a line below it with the script check's warnings, if any.
inline constexpr int kStatusLineHeightTwips = 840;
inline constexpr TwipsRect kStatusLinePlace{120, 4035, 3720, 255};
inline constexpr TwipsRect kOpenReportPlace{3900, 4020, 675, 270};
inline constexpr TwipsRect kScriptWarningsPlace{120, 4305, 4455, 255};
inline constexpr const char* kOpenReportCaption = "開く";
inline constexpr const char* kOpenReportTip = "レポートをブラウザーで開く";

constexpr const WindowControl& windowControl(Control control) {
    return kWindowControls[static_cast<std::size_t>(control)];
}

// What the load step puts into the window for the program in `programFolder`.
struct WindowStartTexts {
    std::string scriptPath;      // engine.tts in the program folder
    std::string outputPath;      // 出力データ.html in the program folder
    std::string versionCaption;  // the engine's version, for lblTTSVer
};

WindowStartTexts windowStartTexts(const std::string& programFolder);

// cmdOpenInput: asks for battle files and appends them to `files`. Cancelling
// changes nothing; a failing dialog goes to the error reporter.
void addBattleFilesByDialog(FileDialogs& dialogs, UserInterface& ui, BattleFileList& files);

// cmdOpenEngine and cmdOpenOutput: the path chosen for the script or the report.
// Empty when the user cancels or the dialog fails (then the error reporter was shown).
std::optional<std::string> browseForScript(FileDialogs& dialogs, UserInterface& ui);
std::optional<std::string> browseForOutput(FileDialogs& dialogs, UserInterface& ui);

// What the status line says after a run, and the report it offers to open (empty
// when none was written). Nothing after a check stopped the run: its warning said why.
struct RunStatus {
    std::string text;
    // The text ends in the report's path: a line too short for it keeps the path's
    // end (the file name) in sight; other texts keep their start (the time, the count).
    bool endsInPath = false;
    std::string reportToOpen;
    std::string warnings;     // the script check's warnings for the line below, "、"-joined
    std::string warningsTip;  // ... and for its tip, one a line
};

std::optional<RunStatus> runStatus(RunResult result, const RunSummary& summary);

// The progress dialog of a long run: it appears at the first progress report after
// this long, shows this label and offers this button to stop the script.
inline constexpr int kProgressDelayMs = 1000;
inline constexpr const char* kProgressCancelCaption = "中止";
std::string progressText(int done, int total);

}  // namespace mirudana
