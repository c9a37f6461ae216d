// What the window decides, once for both windows: the run's workflow and state,
// files and folders joining the list, closing, and following the list's folders,
// through a view that records what it was told.
#include "report/window_model.h"

#include <condition_variable>
#include <deque>
#include <mutex>

#include "platform/failure.h"
#include "report_fixture.h"
#include "support/file_list_entries.h"
#include "support/list_masters_script.h"

namespace mirudana::testing {
namespace {

using namespace std::chrono_literals;

class RecordingView : public WindowView, public RunObserver {
  public:
    std::string scriptPath() const override { return script; }
    std::string outputPath() const override { return output; }
    bool sortFirst() const override { return false; }
    void setInputsEnabled(bool enabled) override { inputsEnabled = enabled; }
    void showRunStatus(const RunStatus& status) override { statuses.push_back(status); }
    std::unique_ptr<RunObserver> runProgress() override {
        struct Forward : RunObserver {
            RecordingView& view;
            explicit Forward(RecordingView& v) : view(v) {}
            bool onProgress(int done, int total) override { return view.onProgress(done, total); }
        };
        return std::make_unique<Forward>(*this);
    }
    bool onProgress(int, int) override {
        if (model != nullptr)
            seenRunning = model->running() && !model->mayClose() && !inputsEnabled;
        return true;
    }
    void post(std::function<void()> work) override {
        std::lock_guard lock(mutex);
        posted.push_back(std::move(work));
        arrived.notify_all();
    }
    void openWithDesktop(const std::string& path) override { opened = path; }

    // Does the posted work, as the window's event loop would, until `done` holds.
    bool runPostedUntil(const std::function<bool()>& done) {
        const auto limit = std::chrono::steady_clock::now() + 10s;
        while (!done()) {
            std::unique_lock lock(mutex);
            if (!arrived.wait_until(lock, limit, [this] { return !posted.empty(); })) return false;
            std::function<void()> work = std::move(posted.front());
            posted.pop_front();
            lock.unlock();
            work();
        }
        return true;
    }

    std::string script, output, opened;
    bool inputsEnabled = true;
    bool seenRunning = false;
    std::vector<RunStatus> statuses;
    WindowModel* model = nullptr;
    std::mutex mutex;
    std::condition_variable arrived;
    std::deque<std::function<void()>> posted;
};

class WindowModelTest : public ReportTest {
  protected:
    WindowModelTest() {
        view.script = folder.script("list.tts", kListMasters);
        view.output = output;
        view.model = &model;
        model.setFollowTimes({100ms, 500ms, 3600s, 3600s, true});
    }

    RecordingView view;
    WindowModel model{references, ui, files, view};
};

TEST_F(WindowModelTest, ARunTurnsTheInputsOffAndSaysWhatItDid) {
    files = VectorFileList({folder.battle("a.kvs", namedBattle("A"))});
    model.start();
    EXPECT_TRUE(view.seenRunning);
    EXPECT_TRUE(view.inputsEnabled && model.mayClose());
    ASSERT_EQ(view.statuses.size(), 2u);  // cleared, then this run's
    EXPECT_EQ(view.statuses[0].text, "");
    EXPECT_EQ(view.statuses[1].text, "戦況 1 件を処理しました。 出力先: " + output);
    EXPECT_EQ(view.statuses[1].reportToOpen, output);
    EXPECT_TRUE(view.statuses[1].endsInPath);
    model.openReport();
    EXPECT_EQ(view.opened, output);
    EXPECT_EQ(report(), "A;");
    // A check that stops the run says so in a warning box and leaves the line empty.
    view.script.clear();
    model.start();
    EXPECT_EQ(ui.warnings, std::vector<std::string>{"エンジンが見つかりません。"});
    EXPECT_EQ(view.statuses.back().text, "");
}

TEST_F(WindowModelTest, FoldersGiveTheirBattleFilesInNameOrder) {
    const std::string b = folder.battle("in/b.kvs", namedBattle("B"));
    const std::string a = folder.battle("in/a.KVS", namedBattle("A"));
    folder.dir.write("in/note.txt", "x");
    const std::string loose = folder.dir.file("loose.kvs");
    const std::string in = pathText(nativePath(a).parent_path());
    model.addPaths({loose, in}, "test");
    std::vector<std::filesystem::path> listed;  // compared as paths: "/" or "\\" alike
    for (const std::string& entry : entriesOf(files)) listed.push_back(nativePath(entry));
    EXPECT_EQ(listed, (std::vector{nativePath(loose), nativePath(a), nativePath(b)}));
}

// A list that refuses more: what joined stays, and the error reporter says why.
TEST_F(WindowModelTest, AListOutOfRoomIsReported) {
    struct FullList : VectorFileList {
        void append(const std::string& entry) override {
            if (count() == 1) throw Failure(failure::kOutOfMemory);
            VectorFileList::append(entry);
        }
    } full;
    WindowModel small(references, ui, full, view);
    small.addPaths({"a.kvs", "b.kvs"}, "frmPrintout.lstKVS_OLEDragDrop");
    EXPECT_EQ(entriesOf(full), std::vector<std::string>{"a.kvs"});
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_NE(ui.questions[0].message.find("frmPrintout.lstKVS_OLEDragDrop"), std::string::npos);
}

TEST_F(WindowModelTest, FollowingAddsNewBattlesAndRunsAgain) {
    files = VectorFileList({folder.battle("game/1.kvs", namedBattle("一"))});
    model.setFollowing(true);
    ASSERT_TRUE(view.runPostedUntil([&] { return view.statuses.size() >= 2; }));
    EXPECT_EQ(report(), "一;");
    const std::string second = folder.battle("game/2.kvs", namedBattle("二"));
    ASSERT_TRUE(view.runPostedUntil([&] { return files.count() == 2 && !model.running(); }));
    EXPECT_EQ(nativePath(entriesOf(files).back()), nativePath(second));
    EXPECT_EQ(report(), "一;二;");
    EXPECT_NE(view.statuses.back().text.find(" 更新  戦況 2 件を処理しました。"),
              std::string::npos);
    EXPECT_FALSE(view.statuses.back().endsInPath);
    // A report that could not be written was not updated.
    view.output = folder.dir.file("missing/report.txt");
    folder.battle("game/3.kvs", namedBattle("三"));
    ASSERT_TRUE(view.runPostedUntil([&] { return files.count() == 3 && !model.running(); }));
    const std::string unwritten = view.statuses.back().text;
    EXPECT_EQ(unwritten.find("更新"), std::string::npos);
    EXPECT_NE(unwritten.find("  戦況 3 件を処理しました。 レポートは書き込まれていません。"),
              std::string::npos);
    // While following, a check's warning goes to the status line, not to a box.
    view.script = folder.dir.file("gone.tts");
    folder.battle("game/4.kvs", namedBattle("四"));
    ASSERT_TRUE(view.runPostedUntil([&] { return files.count() == 4 && !model.running(); }));
    EXPECT_TRUE(ui.warnings.empty());
    EXPECT_EQ(view.statuses.back().text, "エンジンが見つかりません。 " + view.script);
    model.setFollowing(false);
    EXPECT_FALSE(model.following());
}

}  // namespace
}  // namespace mirudana::testing
