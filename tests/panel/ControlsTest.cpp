// The custom controls on their own: where a press counts, what a drag does
// and when each one reports.

#include "panel/RangeControl.h"
#include "panel/ResolutionControl.h"
#include "panel/SliderCtrlDiamond.h"
#include "panel/ViewTabCtrl.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace tarvo {
namespace {

TEST(RangeControl, ThumbsAreGrabbedOnTheirPictureStopAtEachOtherAndReportOnRelease) {
    CRangeControl range;
    range.resize(200, 32);
    range.setScale(-90, -30);
    range.setValues(-90, -30);
    QSignalSpy released(&range, &CRangeControl::released);
    ASSERT_EQ(range.xOfValue(-90), 30);
    ASSERT_EQ(range.xOfValue(-30), 170);

    // Between the thumbs, and within 5 pixels of one but off its picture.
    QTest::mouseClick(&range, Qt::LeftButton, {}, QPoint(100, 16));
    QTest::mouseClick(&range, Qt::LeftButton, {}, QPoint(33, 2));
    EXPECT_EQ(released.count(), 0);

    // The low thumb dragged past the high one stops on it; nothing is
    // reported until the release.
    QTest::mousePress(&range, Qt::LeftButton, {}, QPoint(31, 14));
    QTest::mouseMove(&range, QPoint(120, 14));
    QTest::mouseMove(&range, QPoint(199, 14));
    EXPECT_EQ(released.count(), 0);
    QTest::mouseRelease(&range, Qt::LeftButton, {}, QPoint(199, 14));
    ASSERT_EQ(released.count(), 1);
    EXPECT_EQ(released[0], (QList<QVariant>{CRangeControl::kLow, -30, -30}));

    // Both thumbs on the top: the low one is taken and can come down again;
    // x 100 with the grab 6 pixels into the thumb stands for
    // trunc((100 - 6 - 25) / (140 / 60) - 90) = -60.
    QTest::mousePress(&range, Qt::LeftButton, {}, QPoint(171, 14));
    QTest::mouseRelease(&range, Qt::LeftButton, {}, QPoint(100, 14));
    ASSERT_EQ(released.count(), 2);
    EXPECT_EQ(released[1], (QList<QVariant>{CRangeControl::kLow, -60, -30}));

    // Both on the bottom: only the high one can move, so it is the one taken.
    range.setValues(-90, -90);
    QTest::mousePress(&range, Qt::LeftButton, {}, QPoint(30, 14));
    QTest::mouseRelease(&range, Qt::LeftButton, {}, QPoint(101, 14));
    ASSERT_EQ(released.count(), 3);
    EXPECT_EQ(released[2], (QList<QVariant>{CRangeControl::kHigh, -90, -59}));
}

TEST(ResolutionControl, TrackPressReportsAtOnceAndADraggedThumbOnRelease) {
    CResolutionControl resolution;
    resolution.resize(100, 24);
    resolution.setWholeNumbers(false);
    resolution.setRange(1.0, 10.0, 5.0, QStringLiteral("Ft"));
    EXPECT_EQ(resolution.position(), 37); // trunc(4 * 84 / 9)
    QSignalSpy chosen(&resolution, &CResolutionControl::valueChosen);

    // A press on the track centres the thumb on the pointer: 42 pixels.
    QTest::mousePress(&resolution, Qt::LeftButton, {}, QPoint(47, 18));
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_DOUBLE_EQ(chosen[0][0].toDouble(), 5.5);
    EXPECT_EQ(resolution.text(), QStringLiteral(" 5.5 Ft"));
    QTest::mouseRelease(&resolution, Qt::LeftButton, {}, QPoint(47, 18));
    EXPECT_EQ(chosen.count(), 1);

    // Dragging the thumb says nothing until it is let go, at the end stop.
    QTest::mousePress(&resolution, Qt::LeftButton, {}, QPoint(44, 18));
    QTest::mouseMove(&resolution, QPoint(70, 18));
    EXPECT_EQ(chosen.count(), 1);
    QTest::mouseRelease(&resolution, Qt::LeftButton, {}, QPoint(140, 18));
    ASSERT_EQ(chosen.count(), 2);
    EXPECT_DOUBLE_EQ(chosen[1][0].toDouble(), 10.0);
    resolution.setWholeNumbers(true);
    EXPECT_EQ(resolution.text(), QStringLiteral("  10 Ft"));
}

// True when some pixel of `area` differs from the background at (0, 0).
bool InkIn(const QImage& image, const QRect& area) {
    const QRgb background = image.pixel(0, 0);
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.rect().contains(x, y) && image.pixel(x, y) != background)
                return true;
    return false;
}

