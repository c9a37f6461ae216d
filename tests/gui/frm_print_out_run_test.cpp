// Runs started from the window: the checks, the pruning, the sort box, the report,
// the target side kept between runs and the progress dialog's Cancel.
#include <QCheckBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>

#include "battle/kvs_writer.h"
#include "gui/gui_fixture.h"
#include "gui/modal_answers.h"
#include "platform/codepage.h"
#include "support/list_masters_script.h"

using mirudana::testing::kListMasters;
using mirudana::testing::readBytes;
using mirudana::testing::WindowFixture;

namespace {

// Takes the URLs the desktop would open.
class UrlCatcher : public QObject {
    Q_OBJECT

  public:
    QUrl opened;

  public slots:
    void open(const QUrl& url) { opened = url; }
};

}  // namespace

class FrmPrintOutRunTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        fixture_ = std::make_unique<WindowFixture>();
        output_ = fixture_->dir.file("report.html");
        fixture_->control<QLineEdit>("txtOutputTo")->setText(QString::fromStdString(output_));
    }
    void cleanup() { fixture_.reset(); }

    void checksStopTheRun_data() {
        QTest::addColumn<bool>("script");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QString>("warning");
        QTest::newRow("no script, empty list")
            << false << QStringList{} << "エンジンが見つかりません。";
        QTest::newRow("empty list") << true << QStringList{} << "ファイルが登録されていません。";
        QTest::newRow("every file gone") << true << QStringList{"gone1.kvs", "gone2.kvs"}
                                         << "有効なファイルがありませんでした。";
    }

    void checksStopTheRun() {
        QFETCH(bool, script);
        QFETCH(QStringList, listed);
        QFETCH(QString, warning);
        if (script) useScript(kListMasters);
        for (const QString& name : listed) list(fixture_->dir.file(name.toStdString()));
        start();
        // A missing script's warning goes on with the path it looked for.
        QCOMPARE(fixture_->ui.warnings.size(), std::size_t{1});
        QVERIFY(fixture_->ui.warnings[0].starts_with(warning.toStdString()));
        QVERIFY(fixture_->entries().empty());
        QVERIFY(readBytes(output_).empty());
    }

    void runWritesTheReportOfTheKeptFiles() {
        useScript(kListMasters);
        const std::string a = battle("a.kvs", "甲");
        const std::string b = battle("b.kvs", "乙");
        for (const std::string& path :
             {b, fixture_->dir.file("gone1.kvs"), fixture_->dir.file("gone2.kvs"), a}) {
            list(path);
        }
        start();
        // The files gone before the run are named once, after it.
        QCOMPARE(fixture_->ui.warnings,
                 std::vector<std::string>{"読めなかった戦況ファイル 2 件を飛ばしました。\r\n" +
                                          fixture_->dir.file("gone1.kvs") + "\r\n" +
                                          fixture_->dir.file("gone2.kvs")});
        QCOMPARE(fixture_->entries(), (std::vector<std::string>{b, a}));
        QCOMPARE(readBytes(output_), mirudana::utf8ToCp932("乙;甲;\r\n"));
        QVERIFY(fixture_->control<QPushButton>("cmdStart")->isEnabled());
        QVERIFY(
            fixture_->control<QLabel>("lblStatus")->toolTip().startsWith(QStringLiteral("戦況 ")));
    }

    // Turning the inputs off moves the focus on to the follow box; the run gives it
    // back, so a key pressed after the run does not untick following.
    void aRunLeavesTheFocusWhereItWas() {
        useScript(kListMasters);
        list(battle("a.kvs", "甲"));
        auto& window = fixture_->window;
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        fixture_->control<QLineEdit>("txtOutputTo")->setFocus();
        QTest::keyClick(&window, Qt::Key_T, Qt::AltModifier);
        QTRY_COMPARE(readBytes(output_), mirudana::utf8ToCp932("甲;\r\n"));
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("txtOutputTo"));
        // The report's button too, hidden while the run lasts.
        auto* open = fixture_->control<QPushButton>("cmdOpenReport");
        open->setFocus();
        window.model().start();
        QCOMPARE(QApplication::focusWidget(), open);
    }

    // The status line after a run, and its button for the report.
    void statusLineSaysWhatTheRunDid() {
        mirudana::RunSummary summary;
        summary.battlesReported = 3;
        summary.skippedFiles = {"x.kvs"};
        summary.scriptWarnings = {"2:1: 不明な項目 [保存デ一タ] (何もしません)",
                                  "3:5: 不明なキー [マスタ名] (\"True\" が返ります)"};
        summary.reportHandedOver = true;
        summary.reportPath = output_;
        auto* status = fixture_->control<QLabel>("lblStatus");
        auto* open = fixture_->control<QPushButton>("cmdOpenReport");
        fixture_->window.showRunStatus(
            *mirudana::runStatus(mirudana::RunResult::Completed, summary));
        QCOMPARE(status->toolTip(),
                 QString::fromStdString("戦況 3 件を処理しました。 飛ばしたファイル 1 件。 "
                                        "スクリプトの警告 2 件。 出力先: " +
                                        output_));
        QVERIFY(status->fontMetrics().horizontalAdvance(status->text()) <= status->width());
        auto* warnings = fixture_->control<QLabel>("lblWarnings");
        QCOMPARE(warnings->toolTip(),
                 QStringLiteral("2:1: 不明な項目 [保存デ一タ] (何もしません)\n"
                                "3:5: 不明なキー [マスタ名] (\"True\" が返ります)"));
        QVERIFY(warnings->text().startsWith(QStringLiteral("2:1: 不明な項目 [保存デ一タ]")));
        QVERIFY(!open->isHidden());
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
        fixture_->window.openWithDesktop(output_);  // what the button ends in
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(catcher.opened, QUrl::fromLocalFile(QString::fromStdString(output_)));

        fixture_->window.showRunStatus(*mirudana::runStatus(mirudana::RunResult::ScriptFailed, {}));
        QCOMPARE(status->toolTip(), QStringLiteral("スクリプトのエラーで止まりました。"));
        QVERIFY(warnings->text().isEmpty());
        QVERIFY(open->isHidden());
    }

    void sortBoxSortsByFileTitleFirst() {
        useScript(kListMasters);
        const std::string b = battle("x/b.kvs", "乙");
        const std::string a = battle("z/a.kvs", "甲");
        list(b);
        list(a);
        fixture_->control<QCheckBox>("chkFileSort")->setChecked(true);
        start();
        QCOMPARE(fixture_->entries(), (std::vector<std::string>{a, b}));
        QCOMPARE(readBytes(output_), mirudana::utf8ToCp932("甲;乙;\r\n"));
    }

    void targetSideHoldsIntoTheNextRun() {
        list(battle("a.kvs", "甲", "乙"));
        useScript("[対象] = \"クライアント\"\n[保存データ] = [マスター名]\n");
        start();
        QCOMPARE(readBytes(output_), mirudana::utf8ToCp932("乙\r\n"));
        useScript("[保存データ] = [マスター名]\n");
        start();
        QCOMPARE(readBytes(output_), mirudana::utf8ToCp932("乙\r\n"));
    }

    void progressDialogCancelStopsTheScript() {
        useScript(kListMasters);
        for (const char* name : {"a.kvs", "b.kvs", "c.kvs"}) list(battle(name, "甲"));
        fixture_->window.setProgressDelay(0);
        bool inputsDisabled = false;
        QString shown;
        mirudana::testing::whenShown<QProgressDialog>([&](QProgressDialog* progress) {
            inputsDisabled = !fixture_->control<QWidget>("lstKVS")->isEnabled() &&
                             !fixture_->control<QWidget>("cmdStart")->isEnabled() &&
                             !fixture_->control<QWidget>("txtOutputTo")->isEnabled();
            shown = progress->labelText();
            progress->cancel();
        });
        start();
        QVERIFY(inputsDisabled);
        QCOMPARE(shown, QStringLiteral("戦況ファイルを処理しています（1 / 3）"));
        QCOMPARE(fixture_->ui.warnings, std::vector<std::string>{"処理を中断しました。"});
        QVERIFY(readBytes(output_).empty());
        QVERIFY(fixture_->control<QWidget>("lstKVS")->isEnabled());
    }

    // The follow box: the list's folder is followed, new battles join and a run
    // starts; unticked, following ends.
    void followBoxAddsNewBattlesAndRuns() {
        using namespace std::chrono_literals;
        useScript(kListMasters);
        list(battle("game/1.kvs", "一"));
        auto& window = fixture_->window;
        window.model().setFollowTimes({100ms, 500ms, 3600s, 3600s, true});
        auto* follow = fixture_->control<QCheckBox>("chkFollow");
        auto* status = fixture_->control<QLabel>("lblStatus");
        follow->click();
        QTRY_VERIFY(status->toolTip().contains(QStringLiteral("戦況 1 件")));
        battle("game/2.kvs", "二");
        battle("game/3.kvs", "三");
        QTRY_VERIFY_WITH_TIMEOUT(status->toolTip().contains(QStringLiteral("戦況 3 件")), 10000);
        QCOMPARE(fixture_->entries().size(), std::size_t{3});
        QCOMPARE(readBytes(output_), mirudana::utf8ToCp932("一;二;三;\r\n"));
        QVERIFY(fixture_->ui.warnings.empty());
        follow->click();
        QVERIFY(!window.model().following());
    }

  private:
    void useScript(const std::string& text) {
        const std::string path = fixture_->dir.write("script.tts", text);
        fixture_->control<QLineEdit>("txtEngine")->setText(QString::fromStdString(path));
    }

    std::string battle(const std::string& name, const std::string& server,
                       const std::string& client = "") {
        mirudana::BattleRecord record;
        record.Server.Master.Name = server;
        record.Client.Master.Name = client;
        return fixture_->dir.write(name, mirudana::kvs::encodeBattleRecord(record));
    }

    void list(const std::string& path) {
        fixture_->control<QListWidget>("lstKVS")->addItem(QString::fromStdString(path));
    }

    void start() { QTest::mouseClick(fixture_->control<QPushButton>("cmdStart"), Qt::LeftButton); }

    std::unique_ptr<WindowFixture> fixture_;
    std::string output_;
};

QTEST_MAIN(FrmPrintOutRunTest)
#include "frm_print_out_run_test.moc"
