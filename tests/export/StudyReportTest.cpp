#include "export/StudyReport.h"

#include "model/Text.h"
#include "support/FakeUi.h"
#include "support/TempDir.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

namespace tarvo {
namespace {

using test::CFakeUi;
using test::CTempDir;
using test::ReadText;

std::string WithoutCr(std::string text) {
    std::erase(text, '\r');
    return text;
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

struct CRenderCall {
    int type;
    bool path, apIcons, markedIcons, interferenceIcons;
    bool operator==(const CRenderCall&) const = default;
};

// Records the pictures asked for and paints each a plain grey.
struct CFakeRenderer {
    std::vector<CRenderCall> calls;
    ReportRenderer Get() {
        return [this](CTarvoAnalyzerDoc&, int type, bool path, bool ap, bool marked, bool intf,
                      IUiServices&) {
            calls.push_back({type, path, ap, marked, intf});
            QImage image(800, 600, QImage::Format_RGB32);
            image.fill(QColor(128, 128, 128));
            return image;
        };
    }
};

CAPInfo Ap(const std::string& ssid, std::uint8_t macByte, int channel, int samples, int filtered) {
    CAPInfo ap;
    ap.ssid = SsidFromText(ssid);
    ap.bssid = {0x00, 0x11, 0x22, 0x33, 0x44, macByte};
    ap.channel = channel;
    ap.samples.SetSize(samples);
    ap.filteredSamples.SetSize(filtered);
    return ap;
}

// A linear study in metres: one selected and one skipped survey file, a
// valid AP whose SSID is markup, an AP with too few samples, an AP that is
// not selected, one marked AP and one interference source.
CTarvoAnalyzerDoc LinearStudy() {
    CTarvoAnalyzerDoc doc;
    doc.processed = true;
    doc.projectionKind = kProjectionLinear;
    doc.projectionPath = "/maps/office.lpf";
    doc.linearPointsPresent = true;
    doc.UseFeet = false;
    doc.coverageOpacity = 192;
    doc.coveragePresent = true;

    doc.files = {CDataFile{"a&b.ssd", "/s/a&b.ssd", "Mon Jan  1 00:00:00 2024\n", "", 1, 0, 0xFF},
                 CDataFile{"b.ssd", "", "", "", 0, 0, 0}};

    CAPInfo ap0 = Ap("<script>alert(1)</script>", 0x55, 6, 5, 4);
    ap0.selected = ap0.valid = 1;
    ap0.position = {12.5, 3.25};
    ap0.slope = -25.0;
    ap0.intercept = -40.0;
    ap0.sigma = 4.0;
    ap0.colour = 0x00FF00;
    ap0.txPower = "20";
    ap0.antennaGain = "5 dBi";
    ap0.antennaHeight = "3";
    ap0.antennaDirection = "90";
    ap0.notes = "line1<br>line2 & <b>";
    doc.aps.Add(ap0);
    CAPInfo ap1 = Ap("guest", 0x66, 11, 2, 2); // selected, fewer than 3 filtered
    ap1.selected = 1;
    ap1.colour = 0xFF0000;
    doc.aps.Add(ap1);
    doc.aps.Add(Ap("lab", 0x77, 36, 30, 25)); // not selected, 25 > 20 filtered

    CAPMarker m;
    m.y = 1.0;
    m.x = 2.0;
    m.ssid = SsidFromText("marked");
    m.bssid = {0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF};
    m.channel = 1;
    m.name = "M1";
    doc.markers.Add(m);
    CISMarker s;
    s.y = 4.0;
    s.x = 5.0;
    s.name = "Oven";
    s.frequency = "2450 MHz";
    s.bandwidth = "20 MHz";
    doc.sources.Add(s);
    return doc;
}

std::string Td(const std::string& cls, const std::string& text) {
    return "\n <td class=\"" + cls + "\" align =\"Center\">" + text + "</td>";
}

// The parts are found in the text, each after the one before.
::testing::AssertionResult InOrder(const std::string& text,
                                   std::initializer_list<std::string> parts) {
    std::size_t at = 0;
    for (const std::string& part : parts) {
        const std::size_t found = text.find(part, at);
        if (found == std::string::npos)
            return ::testing::AssertionFailure() << "not found after " << at << ": " << part;
        at = found + part.size();
    }
    return ::testing::AssertionSuccess();
}

class StudyReport : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "UTC", 1);
        tzset();
    }
    CReportRequest Request(const std::string& name) {
        CReportRequest r;
        r.path = dir.File(name);
        r.now = 0;
        return r;
    }
    // Writes the report and returns its text without carriage returns.
    std::string Run(CTarvoAnalyzerDoc& doc, const CReportRequest& request) {
        EXPECT_EQ(WriteStudyReport(doc, request, ui, renderer.Get()), ReportResult::Written);
        return WithoutCr(ReadText(request.path));
    }
    CTempDir dir;
    CFakeUi ui;
    CFakeRenderer renderer;
};

