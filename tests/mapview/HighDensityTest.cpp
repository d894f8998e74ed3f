// The map view on a high-density screen: the frame is painted at the
// screen's device pixels, not enlarged from a one-to-one picture, so lines,
// icons and text keep detail that an enlarged picture lacks.

#include "mapview/DocumentHost.h"
#include "mapview/MapFrameCache.h"
#include "mapview/MapView.h"
#include "support/FakeUi.h"
#include "view/Icons.h"
#include "view/Overlays.h"

#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>

namespace tarvo {
namespace {

// A study drawn at one pixel per metre: a 201 x 201 client over a window of
// 200 x 200 m, so site (x, y) lands on logical pixel (x, 200 - y).
constexpr int kSide = 201;

CDataPoint PointAt(double x, double y) {
    CDataPoint p;
    p.kind = 2;
    p.fix = 2;
    p.easting = static_cast<std::int32_t>(x * 100);
    p.northing = static_cast<std::int32_t>(y * 100);
    return p;
}

// A black walk of width 1 from (10, 10) up the diagonal to (90, 90) and
// straight down to (90, 50), an AP icon at (70, 15) and the legend of the
// walk at the top right.
CTarvoAnalyzerDoc WalkDoc() {
    CTarvoAnalyzerDoc doc;
    doc.processed = true;
    doc.ViewWindow = {0.0, 0.0, 200.0, 200.0};
    doc.pathShown = true;
    doc.pointStatus = false;
    doc.pathWidth = 1;
    for (const auto& [x, y] : {std::pair{10.0, 10.0}, {90.0, 90.0}, {90.0, 50.0}})
        doc.points.Add(PointAt(x, y));
    CDataFile file;
    file.selected = 1;
    file.pointCount = 3;
    file.colour = 0;
    file.title = "walk.ssd";
    doc.files.Add(file);
    CAPInfo ap;
    ap.selected = 1;
    ap.valid = 1;
    ap.position = {15.0, 70.0}; // Y, X
    doc.aps.Add(ap);
    doc.apIconsShown = true;
    doc.legendShown = true;
    return doc;
}

QImage FrameAt(CTarvoAnalyzerDoc& doc, double dpr) {
    CMapFrameCache cache;
    test::CFakeUi ui;
    return cache.Frame(doc, kSide, kSide, ui, dpr);
}

bool Inked(const QImage& image, int x, int y) {
    return image.pixelColor(x, y) != QColor(Qt::white);
}

// Each pixel of `image` as a 2 x 2 block: the one-to-one picture enlarged.
QImage Enlarged(const QImage& image) {
    return image.scaled(image.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

// Aligned 2 x 2 blocks inside `area` (device pixels) whose pixels differ:
// detail finer than one logical pixel. An enlarged picture has none.
int MixedBlocks(const QImage& image, const QRect& area) {
    int mixed = 0;
    for (int y = area.top() & ~1; y + 1 <= area.bottom(); y += 2)
        for (int x = area.left() & ~1; x + 1 <= area.right(); x += 2) {
            const QRgb p = image.pixel(x, y);
            mixed += image.pixel(x + 1, y) != p || image.pixel(x, y + 1) != p ||
                     image.pixel(x + 1, y + 1) != p;
        }
    return mixed;
}

// Pixels of the icon's area at device position `at` that are not the
// icon's (premultiplied) colours laid over white, give or take rounding.
int IconMismatches(const QImage& picture, QPoint at, const QImage& icon) {
    const QImage art = icon.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    int mismatches = 0;
    for (int y = 0; y < art.height(); ++y)
        for (int x = 0; x < art.width(); ++x) {
            const QRgb s = reinterpret_cast<const QRgb*>(art.constScanLine(y))[x];
            const int rest = 255 - qAlpha(s);
            const QRgb p = picture.pixel(at.x() + x, at.y() + y);
            mismatches += std::abs(qRed(p) - (qRed(s) + rest)) > 2 ||
                          std::abs(qGreen(p) - (qGreen(s) + rest)) > 2 ||
                          std::abs(qBlue(p) - (qBlue(s) + rest)) > 2;
        }
    return mismatches;
}

// The first inked column of row y among [from, to), or -1.
int FirstInked(const QImage& image, int y, int from, int to) {
    for (int x = from; x < to; ++x)
        if (Inked(image, x, y))
            return x;
    return -1;
}

int InkedIn(const QImage& image, int y, int from, int to) {
    int n = 0;
    for (int x = from; x < to; ++x)
        n += Inked(image, x, y);
    return n;
}

TEST(HighDensityFrame, TwiceThePixelsWithDetailTheEnlargedPictureLacks) {
    CTarvoAnalyzerDoc doc = WalkDoc();
    const QImage one = FrameAt(doc, 1.0);
    const QImage two = FrameAt(doc, 2.0);
    ASSERT_EQ(one.size(), QSize(kSide, kSide));
    ASSERT_EQ(two.size(), QSize(2 * kSide, 2 * kSide));
    EXPECT_EQ(two.devicePixelRatio(), 2.0);
    const QImage enlarged = Enlarged(one);

    // The same picture: away from the legend's text, every inked device
    // pixel lies within two device pixels of ink in the enlarged picture.
    const QSize legend = LegendSize(doc, doc.coverageDisplayType);
    ASSERT_FALSE(legend.isEmpty());
    const int legendLeft = 2 * (kSide - legend.width());
    ASSERT_GT(legendLeft, 2 * 95) << "the legend must leave the walk and the icon clear";
    int strays = 0, ink = 0;
    for (int y = 0; y < two.height(); ++y)
        for (int x = 0; x < legendLeft; ++x) {
            if (!Inked(two, x, y))
                continue;
            ++ink;
            bool near = false;
            for (int dy = -2; dy <= 2 && !near; ++dy)
                for (int dx = -2; dx <= 2 && !near; ++dx) {
                    const int u = x + dx, v = y + dy;
                    near = enlarged.rect().contains(u, v) && Inked(enlarged, u, v);
                }
            strays += !near;
        }
    EXPECT_GT(ink, 500);
    EXPECT_EQ(strays, 0);

    // A one-pixel line straight down (logical x 90, rows 110 to 150) is
    // two device pixels wide, as thick as on a plain screen.
    EXPECT_EQ(InkedIn(one, 130, 85, 100), 1);
    EXPECT_EQ(InkedIn(two, 260, 170, 200), 2);

    // The diagonal (logical rows 125 to 165) steps one device pixel per
    // device row; the enlarged picture repeats every row twice.
    int repeatsTwo = 0, jumpsTwo = 0, repeatsEnlarged = 0, rows = 0;
    for (int y = 250; y < 330; ++y, ++rows) {
        const int a = FirstInked(two, y, 0, 170), b = FirstInked(two, y + 1, 0, 170);
        const int c = FirstInked(enlarged, y, 0, 170), d = FirstInked(enlarged, y + 1, 0, 170);
        ASSERT_TRUE(a >= 0 && b >= 0 && c >= 0 && d >= 0) << "row " << y;
        repeatsTwo += a == b;
        jumpsTwo += std::abs(b - a) > 1;
        repeatsEnlarged += c == d;
    }
    EXPECT_GE(repeatsEnlarged, rows / 2 - 1);
    EXPECT_LT(repeatsTwo, rows / 8);
    EXPECT_EQ(jumpsTwo, 0);

    // The AP icon (top-left at logical (54, 169)) is the artwork drawn at
    // twice the pixels, put over the white picture pixel for pixel; the
    // legend's text is drawn at twice the font size.
    EXPECT_EQ(IconMismatches(two, QPoint(2 * 54, 2 * 169), ProgramIcon(kFirstApIcon, 2.0)), 0);
    EXPECT_GT(MixedBlocks(two, QRect(legendLeft, 2, 2 * legend.width(), 2 * legend.height())), 100);
}

// Under QT_SCALE_FACTOR=2 (a ctest of its own) this checks the real
// high-density path; at ratio 1 it still holds.
TEST(HighDensityView, TheWindowShowsThePictureAtTheScreensPixels) {
    test::CFakeUi ui;
    CDocumentHost host;
    host.setUiServices(&ui);
    host.doc() = WalkDoc();
    CTarvoAnalyzerView view(host);
    view.resize(kSide, kSide);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    const double dpr = view.devicePixelRatio();
    const QImage shown = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage& picture = view.Picture();
    EXPECT_EQ(picture.devicePixelRatio(), dpr);
    ASSERT_EQ(picture.size(), shown.size());
    EXPECT_EQ(picture.convertToFormat(QImage::Format_RGB32), shown);
    // The exports keep one pixel per logical pixel.
    const QImage exported = view.ExportPicture();
    EXPECT_EQ(exported.size(), QSize(kSide, kSide));
    EXPECT_EQ(exported.devicePixelRatio(), 1.0);
}

} // namespace
} // namespace tarvo
