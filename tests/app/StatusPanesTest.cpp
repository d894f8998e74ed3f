// The map view's readouts in the main window's status bar end with what
// they describe: the ruler's distance with the ruler, the coverage value
// with the coverage, every readout with the study and with the pointer's
// stay over the map.

#include "FrameFixture.h"

#include "analysis/Coverage.h"
#include "app/StatusPanes.h"
#include "view/HitTest.h"

#include <QLabel>

namespace tarvo {
namespace {

using test::FrameTest;

class StatusPanesTest : public FrameTest {
protected:
    QString Pane(int pane) {
        QLabel* label = frame->StatusPanes()->Pane(pane);
        return label->isHidden() ? QString() : label->text();
    }
    // Another study in place of the open one, as opening a workspace does.
    void Replace(const std::string& scenario) {
        Doc() = CTarvoAnalyzerDoc();
        Load(scenario);
    }
    QPoint Centre() { return QRect(QPoint(0, 0), View().ClientSize()).center(); }
    // A valid AP whose icon the move tool picks up, or -1.
    int MovableAp(QPoint& at) {
        const QSize client = View().ClientSize();
        for (int i = 0; i < Doc().aps.GetSize(); ++i) {
            const CAPInfo& ap = Doc().aps[i];
            at = HitPixel(Doc(), ap.position[1], ap.position[0], client.width(), client.height());
            const CHit hit = HitTestResource(Doc(), at, client.width(), client.height());
            if (ap.valid && ap.filteredSamples.GetSize() >= Doc().MinPointsForEstimate &&
                hit.kind == kHitAp && hit.index == i && QRect(QPoint(), client).contains(at))
                return i;
        }
        return -1;
    }
};

TEST_F(StatusPanesTest, TheRulersDistanceLeavesWithTheRuler) {
    Load("office");
    Trigger("measureDistance");
    const QPoint first = Centre() - QPoint(60, 40), second = Centre() + QPoint(50, 30);
    QTest::mousePress(&View(), Qt::LeftButton, {}, first);
    QTest::mouseMove(&View(), second);
    EXPECT_TRUE(Pane(3).startsWith("d = ")) << Pane(3).toStdString();
    EXPECT_TRUE(Pane(1).startsWith("(X1 = ")) << Pane(1).toStdString();
    QTest::mouseRelease(&View(), Qt::LeftButton, {}, second);
    ASSERT_EQ(dialogs.rulerShown.size(), 1u);

    EXPECT_EQ(Pane(3), QString()) << "the distance ended with the ruler";
    EXPECT_TRUE(Pane(1).startsWith("(X = ")) << Pane(1).toStdString();
    QTest::mouseMove(&View(), Centre());
    EXPECT_EQ(Pane(3), QString());
}

TEST_F(StatusPanesTest, TheCoverageValueLeavesWithTheCoverage) {
    Load("office");
    for (CAPInfo& ap : Doc().aps)
        ap.selected = 1;
    ASSERT_EQ(ProcessCoverage(Doc(), ui), CoverageOutcome::Computed);
    Doc().coverageDisplayType = kDisplayStrengthBands;
    host.notify(kChangeCoverage | kChangeView);

    QPoint ap;
    const int a = MovableAp(ap);
    ASSERT_GE(a, 0);
    QTest::mouseMove(&View(), ap + QPoint(3, 3));
    EXPECT_TRUE(Pane(2).startsWith("Power = ")) << Pane(2).toStdString();

    // Moving an AP discards the coverage; the pointer stays on the map.
    Trigger("moveResource");
    const QPoint to = ap + QPoint(14, -10);
    QTest::mousePress(&View(), Qt::LeftButton, {}, ap);
    QTest::mouseMove(&View(), to);
    QTest::mouseRelease(&View(), Qt::LeftButton, {}, to);
    ASSERT_FALSE(Doc().coveragePresent);
    EXPECT_EQ(Pane(2), QString()) << "no coverage, no value";
    EXPECT_TRUE(Pane(1).startsWith("(X = ")) << Pane(1).toStdString();
}

TEST_F(StatusPanesTest, ANewStudyOrThePointerLeavingClearsTheReadouts) {
    Load("office");
    QTest::mouseMove(&View(), Centre());
    const QString office = Pane(1);
    EXPECT_TRUE(office.startsWith("(X = ")) << office.toStdString();

    // Another study under the resting pointer: its own readout at once.
    Replace("campus");
    EXPECT_FALSE(Pane(1).isEmpty());
    EXPECT_NE(Pane(1), office);
    EXPECT_EQ(Pane(2), QString());
    EXPECT_EQ(Pane(3), QString());

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&View(), &leave);
    EXPECT_EQ(Pane(1), QString());
    EXPECT_EQ(Pane(2), QString());

    // A study replaced while the pointer is elsewhere leaves nothing behind.
    Replace("office");
    for (int pane = 1; pane <= 3; ++pane)
        EXPECT_EQ(Pane(pane), QString()) << pane;
}

} // namespace
} // namespace tarvo
