// Shared set-up of the window tests: a window over a fresh program folder, with its
// dialogs and message boxes answered by test doubles, and ways to reach its controls.
#pragma once

#include <QApplication>
#include <QListWidget>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "gui/frm_print_out.h"
#include "refdata/reference_data.h"
#include "support/fake_user_interface.h"
#include "support/scripted_file_dialogs.h"
#include "support/temp_dir.h"

namespace mirudana::testing {

struct WindowFixture {
    WindowFixture() : window(references, ui, dialogs, dir.path()) {}

    template <typename Control>
    Control* control(const char* name) {
        return window.findChild<Control*>(QString::fromLatin1(name));
    }

    std::vector<std::string> entries() {
        std::vector<std::string> lines;
        auto* list = control<QListWidget>("lstKVS");
        for (int i = 0; i < list->count(); ++i)
            lines.push_back(list->item(i)->text().toStdString());
        return lines;
    }

    TempDir dir;
    ReferenceData references;
    FakeUserInterface ui;
    ScriptedFileDialogs dialogs;
    gui::frmPrintOut window;
};

}  // namespace mirudana::testing

// QCOMPARE for the containers of the core.
namespace QTest {
template <>
inline char* toString(const std::vector<std::string>& lines) {
    QString text;
    for (const std::string& line : lines) text += QString::fromStdString(line) + u'|';
    return qstrdup(text.toUtf8().constData());
}
}  // namespace QTest
