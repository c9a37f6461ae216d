// The tool's start: reference data first, the window only after it.
#include "gui/tool_start.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <filesystem>

#include "app/folders.h"
#include "platform/paths.h"
#include "refdata/loader_messages.h"
#include "support/fake_user_interface.h"
#include "support/scripted_file_dialogs.h"
#include "support/temp_dir.h"

using mirudana::testing::FakeUserInterface;
using mirudana::testing::ScriptedFileDialogs;
using mirudana::testing::TempDir;

class ToolStartTest : public QObject {
    Q_OBJECT

  private slots:
    void missingCardFolderEndsBeforeAnyWindow() {
        TempDir dir;
        dir.makeDir("system/state");
        FakeUserInterface ui;
        ScriptedFileDialogs dialogs;
        QVERIFY_THROWS_EXCEPTION(mirudana::testing::ToolEnded,
                                 mirudana::gui::openTool(dir.path(), ui, dialogs));
        QVERIFY(ui.ended);
        QCOMPARE(ui.warnings, std::vector<std::string>{mirudana::loaderWarning(
                                  mirudana::kCardListsMissingWarning,
                                  mirudana::computeFolders(dir.path()).CardFolder)});
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void completeFolderShowsTheWindow() {
        TempDir dir;
        std::filesystem::copy(MIRUDANA_SAMPLE_DIR "/system", dir.file("system"),
                              std::filesystem::copy_options::recursive);
        FakeUserInterface ui;
        ScriptedFileDialogs dialogs;
        auto tool = mirudana::gui::openTool(dir.path(), ui, dialogs);
        QVERIFY(ui.warnings.empty() && !ui.ended);
        QVERIFY(tool->window->isVisible());
        QVERIFY(!tool->startup.references.CardLists.empty());
        QCOMPARE(tool->window->findChild<QLineEdit*>("txtEngine")->text().toStdString(),
                 mirudana::AddDirSep(dir.path()) + "engine.tts");
    }
};

QTEST_MAIN(ToolStartTest)
#include "tool_start_test.moc"