TEST_F(StudyReport, LinearStudyWithEveryOption) {
    CTarvoAnalyzerDoc doc = LinearStudy();
    CReportRequest request = Request("site.html");
    request.options.showAllAps = false; // every AP listed, with "Selected?"
    const std::string html = Run(doc, request);
    const std::string script = "&lt;script&gt;alert(1)&lt;/script&gt;";
    EXPECT_EQ(html.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n <html>\n <head>"
                         "\n<link href=\"site/report.css\" rel=\"stylesheet\"/>"
                         "\n<title>Site Survey Report with KDR Tarvo Software</title>",
                         0),
              0u);
    // The skipped survey file is neither listed nor in the path legend.
    EXPECT_FALSE(Has(html, "<script>") || Has(html, ">b.ssd<") || Has(html, Td("Path\\Name", " ")));
    EXPECT_TRUE(InOrder(
        html,
        {"Report date: Thu Jan  1 00:00:00 1970\n", "Map/Projection File: /maps/office.lpf",
         // only the selected survey file, its path escaped
         "<h3> SSD File Infomation</h3>", Td("Path\\Name", " /s/a&amp;b.ssd"),
         // selected APs first with position or remark, then the others with "No"
         "<h3>Access Point Information</h3>",
         "\n <p>AP positions estimated by the study method</p>\n <table", Td("SSID", script),
         Td("Y Axis", "12.500") + Td("X Axis", "3.250"), Td("SSID", "guest"),
         Td("Y Axis", "Not Enough Points"), "<td class=\"SSID\" align =\"Center\">lab</td>",
         "<td class = \"Selected?\" align =\"Center\"> No </td>", Td("Y Axis", "Need More Points"),
         // notes keep their line breaks, everything else escaped
         "<h3>AP Antenna Information and Notes</h3>",
         Td("Notes for AP", "line1<br>line2 &amp; &lt;b&gt;"),
         "<h3>Marked Access Point's Information</h3>", Td("X Axis", "2.000"),
         "<h3>Interference Source's Information</h3>", Td("Name", "Oven"),
         // pictures numbered in order; the path legend line 800 / 3 capped at 60
         "<h3>Survey Path </h3>", "src=\"site/bmp2.bmp\" width=\"800\"",
         "src=\"site/bmp3.bmp\" width=\"60\"", "<h3>Coverage of Access Points </h3>",
         "src=\"site/bmp4.bmp\"", "site/bmp5.bmp", Td("legendSSID", "    " + script),
         "MAC of APs (N < 20)", "site/bmp6.bmp", Td("legendSSID", "    guest"),
         "<h3>Coverage Reliability Analysis </h3>", "site/bmp7.bmp",
         "Reliability analysis with power threshold -90 dBm.", "90%:100%", "10%:20%",
         "site/bmp8.bmp", "site/bmp16.bmp", "<h3>Coverage of Signal Strength</h3>",
         "site/bmp17.bmp", "-36:-30", "-90:-84", "site/bmp27.bmp",
         "<h3>Overlap of Selected APs</h3>", "site/bmp28.bmp", "larger than -90 dBm.", ">= 10",
         "site/bmp38.bmp", "</html>\n"}));
    // Text mode: every line feed is written as CR LF.
    const std::string bytes = ReadText(request.path);
    for (std::size_t at = bytes.find('\n'); at != std::string::npos; at = bytes.find('\n', at + 1))
        ASSERT_TRUE(at > 0 && bytes[at - 1] == '\r') << at;

    EXPECT_EQ(renderer.calls, (std::vector<CRenderCall>{{0, true, false, false, false},
                                                        {3, false, true, true, true},
                                                        {2, false, false, false, false},
                                                        {4, false, false, false, false},
                                                        {5, false, false, false, false}}));
    for (int n = 2; n <= 38; ++n)
        ASSERT_EQ(test::ReadBytes(dir.File(Format("site/bmp%d.bmp", n))).at(0), 'B') << n;
    EXPECT_FALSE(std::filesystem::exists(dir.File("site/bmp39.bmp")));
    EXPECT_TRUE(std::filesystem::exists(dir.File("site/report.css")));

    // The reliability radii of the valid AP were computed; the others untouched.
    EXPECT_GT(doc.aps[0].levels[0], 0.0);
    EXPECT_EQ(doc.aps[1].levels[0], 0.0);

    EXPECT_EQ(
        ui.progress.Texts(),
        (std::vector<std::string>{
            "Begin to Write A Report...", "Write Down File's Info...", "Write Down AP's Info...",
            "Write Down AP's Info...", "Write Down Interference Info...",
            "Draw Measurement Path...", "Draw Coverage of Selected APs...",
            "Draw the Coverage of Signal Strength of Selected APs...",
            "Draw the Number of APS per Location...", "Finished...", "Launching Report..."}));
    EXPECT_FALSE(ui.progress.Visible());
    EXPECT_EQ(ui.opened, (std::vector<std::string>{request.path}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(StudyReport, EveryOptionOffAndGeographicPositions) {
    CTarvoAnalyzerDoc doc = LinearStudy();
    doc.projectionKind = kProjectionGps;
    doc.linearPointsPresent = false;
    doc.projectionPath.clear();
    CReportRequest request = Request("r.html");
    request.options =
        CReportOptions{false, false, false, false, false, false, false, false, false, false};
    const std::string html = Run(doc, request);
    // Head, date, and the individual analysis (a selected AP has 4 samples);
    // no projection line. The first numbered image is 3 although no path
    // picture was drawn.
    EXPECT_FALSE(Has(html, "Map/Projection File"));
    EXPECT_EQ(html.find("<h3>"), html.find("\n <h3>Individual Analysis of SelectedAPs </h3>") + 2);
    EXPECT_TRUE(Has(html, "src=\"r/bmp3.bmp\" width=\"800\""));
    EXPECT_FALSE(Has(html, "bmp2.bmp"));
    EXPECT_EQ(renderer.calls.size(), 1u);

    // Geographic position cells and the " Need More Points" form.
    request.options = CReportOptions{};
    request.options.showAllAps = false;
    doc.ProjectionMatrix[0][1] = 1.0; // latitude = Y, longitude = X
    doc.ProjectionMatrix[1][0] = -1.0;
    doc.SiteScaleX = doc.SiteScaleY = 1.0;
    const std::string geo = Run(doc, request);
    EXPECT_TRUE(Has(geo, "<th align =\"Center\">Latitude</th>"));
    EXPECT_TRUE(Has(geo, Td("Latitude", "12.50000") + Td("Longitude", "3.25000")));
    EXPECT_TRUE(
        Has(geo, Td("Latitude", " Need More Points") + Td("Longitude", "Need More Points")));
}

// With the robust estimator the AP table has a column for its radius after
// the positions ("-" for an AP without one); other estimators' tables have
// none.
TEST_F(StudyReport, RobustEstimatorAddsTheRadiusColumn) {
    CTarvoAnalyzerDoc doc = LinearStudy();
    CReportRequest request = Request("u.html");
    request.options.showAllAps = false;
    EXPECT_FALSE(Has(Run(doc, request), "Uncertainty"));
    doc.estimator = EstimatorKind::Robust;
    doc.aps[0].uncertaintyM = 1.5;
    const std::string html = Run(doc, request);
    EXPECT_TRUE(InOrder(html, {"<p>AP positions estimated by the robust method</p>",
                               "<th align =\"Center\">X Axis(m)</th>"
                               "\n <th align =\"Center\">Uncertainty(m)</th>"
                               "\n <th align =\"Center\">N1 Points</th>",
                               Td("X Axis", "3.250") + Td("Uncertainty", "1.500"),
                               Td("X Axis", "Not Enough Points") + Td("Uncertainty", "-")}));
}

TEST_F(StudyReport, GroupAndCombinedLegends) {
    CTarvoAnalyzerDoc doc = LinearStudy();
    CGroupInfo group;
    group.name = "corp & co";
    group.colour = 0x123456;
    group.anySelected = 1;
    group.AddItem(doc.aps[0].bssid, 0);
    group.AddItem(doc.aps[1].bssid, 99); // stale index: skipped
    doc.activeGroups.groups.Add(group);
    doc.coverageMode = 1;
    const CReportRequest request = Request("g.html");
    EXPECT_TRUE(Has(Run(doc, request),
                    "<tr>\n <th class=\"legendColor\"> Color </td>"
                    "\n <th class=\"legendText\" align =\"Center\">    Groups of APs</td></tr>"
                    "\n <tr>\n <td class=\"legendColor\"><img height=\"18\" src=\"g/bmp5.bmp\" "
                    "width=\"40\"/></td>" +
                        Td("legendText", "  corp &amp; co")));
    EXPECT_EQ(doc.aps[0].table3[5], 0x123456); // contours drawn in the group colour

    doc.coverageMode = 2;
    doc.commonColour = 0x00AA00;
    EXPECT_TRUE(Has(Run(doc, request),
                    "<tr>\n <td class=\"legendColor\"> <img height=\"18\" src=\"g/bmp5.bmp\" "
                    "width=\"40\"/> </td>" +
                        Td("legendText", " Combined Mode: For all selected APs") + "\n </tr>"));
    EXPECT_EQ(doc.aps[0].table3[5], 0x00AA00);
}

TEST_F(StudyReport, WriteFailuresAreReportedAndUserCssKept) {
    CTarvoAnalyzerDoc doc = LinearStudy();
    const std::string bad = dir.File("missing/x.html");
    EXPECT_EQ(WriteStudyReport(doc, Request("missing/x.html"), ui, renderer.Get()),
              ReportResult::Failed);
    ASSERT_EQ(ui.Said(),
              "File Open Error: Error opening file " + bad + ". (No such file or directory)");
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Error);
    EXPECT_TRUE(ui.opened.empty());
    EXPECT_TRUE(renderer.calls.empty());
    EXPECT_FALSE(ui.progress.Visible());

    // A report.css of the user's own is left alone; no viewer when not asked.
    std::filesystem::create_directories(dir.Path() / "mine");
    std::ofstream(dir.Path() / "mine" / "report.css") << "h3 { color: red; }";
    CReportRequest request = Request("mine.html");
    request.open = false;
    Run(doc, request);
    EXPECT_EQ(ReadText(dir.File("mine/report.css")), "h3 { color: red; }");
    EXPECT_TRUE(ui.opened.empty());

    // A file where the picture folder should be stays; no report is written.
    std::ofstream(dir.Path() / "x") << "a file where the picture folder should be";
    ui.messages.clear();
    EXPECT_EQ(WriteStudyReport(doc, Request("x.html"), ui, renderer.Get()), ReportResult::Failed);
    EXPECT_EQ(ui.Said(),
              "File Open Error: Error opening file " + dir.File("x") + ". (Not a directory)");
    EXPECT_EQ(ReadText(dir.File("x")), "a file where the picture folder should be");
    EXPECT_FALSE(std::filesystem::exists(dir.File("x.html")));
    EXPECT_TRUE(ui.opened.empty());
}

TEST(ReportFolderTitle, RemovesEveryHtml) {
    EXPECT_EQ(ReportFolderTitle("/a/b/site.html"), "site");
    EXPECT_EQ(ReportFolderTitle("/a/b.html/x.html.html"), "x");
    EXPECT_EQ(ReportFolderTitle("report.htm"), "report.htm_files");
    EXPECT_EQ(ReportFolderTitle("/a/report"), "report_files");
    EXPECT_EQ(ReportFolderTitle("/a/.html"), "_files");
}

} // namespace
} // namespace tarvo
