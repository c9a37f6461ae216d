// Runs started from the Win32 window: the checks, the pruning, the sort box, the
// report, and the progress dialog's Cancel while the script runs.
#include "battle/kvs_writer.h"
#include "platform/codepage.h"
#include "support/list_masters_script.h"
#include "win/posted_call.h"
#include "win/run_progress.h"
#include "win/window_fixture.h"

using mirudana::Control;
using mirudana::testing::kListMasters;
using mirudana::testing::readBytes;

namespace {

class FrmPrintOutRunTest : public mirudana::testing::WindowTest {
  protected:
    void SetUp() override { setText(Control::txtOutputTo, output); }

    void useScript(const std::string& text) {
        setText(Control::txtEngine, dir.write("script.tts", text));
    }

    std::string battle(const std::string& name, const std::string& server) {
        mirudana::BattleRecord record;
        record.Server.Master.Name = server;
        return dir.write(name, mirudana::kvs::encodeBattleRecord(record));
    }

    const std::string output = dir.file("report.html");
};

TEST_F(FrmPrintOutRunTest, ChecksStopTheRun) {
    struct Row {
        bool script;
        std::vector<std::string> listed;
        std::string warning;
    };
    const Row rows[] = {
        // A missing script's warning goes on with the path it looked for.
        {false, {}, "エンジンが見つかりません。\r\n" + dir.file("engine.tts")},
        {true, {}, "ファイルが登録されていません。"},
        // Every file gone: each is named.
        {true,
         {"gone1.kvs", "gone2.kvs"},
         "有効なファイルがありませんでした。\r\n" + dir.file("gone1.kvs") + "\r\n" +
             dir.file("gone2.kvs")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.warning);
        ui.warnings.clear();
        if (row.script) useScript(kListMasters);
        for (const std::string& name : row.listed) list(dir.file(name));
        click(Control::cmdStart);
        EXPECT_EQ(ui.warnings, std::vector<std::string>{row.warning});
        EXPECT_TRUE(entries().empty());
        EXPECT_TRUE(readBytes(output).empty());
        // The warning said why; the status line has nothing to add.
        EXPECT_EQ(mirudana::win::windowText(window.statusLine()), "");
        EXPECT_FALSE(shown(window.openReportButton()));
    }
}

TEST_F(FrmPrintOutRunTest, RunWritesTheReportOfTheKeptFilesInSortedOrder) {
    useScript(kListMasters);
    const std::string b = battle("x\\b.kvs", "乙");
    const std::string a = battle("z\\a.kvs", "甲");
    for (const std::string& path : {b, dir.file("gone1.kvs"), dir.file("gone2.kvs"), a}) list(path);
    click(Control::cmdStart);
    // The files gone before the run are named once, after it.
    EXPECT_EQ(ui.warnings,
              std::vector<std::string>{"読めなかった戦況ファイル 2 件を飛ばしました。\r\n" +
                                       dir.file("gone1.kvs") + "\r\n" + dir.file("gone2.kvs")});
    EXPECT_EQ(entries(), (std::vector<std::string>{b, a}));
    EXPECT_EQ(readBytes(output), mirudana::utf8ToCp932("乙;甲;\r\n"));

    ui.warnings.clear();
    SendMessageW(control(Control::chkFileSort), BM_CLICK, 0, 0);
    click(Control::cmdStart);
    EXPECT_TRUE(ui.warnings.empty());
    EXPECT_EQ(entries(), (std::vector<std::string>{a, b}));
    EXPECT_EQ(readBytes(output), mirudana::utf8ToCp932("甲;乙;\r\n"));
    EXPECT_TRUE(IsWindowEnabled(control(Control::cmdStart)));

    // The status line says what the run did, and its button opens the report.
    EXPECT_EQ(mirudana::win::windowText(window.statusLine()),
              "戦況 2 件を処理しました。 出力先: " + output);
    EXPECT_EQ(statusShortening(), SS_PATHELLIPSIS);
    ASSERT_TRUE(shown(window.openReportButton()));
    std::string opened;
    window.model().setReportOpener([&opened](const std::string& path) { opened = path; });
    SendMessageW(window.openReportButton(), BM_CLICK, 0, 0);
    EXPECT_EQ(opened, output);
}

// The progress dialog: a visible window that `owner` owns, with a Cancel button.
HWND progressDialog(HWND owner) {
    struct Search {
        HWND owner;
        HWND found = nullptr;
    } search{owner};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND candidate, LPARAM data) -> BOOL {
            auto* wanted = reinterpret_cast<Search*>(data);
            if (GetWindow(candidate, GW_OWNER) == wanted->owner && IsWindowVisible(candidate) &&
                GetDlgItem(candidate, IDCANCEL) != nullptr) {
                wanted->found = candidate;
            }
            return wanted->found == nullptr;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A player who, as soon as the run lets messages through, notes what the window and
// the progress dialog show and presses Cancel.
struct ProgressAnswer {
    explicit ProgressAnswer(const mirudana::win::frmPrintOut& window)
        : call([this, &window] { answer(window); }) {
        call.post();
    }

    void answer(const mirudana::win::frmPrintOut& window) {
        HWND dialog = progressDialog(window.handle());
        if (dialog == nullptr) return;
        inputsDisabled = !IsWindowEnabled(window.control(Control::lstKVS)) &&
                         !IsWindowEnabled(window.control(Control::cmdStart)) &&
                         !IsWindowEnabled(window.control(Control::txtOutputTo));
        windowDisabled = !IsWindowEnabled(window.handle());
        shown = mirudana::win::windowText(GetDlgItem(dialog, mirudana::win::RunProgress::kLabelId));
        SendMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    }

    bool inputsDisabled = false;
    bool windowDisabled = false;
    std::string shown;
    mirudana::testing::PostedCall call;
};

TEST_F(FrmPrintOutRunTest, ProgressDialogCancelStopsTheScript) {
    useScript(kListMasters);
    for (const char* name : {"a.kvs", "b.kvs", "c.kvs"}) list(battle(name, "甲"));
    window.setProgressDelay(0);
    ProgressAnswer player(window);
    click(Control::cmdStart);
    EXPECT_TRUE(player.inputsDisabled);
    EXPECT_TRUE(player.windowDisabled);
    EXPECT_EQ(player.shown, "戦況ファイルを処理しています（1 / 3）");
    EXPECT_EQ(ui.warnings, std::vector<std::string>{"処理を中断しました。"});
    EXPECT_TRUE(readBytes(output).empty());
    EXPECT_EQ(progressDialog(window.handle()), nullptr);
    EXPECT_TRUE(IsWindowEnabled(window.handle()));
    EXPECT_TRUE(IsWindowEnabled(control(Control::lstKVS)));
    EXPECT_EQ(mirudana::win::windowText(window.statusLine()), "処理を中断しました。");
    EXPECT_FALSE(shown(window.openReportButton()));
}

// The follow box: new battles in the list's folder join it and a run starts, on the
// window's thread through its message loop.
TEST_F(FrmPrintOutRunTest, FollowBoxAddsNewBattlesAndRuns) {
    using namespace std::chrono_literals;
    useScript(kListMasters);
    list(battle("game/1.kvs", "一"));
    window.model().setFollowTimes({100ms, 500ms, 3600s, 3600s, true});
    auto statusSays = [this](const std::string& text) {
        const ULONGLONG limit = GetTickCount64() + 10000;
        while (mirudana::win::windowText(window.statusLine()).find(text) == std::string::npos) {
            if (GetTickCount64() > limit) return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        }
        return true;
    };
    click(Control::chkFollow);
    EXPECT_TRUE(statusSays("戦況 1 件"));
    battle("game/2.kvs", "二");
    battle("game/3.kvs", "三");
    EXPECT_TRUE(statusSays("戦況 3 件"));
    EXPECT_EQ(statusShortening(), SS_ENDELLIPSIS);  // no path: the time and count stay
    EXPECT_EQ(entries().size(), 3u);
    EXPECT_EQ(readBytes(output), mirudana::utf8ToCp932("一;二;三;\r\n"));
    EXPECT_TRUE(ui.warnings.empty());
    click(Control::chkFollow);
    EXPECT_FALSE(window.model().following());
}

}  // namespace
