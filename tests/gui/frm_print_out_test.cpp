// The window's controls, its list and its browse buttons, with dialogs and message
// boxes answered by test doubles.
#include <QCheckBox>
#include <QDropEvent>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QToolTip>
#include <QUrl>

#include "app/error_reporter.h"
#include "gui/gui_fixture.h"
#include "platform/failure.h"
#include "platform/paths.h"

using mirudana::testing::WindowFixture;

class FrmPrintOutTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { fixture_ = std::make_unique<WindowFixture>(); }
    void cleanup() { fixture_.reset(); }

    void controlsStandWhereTheyBelong_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRect>("place");
        QTest::newRow("Label1") << "QLabel"
                                << "戦況ファイル(&S)：" << QRect(8, 8, 104, 17);
        QTest::newRow("lstKVS") << "mirudana::gui::BattleListBox"
                                << "" << QRect(16, 24, 289, 76);
        QTest::newRow("Label2") << "QLabel"
                                << "処理エンジン(&E)：" << QRect(8, 104, 113, 17);
        QTest::newRow("txtEngine") << "QLineEdit"
                                   << "" << QRect(16, 120, 273, 18);
        QTest::newRow("cmdOpenEngine") << "QPushButton"
                                       << "" << QRect(296, 120, 9, 17);
        QTest::newRow("lblEngine") << "QLabel"
                                   << "出力先(&O)：" << QRect(8, 144, 81, 17);
        QTest::newRow("txtOutputTo") << "QLineEdit"
                                     << "" << QRect(16, 160, 273, 18);
        QTest::newRow("cmdOpenOutput") << "QPushButton"
                                       << "" << QRect(296, 160, 9, 17);
        QTest::newRow("cmdOpenInput") << "QPushButton"
                                      << "" << QRect(112, 8, 17, 12);
        QTest::newRow("cmdStart") << "QPushButton"
                                  << "処理開始(&T)" << QRect(200, 184, 105, 25);
        QTest::newRow("Label3") << "QLabel"
                                << "powered by Technology Termial Script for Application."
                                << QRect(8, 216, 304, 17);
        QTest::newRow("lblTTSVer") << "QLabel"
                                   << "TTScript.dll Version1.00.0000" << QRect(120, 232, 185, 17);
        QTest::newRow("chkFileSort") << "QCheckBox"
                                     << "処理前にファイルをソート(&R)" << QRect(8, 188, 186, 17);
        QTest::newRow("cmdFClear") << "QPushButton"
                                   << "x" << QRect(136, 8, 17, 12);
    }

    void controlsStandWhereTheyBelong() {
        QFETCH(QString, kind);
        QFETCH(QString, caption);
        QFETCH(QRect, place);
        auto* control = fixture_->control<QWidget>(QTest::currentDataTag());
        QVERIFY(control != nullptr);
        QCOMPARE(QString::fromLatin1(control->metaObject()->className()), kind);
        QCOMPARE(control->geometry(), place);
        QString shown;
        if (auto* label = qobject_cast<QLabel*>(control)) shown = label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(control)) shown = button->text();
        QCOMPARE(shown, caption);
    }

    void captionsFitTheirControls() {
        for (const char* name :
             {"Label1", "Label2", "lblEngine", "Label3", "lblTTSVer", "chkFileSort"}) {
            auto* control = fixture_->control<QWidget>(name);
            QVERIFY2(control->sizeHint().width() <= control->width(), name);
        }
    }

    void windowOpensReady() {
        auto& window = fixture_->window;
        QCOMPARE(window.windowTitle(), QStringLiteral("ミルダナ"));
        QCOMPARE(window.minimumSize(), QSize(312, 289));
        QCOMPARE(window.maximumSize(), QSize(312, 289));
        QVERIFY(window.windowIcon().availableSizes().contains(QSize(32, 32)));
        QVERIFY(!fixture_->control<QCheckBox>("chkFileSort")->isChecked());
        QVERIFY(fixture_->entries().empty());
        const std::string folder = mirudana::AddDirSep(fixture_->dir.path());
        QCOMPARE(fixture_->control<QLineEdit>("txtEngine")->text().toStdString(),
                 folder + "engine.tts");
        QCOMPARE(fixture_->control<QLineEdit>("txtOutputTo")->text().toStdString(),
                 folder + "出力データ.html");
    }

    void tabAndAccessKeysMoveAsLaidOut() {
        auto& window = fixture_->window;
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("lstKVS"));
        for (const char* next :
             {"txtEngine", "cmdOpenEngine", "txtOutputTo", "cmdOpenOutput", "cmdOpenInput",
              "cmdStart", "chkFileSort", "cmdFClear", "lstKVS"}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), QString::fromLatin1(next));
        }
        const std::pair<Qt::Key, const char*> buddies[] = {
            {Qt::Key_E, "txtEngine"}, {Qt::Key_O, "txtOutputTo"}, {Qt::Key_S, "lstKVS"}};
        for (const auto& [key, buddy] : buddies) {
            QTest::keyClick(&window, key, Qt::AltModifier);
            QCOMPARE(QApplication::focusWidget()->objectName(), QString::fromLatin1(buddy));
        }
        QTest::keyClick(&window, Qt::Key_R, Qt::AltModifier);
        QTRY_VERIFY(fixture_->control<QCheckBox>("chkFileSort")->isChecked());
        QTest::keyClick(&window, Qt::Key_T, Qt::AltModifier);  // starts a run: no script
        // The warning names the script path it looked for.
        QTRY_COMPARE(fixture_->ui.warnings.size(), std::size_t{1});
        QVERIFY(fixture_->ui.warnings[0].starts_with("エンジンが見つかりません。\r\n"));
    }

    void addingByDialog_data() {
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QStringList>("added");
        const QString sep(QChar::fromLatin1(mirudana::kDirSep));
        QTest::newRow("one file") << false << "/b/a.kvs" << QStringList{"/b/a.kvs"};
        QTest::newRow("several") << false << QString("/b") + QChar(0) + "a.kvs" + QChar(0) + "c.kvs"
                                 << QStringList{"/b" + sep + "a.kvs", "/b" + sep + "c.kvs"};
        QTest::newRow("folder ending in a separator")
            << false << sep + QChar(0) + "a.kvs" + QChar(0) + "b.kvs"
            << QStringList{sep + "a.kvs", sep + "b.kvs"};
        QTest::newRow("cancel") << true << "" << QStringList{};
    }

    void addingByDialog() {
        QFETCH(bool, cancel);
        QFETCH(QString, answer);
        QFETCH(QStringList, added);
        auto& fixture = *fixture_;
        fixture.control<QListWidget>("lstKVS")->addItem(QStringLiteral("/b/a.kvs"));
        if (cancel) {
            fixture.dialogs.cancel();
        } else {
            fixture.dialogs.answer(answer.toStdString());
        }
        QTest::mouseClick(fixture.control<QPushButton>("cmdOpenInput"), Qt::LeftButton);

        std::vector<std::string> expected{"/b/a.kvs"};  // a file listed again stays listed twice
        for (const QString& entry : added) expected.push_back(entry.toStdString());
        QCOMPARE(fixture.entries(), expected);
        QVERIFY(fixture.ui.questions.empty() && fixture.ui.warnings.empty());
        QCOMPARE(fixture.dialogs.requests.size(), std::size_t{1});
        const auto& request = fixture.dialogs.requests.front();
        QCOMPARE(request.kind, std::string("open"));
        QCOMPARE(request.title, std::string("戦況を読み込む"));
        QCOMPARE(request.filter, std::string("ゾルベックOnline バトル情報(*.kvs)|*.kvs"));
        QVERIFY(request.several);
    }

    void browsing_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("box");
        QTest::newRow("cmdOpenEngine") << "open"
                                       << "出力エンジンを読み込む"
                                       << "Technology Terminal Script neo(*.tts)|*.tts"
                                       << "txtEngine";
        QTest::newRow("cmdOpenOutput")
            << "save"
            << "保存先の指定"
            << "HTMLファイル(*.htm;*.html)|*.htm;*.html|テキストファイル(*.txt)|*.txt|"
               "すべてのファイル(*.*)|*.*"
            << "txtOutputTo";
    }

    void browsing() {
        QFETCH(QString, kind);
        QFETCH(QString, title);
        QFETCH(QString, filter);
        QFETCH(QString, box);
        auto& fixture = *fixture_;
        auto* button = fixture.control<QPushButton>(QTest::currentDataTag());
        auto* text = fixture.control<QLineEdit>(box.toLatin1().constData());
        const QString before = text->text();

        fixture.dialogs.cancel();
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(text->text(), before);
        QVERIFY(fixture.ui.questions.empty());

        fixture.dialogs.fail(mirudana::failure::kBadFileName);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(text->text(), before);
        QCOMPARE(fixture.ui.questions.size(), std::size_t{1});
        QCOMPARE(fixture.ui.questions[0].message,
                 mirudana::errorMessageText(
                     52, std::string("frmPrintout.") + QTest::currentDataTag() + "_Click"));

        fixture.dialogs.answer("/chosen/name");
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(text->text(), QStringLiteral("/chosen/name"));

        for (const auto& request : fixture.dialogs.requests) {
            QCOMPARE(request.kind, kind.toStdString());
            QCOMPARE(request.title, title.toStdString());
            QCOMPARE(request.filter, filter.toStdString());
            QVERIFY(!request.several);
        }
    }

    void addingFailureIsReported() {
        auto& fixture = *fixture_;
        fixture.dialogs.fail(mirudana::failure::kBadFileName);
        QTest::mouseClick(fixture.control<QPushButton>("cmdOpenInput"), Qt::LeftButton);
        QCOMPARE(fixture.ui.questions.size(), std::size_t{1});
        QCOMPARE(fixture.ui.questions[0].message,
                 mirudana::errorMessageText(52, "frmPrintout.cmdOpenInput_Click"));
        QCOMPARE(fixture.ui.questions[0].caption, std::string("エラー"));
        QVERIFY(fixture.entries().empty());
    }

    void droppingTakesFileListsOnly() {
        auto* viewport = fixture_->control<QListWidget>("lstKVS")->viewport();
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile("/x/b.kvs"), QUrl::fromLocalFile("/x/a.kvs"),
                       QUrl::fromLocalFile("/x/folder")});
        QMimeData text;
        text.setText(QStringLiteral("/x/c.kvs"));

        QCOMPARE(drag(viewport, files), true);
        QCOMPARE(drag(viewport, text), false);
        drop(viewport, files);
        drop(viewport, text);
        QCOMPARE(fixture_->entries(),
                 (std::vector<std::string>{"/x/b.kvs", "/x/a.kvs", "/x/folder"}));
    }

    void aLineTipsItsWholePath() {
        auto* list = fixture_->control<QListWidget>("lstKVS");
        const QString path = QStringLiteral("/battles/") + QString(80, u'x') + ".kvs";
        list->addItem(path);
        const QPoint inLine = list->visualItemRect(list->item(0)).center();
        QHelpEvent help(QEvent::ToolTip, inLine, list->viewport()->mapToGlobal(inLine));
        QApplication::sendEvent(list->viewport(), &help);
        QCOMPARE(QToolTip::text(), path);
        QToolTip::hideText();
    }

    void clearingEmptiesTheList() {
        auto* clear = fixture_->control<QPushButton>("cmdFClear");
        QTest::mouseClick(clear, Qt::LeftButton);
        QVERIFY(fixture_->entries().empty());
        fixture_->control<QListWidget>("lstKVS")->addItems({"/a.kvs", "/b.kvs"});
        QTest::mouseClick(clear, Qt::LeftButton);
        QVERIFY(fixture_->entries().empty());
        QVERIFY(fixture_->ui.warnings.empty() && fixture_->ui.questions.empty());
    }

  private:
    static bool drag(QWidget* target, const QMimeData& data) {
        QDragEnterEvent enter(QPoint(4, 4), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        enter.setAccepted(false);
        QApplication::sendEvent(target, &enter);
        return enter.isAccepted();
    }

    static void drop(QWidget* target, const QMimeData& data) {
        QDropEvent event(QPointF(4, 4), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }

    std::unique_ptr<WindowFixture> fixture_;
};

QTEST_MAIN(FrmPrintOutTest)
#include "frm_print_out_test.moc"
