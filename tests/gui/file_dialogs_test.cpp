// Qt's own file dialogs behind the window: filters, the common dialog's answer and
// the save dialog's refusal of read-only files.
#include "gui/file_dialogs.h"

#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>

#include "gui/modal_answers.h"
#include "gui/name_filters.h"
#include "support/temp_dir.h"

using mirudana::testing::whenShown;

namespace {

// Types `names` into the dialog's name box in `folder` and presses its accept button.
// Typing, unlike selecting, does not wait for the dialog to read the folder.
void typeAndAccept(QFileDialog* dialog, const std::string& folder, const QString& names) {
    dialog->setDirectory(QString::fromStdString(folder));
    dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(names);
    QMetaObject::invokeMethod(dialog, "accept");
}

}  // namespace

class QtFileDialogsTest : public QObject {
    Q_OBJECT

  private slots:
    void filtersBecomeQtNameFilters_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("one pair") << "ゾルベックOnline バトル情報(*.kvs)|*.kvs"
                                  << QStringList{"ゾルベックOnline バトル情報(*.kvs) (*.kvs)"};
        QTest::newRow("several patterns, every file")
            << "HTMLファイル(*.htm;*.html)|*.htm;*.html|すべてのファイル(*.*)|*.*"
            << QStringList{"HTMLファイル(*.htm;*.html) (*.htm *.html)",
                           "すべてのファイル(*.*) (*)"};
        QTest::newRow("description without pattern") << "a|*.a|b" << QStringList{"a (*.a)"};
    }

    void filtersBecomeQtNameFilters() {
        QFETCH(QString, filter);
        QFETCH(QStringList, expected);
        QCOMPARE(mirudana::gui::qtNameFilters(filter.toStdString()), expected);
    }

    void chosenFilesBecomeTheCommonDialogAnswer() {
        using mirudana::gui::commonDialogAnswer;
        QCOMPARE(commonDialogAnswer({"/b/a.kvs"}), std::string("/b/a.kvs"));
        QCOMPARE(commonDialogAnswer({"/b/a.kvs", "/b/c.kvs"}), std::string("/b\0a.kvs\0c.kvs", 14));
        QCOMPARE(commonDialogAnswer({"/a.kvs", "/b.kvs"}), std::string("/\0a.kvs\0b.kvs", 13));
    }

    void openDialogAnswersSeveralFiles() {
        mirudana::testing::TempDir dir;
        const QString a = QString::fromStdString(dir.write("a.kvs", "x"));
        const QString b = QString::fromStdString(dir.write("b.kvs", "x"));
        QString title;
        whenShown<QFileDialog>([&](QFileDialog* dialog) {
            title = dialog->windowTitle();
            typeAndAccept(dialog, dir.path(), QStringLiteral("\"a.kvs\" \"b.kvs\""));
        });
        mirudana::gui::QtFileDialogs dialogs;
        const auto answer = dialogs.openFiles("戦況を読み込む", "k|*.kvs", true);
        QCOMPARE(title, QStringLiteral("戦況を読み込む"));
        QVERIFY(answer.has_value());
        QCOMPARE(*answer,
                 dir.path() + std::string(1, '\0') + "a.kvs" + std::string(1, '\0') + "b.kvs");
    }

    void saveDialogRefusesReadOnlyFiles() {
        mirudana::testing::TempDir dir;
        const QString locked = QString::fromStdString(dir.write("locked.html", "old"));
        QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ReadUser);
        QString refusal;
        bool stayedOpen = false;
        whenShown<QFileDialog>([&](QFileDialog* dialog) {
            whenShown<QMessageBox>([&](QMessageBox* box) {
                refusal = box->text();
                box->accept();
            });
            typeAndAccept(dialog, dir.path(), QStringLiteral("locked.html"));
            stayedOpen = dialog->isVisible();
            dialog->reject();
        });
        mirudana::gui::QtFileDialogs dialogs;
        const auto answer = dialogs.saveFile("保存先の指定", "HTML|*.htm;*.html");
        QCOMPARE(refusal, mirudana::gui::readOnlyRefusalText(locked));
        QVERIFY(stayedOpen);
        QVERIFY(!answer.has_value());
        QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    void saveDialogAddsNoExtension() {
        mirudana::testing::TempDir dir;
        whenShown<QFileDialog>([&](QFileDialog* dialog) {
            typeAndAccept(dialog, dir.path(), QStringLiteral("report"));
        });
        mirudana::gui::QtFileDialogs dialogs;
        QCOMPARE(dialogs.saveFile("保存先の指定", "HTML|*.htm;*.html"),
                 std::optional<std::string>(dir.file("report")));
    }
};

QTEST_MAIN(QtFileDialogsTest)
#include "file_dialogs_test.moc"
