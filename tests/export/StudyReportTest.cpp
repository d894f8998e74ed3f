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

std::string ReadText(const std::string& path) {
    auto bytes = test::ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

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

    CDataFile a;
    a.title = "a&b.ssd";
    a.path = "/s/a&b.ssd";
    a.created = "Mon Jan  1 00:00:00 2024\n";
    a.colour = 0x0000FF;
    doc.files.Add(a);
    CDataFile b;
    b.title = "b.ssd";
    b.selected = 0;
    doc.files.Add(b);

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

// Pieces of the expected report, spelled out once.
std::string Td(const std::string& cls, const std::string& text) {
    return "\n <td class=\"" + cls + "\" align =\"Center\">" + text + "</td>";
}
std::string Plain(const std::string& text) {
    return "\n <td align =\"Center\">" + text + "</td>";
}
std::string Cells(const std::string& cls, std::initializer_list<std::string> texts) {
    std::string out;
    for (const auto& t : texts)
        out += Td(cls, t);
    return out;
}
std::string Th(std::initializer_list<std::string> names) {
    std::string out;
    for (const auto& n : names)
        out += "\n <th align =\"Center\">" + n + "</th>";
    return out;
}
std::string Swatches(int first, int last) {
    std::string out;
    for (int n = first; n <= last; ++n)
        out += "\n <td class=\"legendColor\">\n <img height=\"18\" src=\"site/bmp" +
               std::to_string(n) + ".bmp\" width=\"66\"/>\n </td>";
    return out;
}
std::string Antenna(const std::string& power = "", const std::string& gain = "",
                    const std::string& height = "", const std::string& direction = "",
                    const std::string& notes = "") {
    return Td("Trans. Power(dBm)", power) + Td("Antenna Type", gain) + Td("Height", height) +
           Td("Direction(Deg)", direction) + Td("Notes for AP", notes);
}
std::string Counts(const std::string& n1, const std::string& n2) {
    return "\n <td class=\"N1 Points\" align =\"Center\"> " + n1 +
           "</th>\n <td class=\"N2 Points\" align =\"Center\"> " + n2 + "</th>";
}
std::string Picture(const std::string& border, int n, const std::string& caption) {
    return "\n <table border=\"" + border + "\">\n <tbody>\n <tr>\n <td>\n <img height=\"600\" " +
           "src=\"site/bmp" + std::to_string(n) + ".bmp\" width=\"800\"/>\n </td>\n </tr>" +
           (caption.empty() ? "" : "\n <tr>\n <td> " + caption + " </td>\n </tr>") +
           "\n </tbody>\n </table>";
}

std::string ExpectedLinearReport() {
    const std::string script = "&lt;script&gt;alert(1)&lt;/script&gt;";
    const std::string yes = "\n <td class = \"Selected?\" align =\"Center\"> Yes </td>";
    std::string html =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n <html>\n <head>"
        "\n<link href=\"site/report.css\" rel=\"stylesheet\"/>"
        "\n<title>Site Survey Report with KDR Tarvo Software</title>\n </head>\n <body>"
        "\n <center><h2>Site Survey Study Report with KDR Tarvo Software</h2></center>"
        "\n <p/>\n <p/>\n <tr>\n <td>\n Report date: Thu Jan  1 00:00:00 1970\n"
        "\n </td>\n </tr>\n <p/>\n <p/>"
        "\n <tr>\n <td>\n Map/Projection File: /maps/office.lpf\n </td>\n </tr>"
        // SSD files: only the selected one
        "\n <h3> SSD File Infomation</h3>\n <table border=\"1\">\n <tr>";
    html += Th({"Index", "File Directory & Name", "Created Time"}) + "\n </tr>\n <tr>" +
            Td("Index", "1") + Td("Path\\Name", " /s/a&amp;b.ssd") +
            Td("Survey Time", " Mon Jan  1 00:00:00 2024\n") + "\n </tr>\n </table>\n <p/>\n <p/>";
    // access points: selected first, then the others with "No"
    html += "\n <h3>Access Point Information</h3>"
            "\n <p>AP positions estimated by the study method</p>\n <table border=\"1\">\n <tr>" +
            Th({"Index", "SSID", "MAC", "Channel", "Selected?", "Y Axis(m)", "X Axis(m)",
                "N1 Points", "N2 Points"}) +
            "\n </tr>\n <tr>" + Td("Index", "1") + Td("SSID", script) +
            Td("MAC", "00-11-22-33-44-55") + Td("Channel", "6") + yes + Td("Y Axis", "12.500") +
            Td("X Axis", "3.250") + Counts("5", "4") + "</tr>\n <tr>" + Td("Index", "2") +
            Td("SSID", "guest") + Td("MAC", "00-11-22-33-44-66") + Td("Channel", "11") + yes +
            Td("Y Axis", "Not Enough Points") + Td("X Axis", "Not Enough Points") +
            Counts("2", "2") +
            "</tr><tr><td class=\"Index\" align =\"Center\">3</td>"
            "<td class=\"SSID\" align =\"Center\">lab</td>" +
            Td("MAC", "00-11-22-33-44-77") +
            "<td class=\"Channel\" align =\"Center\">36</td>"
            "<td class = \"Selected?\" align =\"Center\"> No </td>" +
            Td("Y Axis", "Need More Points") + Td("X Axis", "Need More Points") +
            Counts("30", "25") + "\n </tr>\n </table>\n <p/>";
    html += "\n <h3>AP Antenna Information and Notes</h3>\n <table border=\"1\">\n <tr>" +
            Th({"AP's SSID", "AP's MAC", "Trans. Power(dBm)", "Antenna Gain", "Height(m)",
                "Direction(Deg)", "Notes"}) +
            "\n <tr>" + Plain(script) + Plain("00-11-22-33-44-55") +
            Antenna("20", "5 dBi", "3", "90", "line1<br>line2 &amp; &lt;b&gt;") + "\n </tr>" +
            "\n <tr>" + Plain("guest") + Plain("00-11-22-33-44-66") + Antenna() + "\n </tr>" +
            "\n <tr>" + Plain("lab") + Plain("00-11-22-33-44-77") + Antenna() + "\n </tr>" +
            "\n </tr>\n </table>\n <p/>\n <p/>";
    // marked APs
    html += "\n <h3>Marked Access Point's Information</h3>\n <table border=\"1\">\n <tr>" +
            Th({"Index", "SSID", "MAC", "Channel", "Y Axis(m)", "X Axis(m)"}) + "\n </tr>\n <tr>" +
            Td("Index", "1") + Td("SSID", "marked") + Td("MAC", "AA-BB-CC-DD-EE-FF") +
            Td("Channel", "1") + Td("Y Axis", "1.000") + Td("X Axis", "2.000") +
            "</tr>\n </table>\n <p/>"
            "\n <h3>Marked AP's Antenna Information and Notes</h3>\n <table border=\"1\">\n <tr>" +
            Th({"AP's Name", "Trans. Power(dBm)", "Antenna Gain", "Height(m)", "Direction(Deg)",
                "Notes"}) +
            "\n <tr>" + Plain("M1") + Antenna() + "\n </tr>\n </tr>\n </table>\n <p/>\n <p/>";
    // interference sources
    html += "\n <h3>Interference Source's Information</h3>\n <table border=\"1\">\n <tr>" +
            Th({"Index", "Name", "Frequency", "Bandwidth", "Y Axis(m)", "X Axis(m)", "Notes"}) +
            "\n </tr>\n <tr>" + Td("Index", "1") + Td("Name", "Oven") +
            Td("Frequency", "2450 MHz") + Td("Bandwidth", "20 MHz") + Td("Y Axis", "4.000") +
            Td("X Axis", "5.000") + Td("Notes", "") + "</tr>\n </table>\n <p/>";
    // survey path: one selected file, legend line 800 / 3 = 266 capped at 60
    html += "\n <h3>Survey Path </h3>" + Picture("1", 2, "") + "\n <table border=\"1\">\n <tr>" +
            Td("legendText", "a&amp;b.ssd") +
            "\n </tr>\n <tr>\n <td class=\"legendLine\">"
            "\n <img height=\"18\" src=\"site/bmp3.bmp\" width=\"60\"/>"
            "\n </td>\n </tr>\n </table>\n <p/>\n <p/>";
    // individual analysis, colour mode 0; the AP with 2 samples in the N < 20 list
    html += "\n <h3>Individual Analysis of SelectedAPs </h3>"
            "\n <h3>Coverage of Access Points </h3>" +
            Picture("0", 4, "") +
            "\n <table border=\"1\"><tr>\n <th class=\"legendColor\"> Color </th>"
            "\n <th class=\"legendMAC\" align =\"Center\">    MAC of APs</th>"
            "\n <th class=\"legendSSID\" align =\"Center\">    SSID of APs</th></tr>"
            "\n<tr>\n <td class=\"legendColor\"><img height=\"18\" src=\"site/bmp5.bmp\" "
            "width=\"40\"/></td>" +
            Td("legendMAC", "    00-11-22-33-44-55") + Td("legendSSID", "    " + script) +
            "\n </tr><tr>\n <th class=\"legendColor\"> Color </th>"
            "\n <th class=\"legendMAC\" align =\"Center\"> MAC of APs (N < 20) </th>"
            "\n <th class=\"legendSSID\" align =\"Center\"> SSID of APs (N < 20) </th></tr>"
            "\n<tr>\n <td class=\"legendColor\"><img height=\"18\" src=\"site/bmp6.bmp\" "
            "width=\"40\"/></td>" +
            Td("legendMAC", "    00-11-22-33-44-66") + Td("legendSSID", "    guest") +
            "\n </tr>\n </table>\n </tr>\n <tr>\n <p/>\n <p/>";
    // reliability: picture 7, swatches 8..16
    html += "\n <h3>Coverage Reliability Analysis </h3>" +
            Picture("0", 7, "Reliability analysis with power threshold -90 dBm.") +
            "\n <table border=\"1\">\n <tr>" +
            Cells("legendText", {"90%:100%", "80%:90%", "70%:80%", "60%:70%", "50%:60%", "40%:50%",
                                 "30%:40%", "20%:30%", "10%:20%"}) +
            "\n </tr>\n <tr>" + Swatches(8, 16) + "\n </table>\n <p/>\n <p/>";
    // strength: picture 17, swatches 18..27; steps of (-30 - -90) / 10 = 6
    html += "\n <h3>Coverage of Signal Strength</h3>" +
            Picture("0", 17, "The strongest RSSI (dBm) of AP(s) is shown at a location.") +
            "\n <table border=\"1\">\n <tr>" +
            Cells("legendText", {"-36:-30", "-42:-36", "-48:-42", "-54:-48", "-60:-54", "-66:-60",
                                 "-72:-66", "-78:-72", "-84:-78", "-90:-84"}) +
            "\n </tr>\n <tr>" + Swatches(18, 27) + "\n </table>\n <p/>\n <p/>";
    // overlap: picture 28, swatches 29..38
    html += "\n <h3>Overlap of Selected APs</h3>" +
            Picture("0", 28,
                    "Number of the selected available access points is shown at a location, "
                    "where the AP's signal strength is larger than -90 dBm.") +
            "\n <table border=\"1\">\n <tr>\n <td class=\"legendLabel\"> >= 10 </td>" +
            Cells("legendLabel", {"9", "8", "7", "6", "5", "4", "3", "2", "1"}) +
            "\n </tr>\n <tr>" + Swatches(29, 38) +
            "\n </td>\n </table>\n <p/>\n <p/>\n </body>\n </html>\n";
    return html;
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
    const CReportRequest request = Request("site.html");
    EXPECT_EQ(Run(doc, request), ExpectedLinearReport());
    // Text mode: every line feed is written as CR LF.
    const std::string bytes = ReadText(request.path);
    for (std::size_t at = bytes.find('\n'); at != std::string::npos; at = bytes.find('\n', at + 1))
        ASSERT_TRUE(at > 0 && bytes[at - 1] == '\r') << at;

    EXPECT_EQ(renderer.calls, (std::vector<CRenderCall>{{0, true, false, false, false},
                                                        {3, false, true, true, true},
                                                        {2, false, false, false, false},
                                                        {4, false, false, false, false},
                                                        {5, false, false, false, false}}));
    for (int n = 2; n <= 38; ++n) {
        const auto image = test::ReadBytes(dir.File(Format("site/bmp%d.bmp", n)));
        ASSERT_GE(image.size(), 54u) << n;
        EXPECT_EQ(image[0], 'B');
    }
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
    EXPECT_EQ(ui.progress.Positions(),
              (std::vector<int>{0, 1, 5, 10, 20, 10, 25, 30, 15, 35, 60, 90, 100}));
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
    EXPECT_TRUE(Has(geo, Th({"Latitude", "Longitude"})));
    EXPECT_TRUE(Has(geo, Td("Latitude", "12.50000") + Td("Longitude", "3.25000")));
    EXPECT_TRUE(
        Has(geo, Td("Latitude", " Need More Points") + Td("Longitude", "Need More Points")));
}

TEST_F(StudyReport, ShowAllApsFeetAndPathLegendForTwentyFiles) {
    CTarvoAnalyzerDoc doc = LinearStudy();
    doc.UseFeet = true;
    doc.aps[0].position = {3.048, 30.48};
    doc.files.RemoveAll();
    for (int i = 0; i < 20; ++i) {
        CDataFile f;
        f.title = Format("f%d.ssd", i);
        doc.files.Add(f);
    }
    CReportRequest request = Request("w.html");
    request.options.showAllAps = true;
    const std::string html = Run(doc, request);
    // Only the selected APs are listed, without the "Selected?" column.
    EXPECT_FALSE(Has(html, "Selected?"));
    EXPECT_FALSE(Has(html, ">lab<"));
    EXPECT_TRUE(Has(html, "Y Axis(Ft)"));
    EXPECT_TRUE(Has(html, "Height(Ft)"));
    EXPECT_TRUE(Has(html, ">10.000</td>" + Td("X Axis", "100.000")));
    // 800 / 22 = 36.4 -> 36; legend lines are bmp3 .. bmp22.
    EXPECT_TRUE(Has(html, "src=\"w/bmp3.bmp\" width=\"36\""));
    EXPECT_TRUE(Has(html, "src=\"w/bmp22.bmp\" width=\"36\""));
    EXPECT_TRUE(Has(html, "src=\"w/bmp23.bmp\" width=\"800\""));
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
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Error opening file " + bad + ".");
    EXPECT_EQ(ui.messages[0].title, "File Open Error");
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

    // Pictures that cannot be written are reported once; the report is complete.
    std::ofstream(dir.Path() / "x") << "a file where the picture folder should be";
    ui.messages.clear();
    Run(doc, Request("x.html"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Error opening file " + dir.File("x/bmp2.bmp") + ".");
    EXPECT_EQ(ui.opened.size(), 1u);
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
