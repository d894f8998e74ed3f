#include "export/KmlExport.h"

#include "export/XmlText.h"
#include "support/FakeUi.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace tarvo {
namespace {

using test::CFakeUi;
using test::CTempDir;
using test::ReadText;

// Projection whose inverse gives latitude = site Y and longitude = site X
// (a = 0, b = 1, d = -1, e = 0, c = f = 0, H = 0, one metre per pixel:
// det = 1, u = X, v = -Y). The view window spans X -75..-71, Y 40..43.
CTarvoAnalyzerDoc KmlStudy() {
    CTarvoAnalyzerDoc doc;
    doc.processed = true;
    doc.gpsPointsPresent = true;
    doc.projectionKind = kProjectionGps;
    doc.ProjectionMatrix[0][1] = 1.0;
    doc.ProjectionMatrix[1][0] = -1.0;
    doc.SiteScaleX = 1.0;
    doc.SiteScaleY = 1.0;
    doc.ViewWindow = CBox{40.0, -75.0, 3.0, 4.0};
    doc.lastViewBitmap.width = 2;
    doc.lastViewBitmap.height = 1;
    doc.lastViewBitmap.rgb = {255, 0, 0, 0, 0, 255};
    return doc;
}

TEST(XmlText, EscapesMarkupAndNamesPicturesByRelativeUrl) {
    EXPECT_EQ(EscapeXml("a & b <c> \"d\" 'e'"), "a &amp; b &lt;c&gt; &quot;d&quot; &#39;e&#39;");
    EXPECT_EQ(RelativeUrl("my site/bmp3.bmp"), "my%20site/bmp3.bmp");
    EXPECT_EQ(RelativeUrl("a#b\\bmp2.bmp"), "a%23b/bmp2.bmp");
}

TEST(KmlExport, DefaultNameAndTime) {
    EXPECT_EQ(DefaultKmlName("/home/u.v/site.study.tws"), "/home/u.v/site");
    EXPECT_EQ(DefaultKmlName("/home/u/.hidden"), "/home/u/.hidden");
    setenv("TZ", "UTC", 1);
    tzset();
    EXPECT_EQ(KmlCreatedTime(1700000000), "11/14/2023,22:13:20");
}

TEST(KmlExport, TextWithEscapedNames) {
    CTarvoAnalyzerDoc doc = KmlStudy();
    CFakeUi ui;
    const std::string text = KmlText(doc, "site & <co>.kml", "/data/a&b.bmp", "Floor <2> & roof",
                                     "11/14/2023,22:13:20", ui);
    // Corners: (X0, Y0) = (-75, 40) -> lat 40, lon -75; (X1, Y1) = (-71, 43)
    // -> lat 43, lon -71. Range 2 * sqrt(4 * 4 + 3 * 3) = 10.
    const std::string expected = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                                 "\n<kml xmlns=\"http://earth.google.com/kml/2.0\">"
                                 "\n<GroundOverlay>"
                                 "\n\t<description> Floor &lt;2&gt; &amp; roof \n Created Time: "
                                 "11/14/2023,22:13:20.</description>"
                                 "\n\t<name> site &amp; &lt;co&gt; </name>"
                                 "\n\t<LookAt>"
                                 "\n\t<longitude> -73.00000</longitude>"
                                 "\n\t<latitude> 41.50000 </latitude>"
                                 "\n\t<range> 10.0 </range>"
                                 "\n\t<tilt> 0 </tilt>"
                                 "\n <heading> 0 </heading>"
                                 "\n </LookAt>"
                                 "\n <visibility>0</visibility>"
                                 "\n <Icon>"
                                 "\n<href> /data/a&amp;b.bmp </href>"
                                 "\n </Icon>"
                                 "\n <LatLonBox>"
                                 "\n <north> 43.00000 </north>"
                                 "\n <south> 40.00000 </south>"
                                 "\n <east> -71.00000 </east>"
                                 "\n <west>-75.00000 </west>"
                                 "\n <rotation>0</rotation>"
                                 "\n </LatLonBox>"
                                 "\n </GroundOverlay>"
                                 "\n </kml>";
    EXPECT_EQ(text, expected);
    EXPECT_TRUE(ui.messages.empty());
}

TEST(KmlExport, CommandWritesBitmapBesideKml) {
    CTempDir dir;
    CTarvoAnalyzerDoc doc = KmlStudy();
    doc.workspacePath = dir.File("survey.v2.tws");
    CFakeUi ui;
    ui.QueuePath(dir.File("site")); // typed without extension
    ui.QueuePath(std::nullopt);     // second choice cancelled: default stays
    bool asked = false;
    const auto result = CreateKmlFile(
        doc, ui,
        [&] {
            asked = true;
            return std::optional<std::string>{};
        },
        0);
    ASSERT_EQ(result, KmlResult::Written);
    EXPECT_TRUE(asked);
    ASSERT_EQ(ui.choices.size(), 2u);
    EXPECT_EQ(ui.choices[0].filter, "KML (Goolge Earth) File (*.kml)|*.kml|All files (*.*)|*.*||");
    EXPECT_EQ(ui.choices[0].defaultName, dir.File("survey"));
    EXPECT_EQ(ui.choices[1].defaultName, dir.File("site.bmp"));
    const std::string kml = ReadText(dir.File("site.kml"));
    EXPECT_NE(kml.find("\n<href> " + dir.File("site.bmp") + " </href>"), std::string::npos);
    // Cancelled description: a blank, then the line feed and the time.
    EXPECT_NE(kml.find("<description>  \n Created Time: "), std::string::npos);

    const auto bmp = test::ReadBytes(dir.File("site.bmp"));
    ASSERT_EQ(bmp.size(), 14u + 40u + 8u); // one row of 2 pixels padded to 8 bytes
    EXPECT_EQ(bmp[56], 255);               // first pixel stored blue, green, red

    // A cancelled KML choice writes nothing; a KML that cannot be created is
    // reported after its picture.
    ui.QueuePath(std::nullopt);
    EXPECT_EQ(CreateKmlFile(doc, ui, nullptr, 0), KmlResult::Cancelled);
    const std::string bad = dir.File("no/such/site.kml");
    ui.QueuePath(bad);
    EXPECT_EQ(CreateKmlFile(doc, ui, nullptr, 0), KmlResult::Failed);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].text, "Error opening file " + bad + ". (No such file or directory)");
}

