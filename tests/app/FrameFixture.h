#pragma once
// A shown main window over a document host whose messages, file choices and
// dialogs are answered by the test, with the per-user settings kept in the
// test's own folder.

#include "AppTestStudy.h"
#include "app/MainWindow.h"
#include "mapview/DocumentHost.h"
#include "mapview/MapView.h"
#include "support/FakeUi.h"
#include "support/TempDir.h"
#include "support/gui/ScriptedDialogs.h"

#include <QAction>
#include <QSettings>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>

// Readable failures for Qt texts.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace tarvo::test {

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        MakeFrame();
        frame->resize(1000, 700);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    }

    // The window, not shown yet.
    void MakeFrame() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(dir.File("settings")));
        host.setUiServices(&ui);
        host.setDialogService(&dialogs);
        frame = std::make_unique<CMainFrame>(host);
    }
    CTarvoAnalyzerDoc& Doc() { return host.doc(); }
    CTarvoAnalyzerView& View() { return *frame->MapView(); }
    QAction* Act(const char* name) { return frame->Action(QString::fromLatin1(name)); }
    void Trigger(const char* name) {
        QAction* action = Act(name);
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
    }
    // A sample study loaded into the document, as the control panel would.
    void Load(const std::string& scenario, bool process = true) {
        ASSERT_TRUE(LoadSampleStudy(Doc(), scenario, dir.Path() / scenario, process));
        host.notify(kChangeStudy);
    }

    CTempDir dir;
    CFakeUi ui;
    CScriptedDialogs dialogs;
    CDocumentHost host;
    std::unique_ptr<CMainFrame> frame;
};

} // namespace tarvo::test
