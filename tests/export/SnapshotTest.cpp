#include "export/Snapshot.h"

#include "support/FakeUi.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tarvo {
namespace {

TEST(Snapshot, SavesTheLastViewAsBitmapUnderTheNameRule) {
    EXPECT_EQ(SnapshotPath("/d/view.final.bmp"), "/d/view.bmp");
    EXPECT_EQ(SnapshotPath("/d.e/view"), "/d.e/view.bmp");
    EXPECT_EQ(SnapshotPath("/d/.hidden"), "/d/.hidden.bmp"); // a leading "." is kept

    test::CTempDir dir;
    CTarvoAnalyzerDoc doc;
    doc.lastViewBitmap.width = 3;
    doc.lastViewBitmap.height = 2;
    doc.lastViewBitmap.rgb = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    test::CFakeUi ui;
    ui.QueuePath(dir.File("view.final.bmp"));
    ASSERT_EQ(TakeSnapshot(doc, ui), SnapshotResult::Saved);
    EXPECT_EQ(ui.choices[0].filter, "BMP - Bitmap picture (*.bmp)|");
    EXPECT_EQ(ui.choices[0].title, "Save picture as a Bitmap file");
    const auto bmp = test::ReadBytes(dir.File("view.bmp"));
    // 14 + 40 header bytes, two rows of 9 bytes padded to 12, bottom row first.
    ASSERT_EQ(bmp.size(), 14u + 40u + 24u);
    EXPECT_EQ(bmp[54], 12); // bottom-left pixel (10, 11, 12) stored blue first
    EXPECT_EQ(bmp[56], 10);
    EXPECT_EQ(bmp[66], 3); // top-left pixel (1, 2, 3)

    ui.QueuePath(std::nullopt);
    EXPECT_EQ(TakeSnapshot(doc, ui), SnapshotResult::Cancelled);
    const std::string bad = dir.File("none/shot.bmp");
    ui.QueuePath(bad);
    EXPECT_EQ(TakeSnapshot(doc, ui), SnapshotResult::Failed);
    EXPECT_EQ(ui.Said(),
              "File Open Error: Error opening file " + bad + ". (No such file or directory)");
}

} // namespace
} // namespace tarvo