TEST(KmlExport, SiteAxisRunningSouthMirrorsThePicture) {
    // a = 0, b = 1, d = 1, e = 0: det = -1, latitude = -Y, longitude = X.
    CTempDir dir;
    CTarvoAnalyzerDoc doc = KmlStudy();
    doc.ProjectionMatrix[1][0] = 1.0;
    doc.lastViewBitmap.width = 1;
    doc.lastViewBitmap.height = 2;
    doc.lastViewBitmap.rgb = {1, 2, 3, 4, 5, 6}; // top row, then bottom row
    CFakeUi ui;
    ui.QueuePath(dir.File("s.kml"));
    ASSERT_EQ(CreateKmlFile(doc, ui, nullptr, 0), KmlResult::Written);
    const std::string kml = ReadText(dir.File("s.kml"));
    // Y 40..43 gives latitudes -40 (minimum corner) and -43.
    EXPECT_NE(kml.find("\n <north> -40.00000 </north>\n <south> -43.00000 </south>"
                       "\n <east> -71.00000 </east>\n <west>-75.00000 </west>"),
              std::string::npos);
    EXPECT_NE(kml.find("<latitude> -41.50000 </latitude>"), std::string::npos);
    // The picture is turned upside down: the stored bottom row (first in
    // the file) is now the view's top row, blue first.
    const auto bmp = test::ReadBytes(dir.File("s.bmp"));
    ASSERT_EQ(bmp.size(), 14u + 40u + 8u);
    EXPECT_EQ(bmp[54], 3);
    EXPECT_EQ(bmp[58], 6);
}

} // namespace
} // namespace tarvo
