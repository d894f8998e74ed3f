#pragma once
// A control panel over a document host with the recording fakes, and the
// mouse at panel positions: clicks go to whichever child lies there, as a
// user's would.

#include "mapview/DocumentHost.h"
#include "panel/ApTreeCtrl.h"
#include "panel/ControlView.h"
#include "panel/ViewTabCtrl.h"
#include "samples/SampleStudy.h"
#include "support/FakeUi.h"
#include "support/gui/ScriptedDialogs.h"

#include <QTest>

#include <memory>
#include <string>

namespace tarvo::test {

// The sample-study generator lives with the command-line tool for now; this
// is the one place that knows where.
inline bool WriteSampleStudyTo(const std::string& scenario, const std::string& dir) {
    const auto study = GenerateSampleStudy(scenario, 1);
    std::string error;
    return study && WriteSampleStudy(*study, dir, error);
}

// The child of `panel` under panel position `at`, and `at` in its frame.
inline QWidget* ChildAt(QWidget& panel, QPoint at, QPoint& local) {
    QWidget* child = panel.childAt(at);
    if (!child)
        child = &panel;
    local = child->mapFrom(&panel, at);
    return child;
}

inline void ClickAt(QWidget& panel, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    QPoint local;
    QWidget* child = ChildAt(panel, at, local);
    QTest::mouseClick(child, button, {}, local);
}

inline void DoubleClickAt(QWidget& panel, QPoint at) {
    QPoint local;
    QWidget* child = ChildAt(panel, at, local);
    QTest::mouseDClick(child, Qt::LeftButton, {}, local);
}

// Press at `from`, move to `to`, release there: a drag within one control.
inline void DragAt(QWidget& panel, QPoint from, QPoint to) {
    QPoint local;
    QWidget* child = ChildAt(panel, from, local);
    const QPoint delta = to - from;
    QTest::mousePress(child, Qt::LeftButton, {}, local);
    QTest::mouseMove(child, local + delta / 2);
    QTest::mouseMove(child, local + delta);
    QTest::mouseRelease(child, Qt::LeftButton, {}, local + delta);
}

// Clicks the tab of `page`.
inline void ShowPage(CControlView& panel, int page) {
    ClickAt(panel, panel.tabs()->mapTo(&panel, panel.tabs()->tabRect(page).center()));
}

// The centre of a 32 x 32 button at (x, y).
inline QPoint Button(int x, int y) {
    return {x + 16, y + 16};
}

// A tree item's check box, swatch or text in panel coordinates.
inline QPoint TreeZone(QWidget& panel, CApTreeCtrl& tree, QTreeWidgetItem* item,
                       CApTreeCtrl::Zone zone) {
    return tree.viewport()->mapTo(&panel, tree.ZoneRect(item, zone).center());
}

struct CPanelRig {
    explicit CPanelRig(IUiServices* ui = nullptr) {
        host.setUiServices(ui ? ui : &fakeUi);
        host.setDialogService(&dialogs);
        panel = std::make_unique<CControlView>(host);
        panel->resize(230, 720);
        panel->show();
    }
    ~CPanelRig() { host.waitForWorker(); }

    CTarvoAnalyzerDoc& doc() { return host.doc(); }

    CDocumentHost host;
    CFakeUi fakeUi;
    CScriptedDialogs dialogs;
    std::unique_ptr<CControlView> panel;
};

} // namespace tarvo::test
