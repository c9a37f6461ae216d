// The message boxes and the clipboard of the window's user interface, on real boxes.
#include "gui/user_interface.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "app/error_reporter.h"
#include "gui/modal_answers.h"
#include "gui/texts.h"

using mirudana::testing::whenShown;

class QtUserInterfaceTest : public QObject {
    Q_OBJECT

  private slots:
    void warningIsAnExclamationWithOk() {
        QString caption;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        whenShown<QMessageBox>([&](QMessageBox* box) {
            caption = box->windowTitle();
            text = box->text();
            icon = box->icon();
            buttons = box->standardButtons();
            QTest::keyClick(box, Qt::Key_Return);
        });
        mirudana::gui::QtUserInterface ui;
        ui.showWarning("ファイルが登録されていません。");
        QCOMPARE(caption, QStringLiteral("ミルダナ"));
        QCOMPARE(text, QStringLiteral("ファイルが登録されていません。"));
        QCOMPARE(icon, QMessageBox::Warning);
        QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }

    void qtsOwnTextsAreJapaneseWhateverTheLocale() {
        QCOMPARE(QLocale().language(), QLocale::C);  // the test runs with LANG=C.UTF-8
        QVERIFY(mirudana::gui::installJapaneseQtTexts());
        QMessageBox box(QMessageBox::Question, QString(), QString(),
                        QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box.button(QMessageBox::No)->text(), QStringLiteral("いいえ(&N)"));
    }

    void errorBoxAnswers_data() {
        QTest::addColumn<int>("key");  // 0: click Yes
        QTest::addColumn<bool>("copied");
        QTest::newRow("Enter answers No") << int(Qt::Key_Return) << false;
        QTest::newRow("Escape answers No") << int(Qt::Key_Escape) << false;
        QTest::newRow("Yes copies the details") << 0 << true;
    }

    void errorBoxAnswers() {
        QFETCH(int, key);
        QFETCH(bool, copied);
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        QString caption;
        QString text;
        QMessageBox::StandardButtons buttons;
        QAbstractButton* defaultButton = nullptr;
        QAbstractButton* noButton = nullptr;
        whenShown<QMessageBox>([&](QMessageBox* box) {
            caption = box->windowTitle();
            text = box->text();
            buttons = box->standardButtons();
            defaultButton = box->defaultButton();
            noButton = box->button(QMessageBox::No);
            if (key == 0) {
                box->button(QMessageBox::Yes)->click();
            } else {
                QTest::keyClick(box, Qt::Key(key));
            }
        });
        mirudana::gui::QtUserInterface ui;
        mirudana::ReportError(ui, 53, "CardList.LoadCardlist");

        QCOMPARE(caption, QStringLiteral("エラー"));
        QCOMPARE(text,
                 QString::fromStdString(mirudana::errorMessageText(53, "CardList.LoadCardlist"))
                     .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        QCOMPARE(buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(defaultButton, noButton);
        const QString expected =
            copied ? QString::fromStdString(mirudana::errorDetailText(53, "CardList.LoadCardlist"))
                   : QStringLiteral("before");
        QCOMPARE(QGuiApplication::clipboard()->text(), expected);
    }
};

QTEST_MAIN(QtUserInterfaceTest)
#include "user_interface_test.moc"