TEST(ResolutionControl, TheValueIsWrittenBesideTheThumbNotAboveTheTrack) {
    CResolutionControl resolution;
    resolution.resize(100, 24);
    resolution.setWholeNumbers(false);
    resolution.setRange(1.0, 10.0, 5.5, QStringLiteral("Ft"));
    ASSERT_EQ(resolution.position(), 42);
    const QRect thumb = resolution.thumbRect();
    QImage shown = resolution.grab().toImage();
    EXPECT_FALSE(InkIn(shown, QRect(0, 0, 100, thumb.top()))) << "nothing above the track";
    EXPECT_TRUE(InkIn(shown, QRect(thumb.right() + 1, thumb.top(), 100, thumb.height())));
    EXPECT_GT(resolution.textRect().left(), thumb.right());
    EXPECT_LE(resolution.textRect().right(), 99);

    // At the end stop there is no room on its right: the value goes left.
    resolution.setRange(1.0, 10.0, 10.0, QStringLiteral("Ft"));
    ASSERT_EQ(resolution.position(), 84);
    shown = resolution.grab().toImage();
    EXPECT_FALSE(InkIn(shown, QRect(0, 0, 100, thumb.top())));
    EXPECT_LT(resolution.textRect().right(), resolution.thumbRect().left());
    EXPECT_GE(resolution.textRect().left(), 0);
    EXPECT_TRUE(InkIn(shown, QRect(0, thumb.top(), resolution.thumbRect().left(), thumb.height())));
}

TEST(ViewTabCtrl, TabsDrawTheirImages) {
    CViewTabCtrl tabs;
    tabs.resize(219, 300);
    QPixmap red(16, 16);
    red.fill(Qt::red);
    QPixmap blue(16, 16);
    blue.fill(Qt::blue);
    tabs.addTab(QStringLiteral("Files"), QIcon(red));
    tabs.addTab(QStringLiteral("Data Study"), QIcon(blue));
    tabs.addTab(QStringLiteral("Reports"), QIcon(red));
    const QImage shown = tabs.grab().toImage();
    for (int i = 0; i < tabs.count(); ++i) {
        SCOPED_TRACE(i);
        const QRect image = tabs.iconRect(i);
        EXPECT_EQ(image.size(), QSize(16, 16));
        EXPECT_TRUE(tabs.tabRect(i).contains(image));
        EXPECT_EQ(shown.pixelColor(image.center()), i == 1 ? QColor(Qt::blue) : QColor(Qt::red));
    }
    EXPECT_LE(tabs.tabRect(2).right(), 218) << "the three tabs fit the panel";
}

TEST(ViewTabCtrlAndSlider, ReportOnlyRealChanges) {
    CViewTabCtrl tabs;
    tabs.resize(220, 300);
    for (const char* name : {"Files", "Data Study", "Reports"})
        tabs.addTab(QString::fromLatin1(name));
    QSignalSpy selected(&tabs, &CViewTabCtrl::selectionChanged);
    QTest::mouseClick(&tabs, Qt::LeftButton, {}, tabs.tabRect(0).center());
    QTest::mouseClick(&tabs, Qt::LeftButton, {}, tabs.tabRect(2).center());
    QTest::mouseClick(&tabs, Qt::LeftButton, {}, tabs.tabRect(2).center());
    ASSERT_EQ(selected.count(), 1);
    EXPECT_EQ(selected[0][0].toInt(), 2);

    CCDSliderCtrlDiamond slider;
    slider.resize(100, 24);
    slider.setRange(0, 255);
    QSignalSpy released(&slider, &CCDSliderCtrlDiamond::released);
    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(slider.xOfValue(0), 12));
    EXPECT_EQ(released.count(), 0) << "a press and release that move nothing";
    QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(slider.xOfValue(0), 12));
    QTest::mouseMove(&slider, QPoint(slider.xOfValue(192), 12));
    EXPECT_EQ(released.count(), 0);
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(slider.xOfValue(192), 12));
    ASSERT_EQ(released.count(), 1);
    EXPECT_EQ(released[0][0].toInt(), slider.value());
    EXPECT_NEAR(slider.value(), 192, 2) << "the track has fewer pixels than values";
}

} // namespace
} // namespace tarvo
