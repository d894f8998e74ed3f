#include "mapview/ViewPrinter.h"
#include "support/TempDir.h"
#include "view/PrintLayout.h"

#include <QPainter>
#include <QPrinter>
#include <gtest/gtest.h>

#include <filesystem>

namespace tarvo {
namespace {

TEST(PrintPage, PictureFittedToThePageWithMarginsAndFrame) {
    // Landscape page wider than the picture: limited by the height, centred.
    // rh = 500/300; w = trunc(400 * rh - 20) = 646, x = (1000 - 646) / 2.
    EXPECT_EQ(PrintBoxFor(1000, 500, 400, 300), (CPrintBox{177, 10, 646, 480}));
    // Portrait page: limited by the width, from x = 10.
    // rw = 500/400; h = trunc(300 * rw - 20) = 355.
    EXPECT_EQ(PrintBoxFor(500, 1000, 400, 300), (CPrintBox{10, 10, 480, 355}));
    EXPECT_TRUE(PrintBoxFor(0, 1000, 400, 300).IsEmpty());
    EXPECT_TRUE(PrintBoxFor(15, 15, 400, 300).IsEmpty());

    QImage picture(400, 300, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QImage page(1000, 500, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        ASSERT_TRUE(PaintPrintPage(painter, page.width(), page.height(), picture));
        EXPECT_FALSE(PaintPrintPage(painter, page.width(), page.height(), QImage()));
    }
    const QRgb white = qRgb(255, 255, 255), black = qRgb(0, 0, 0), red = qRgb(255, 0, 0);
    EXPECT_EQ(page.pixel(176, 200), white); // left margin
    EXPECT_EQ(page.pixel(177, 200), black); // frame, left edge
    EXPECT_EQ(page.pixel(400, 200), red);   // the picture
    EXPECT_EQ(page.pixel(823, 200), black); // frame, right edge at x + w
    EXPECT_EQ(page.pixel(824, 200), white);
    EXPECT_EQ(page.pixel(500, 9), white); // top margin of 10
    EXPECT_EQ(page.pixel(500, 10), black);
    EXPECT_EQ(page.pixel(500, 490), black); // bottom edge at 10 + h
    EXPECT_EQ(page.pixel(500, 495), white);
}

TEST(PrintPage, PrintsOnePageToAPrinter) {
    test::CTempDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(dir.File("page.pdf")));
    QImage picture(640, 480, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    ASSERT_TRUE(CViewPrinter::PrintPage(printer, picture));
    EXPECT_GT(std::filesystem::file_size(dir.File("page.pdf")), 0u);
    EXPECT_FALSE(CViewPrinter::PrintPage(printer, QImage())) << "nothing painted yet";
}

} // namespace
} // namespace tarvo
