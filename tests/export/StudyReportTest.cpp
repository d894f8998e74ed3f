#include "export/StudyReport.h"

#include "model/Text.h"
#include "support/FakeUi.h"
#include "support/TempDir.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
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

std::string WithoutCr(const std::string& text) {
    std::string out;
    for (char c : text)
        if (c != '\r')
            out += c;
    return out;
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
    b.path = "/s/b.ssd";
    b.selected = 0;
    doc.files.Add(b);

    CAPInfo ap0 = Ap("<script>alert(1)</script>", 0x55, 6, 5, 4);
    ap0.selected = 1;
    ap0.valid = 1;
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

const char* const kExpectedLinearReport =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
    "\n <html>"
    "\n <head>"
    "\n<link href=\"site/report.css\" rel=\"stylesheet\"/>"
    "\n<title>Site Survey Report with KDR Tarvo Software</title>"
    "\n </head>"
    "\n <body>"
    "\n <center><h2>Site Survey Study Report with KDR Tarvo Software</h2></center>"
    "\n <p/>\n <p/>\n <tr>\n <td>"
    "\n Report date: Thu Jan  1 00:00:00 1970\n"
    "\n </td>\n </tr>\n <p/>\n <p/>"
    "\n <tr>\n <td>\n Map/Projection File: /maps/office.lpf\n </td>\n </tr>"
    // SSD files: only the selected one
    "\n <h3> SSD File Infomation</h3>"
    "\n <table border=\"1\">"
    "\n <tr>"
    "\n <th align =\"Center\">Index</th>"
    "\n <th align =\"Center\">File Directory & Name</th>"
    "\n <th align =\"Center\">Created Time</th>"
    "\n </tr>"
    "\n <tr>"
    "\n <td class=\"Index\" align =\"Center\">1</td>"
    "\n <td class=\"Path\\Name\" align =\"Center\"> /s/a&amp;b.ssd</td>"
    "\n <td class=\"Survey Time\" align =\"Center\"> Mon Jan  1 00:00:00 2024\n</td>"
    "\n </tr>"
    "\n </table>\n <p/>\n <p/>"
    // access points: selected first, then the others with "No"
    "\n <h3>Access Point Information</h3>"
    "\n <table border=\"1\">"
    "\n <tr>"
    "\n <th align =\"Center\">Index</th>"
    "\n <th align =\"Center\">SSID</th>"
    "\n <th align =\"Center\">MAC</th>"
    "\n <th align =\"Center\">Channel</th>"
    "\n <th align =\"Center\">Selected?</th>"
    "\n <th align =\"Center\">Y Axis(m)</th>"
    "\n <th align =\"Center\">X Axis(m)</th>"
    "\n <th align =\"Center\">N1 Points</th>"
    "\n <th align =\"Center\">N2 Points</th>"
    "\n </tr>"
    "\n <tr>"
    "\n <td class=\"Index\" align =\"Center\">1</td>"
    "\n <td class=\"SSID\" align =\"Center\">&lt;script&gt;alert(1)&lt;/script&gt;</td>"
    "\n <td class=\"MAC\" align =\"Center\">00-11-22-33-44-55</td>"
    "\n <td class=\"Channel\" align =\"Center\">6</td>"
    "\n <td class = \"Selected?\" align =\"Center\"> Yes </td>"
    "\n <td class=\"Y Axis\" align =\"Center\">12.500</td>"
    "\n <td class=\"X Axis\" align =\"Center\">3.250</td>"
    "\n <td class=\"N1 Points\" align =\"Center\"> 5</th>"
    "\n <td class=\"N2 Points\" align =\"Center\"> 4</th>"
    "</tr>"
    "\n <tr>"
    "\n <td class=\"Index\" align =\"Center\">2</td>"
    "\n <td class=\"SSID\" align =\"Center\">guest</td>"
    "\n <td class=\"MAC\" align =\"Center\">00-11-22-33-44-66</td>"
    "\n <td class=\"Channel\" align =\"Center\">11</td>"
    "\n <td class = \"Selected?\" align =\"Center\"> Yes </td>"
    "\n <td class=\"Y Axis\" align =\"Center\">Not Enough Points</td>"
    "\n <td class=\"X Axis\" align =\"Center\">Not Enough Points</td>"
    "\n <td class=\"N1 Points\" align =\"Center\"> 2</th>"
    "\n <td class=\"N2 Points\" align =\"Center\"> 2</th>"
    "</tr>"
    "<tr>"
    "<td class=\"Index\" align =\"Center\">3</td>"
    "<td class=\"SSID\" align =\"Center\">lab</td>"
    "\n <td class=\"MAC\" align =\"Center\">00-11-22-33-44-77</td>"
    "<td class=\"Channel\" align =\"Center\">36</td>"
    "<td class = \"Selected?\" align =\"Center\"> No </td>"
    "\n <td class=\"Y Axis\" align =\"Center\">Need More Points</td>"
    "\n <td class=\"X Axis\" align =\"Center\">Need More Points</td>"
    "\n <td class=\"N1 Points\" align =\"Center\"> 30</th>"
    "\n <td class=\"N2 Points\" align =\"Center\"> 25</th>"
    "\n </tr>"
    "\n </table>\n <p/>"
    "\n <h3>AP Antenna Information and Notes</h3>"
    "\n <table border=\"1\">"
    "\n <tr>"
    "\n <th align =\"Center\">AP's SSID</th>"
    "\n <th align =\"Center\">AP's MAC</th>"
    "\n <th align =\"Center\">Trans. Power(dBm)</th>"
    "\n <th align =\"Center\">Antenna Gain</th>"
    "\n <th align =\"Center\">Height(m)</th>"
    "\n <th align =\"Center\">Direction(Deg)</th>"
    "\n <th align =\"Center\">Notes</th>"
    "\n <tr>"
    "\n <td align =\"Center\">&lt;script&gt;alert(1)&lt;/script&gt;</td>"
    "\n <td align =\"Center\">00-11-22-33-44-55</td>"
    "\n <td class=\"Trans. Power(dBm)\" align =\"Center\">20</td>"
    "\n <td class=\"Antenna Type\" align =\"Center\">5 dBi</td>"
    "\n <td class=\"Height\" align =\"Center\">3</td>"
    "\n <td class=\"Direction(Deg)\" align =\"Center\">90</td>"
    "\n <td class=\"Notes for AP\" align =\"Center\">line1<br>line2 &amp; &lt;b&gt;</td>"
    "\n </tr>"
    "\n <tr>"
    "\n <td align =\"Center\">guest</td>"
    "\n <td align =\"Center\">00-11-22-33-44-66</td>"
    "\n <td class=\"Trans. Power(dBm)\" align =\"Center\"></td>"
    "\n <td class=\"Antenna Type\" align =\"Center\"></td>"
    "\n <td class=\"Height\" align =\"Center\"></td>"
    "\n <td class=\"Direction(Deg)\" align =\"Center\"></td>"
    "\n <td class=\"Notes for AP\" align =\"Center\"></td>"
    "\n </tr>"
    "\n <tr>"
    "\n <td align =\"Center\">lab</td>"
    "\n <td align =\"Center\">00-11-22-33-44-77</td>"
    "\n <td class=\"Trans. Power(dBm)\" align =\"Center\"></td>"
    "\n <td class=\"Antenna Type\" align =\"Center\"></td>"
    "\n <td class=\"Height\" align =\"Center\"></td>"
    "\n <td class=\"Direction(Deg)\" align =\"Center\"></td>"
    "\n <td class=\"Notes for AP\" align =\"Center\"></td>"
    "\n </tr>"
    "\n </tr>\n </table>\n <p/>\n <p/>"
    // marked APs
    "\n <h3>Marked Access Point's Information</h3>"
    "\n <table border=\"1\">"
    "\n <tr>"
    "\n <th align =\"Center\">Index</th>"
    "\n <th align =\"Center\">SSID</th>"
    "\n <th align =\"Center\">MAC</th>"
    "\n <th align =\"Center\">Channel</th>"
    "\n <th align =\"Center\">Y Axis(m)</th>"
    "\n <th align =\"Center\">X Axis(m)</th>"
    "\n </tr>"
    "\n <tr>"
    "\n <td class=\"Index\" align =\"Center\">1</td>"
    "\n <td class=\"SSID\" align =\"Center\">marked</td>"
    "\n <td class=\"MAC\" align =\"Center\">AA-BB-CC-DD-EE-FF</td>"
    "\n <td class=\"Channel\" align =\"Center\">1</td>"
    "\n <td class=\"Y Axis\" align =\"Center\">1.000</td>"
    "\n <td class=\"X Axis\" align =\"Center\">2.000</td>"
    "</tr>"
    "\n </table>\n <p/>"
    "\n <h3>Marked AP's Antenna Information and Notes</h3>"
    "\n <table border=\"1\">"
    "\n <tr>"
    "\n <th align =\"Center\">AP's Name</th>"
    "\n <th align =\"Center\">Trans. Power(dBm)</th>"
    "\n <th align =\"Center\">Antenna Gain</th>"
    "\n <th align =\"Center\">Height(m)</th>"
    "\n <th align =\"Center\">Direction(Deg)</th>"
    "\n <th align =\"Center\">Notes</th>"
    "\n <tr>"
    "\n <td align =\"Center\">M1</td>"
    "\n <td class=\"Trans. Power(dBm)\" align =\"Center\"></td>"
    "\n <td class=\"Antenna Type\" align =\"Center\"></td>"
    "\n <td class=\"Height\" align =\"Center\"></td>"
    "\n <td class=\"Direction(Deg)\" align =\"Center\"></td>"
    "\n <td class=\"Notes for AP\" align =\"Center\"></td>"
    "\n </tr>"
    "\n </tr>\n </table>\n <p/>\n <p/>"
    // interference sources
    "\n <h3>Interference Source's Information</h3>"
    "\n <table border=\"1\">"
    "\n <tr>"
    "\n <th align =\"Center\">Index</th>"
    "\n <th align =\"Center\">Name</th>"
    "\n <th align =\"Center\">Frequency</th>"
    "\n <th align =\"Center\">Bandwidth</th>"
    "\n <th align =\"Center\">Y Axis(m)</th>"
    "\n <th align =\"Center\">X Axis(m)</th>"
    "\n <th align =\"Center\">Notes</th>"
    "\n </tr>"
    "\n <tr>"
    "\n <td class=\"Index\" align =\"Center\">1</td>"
    "\n <td class=\"Name\" align =\"Center\">Oven</td>"
    "\n <td class=\"Frequency\" align =\"Center\">2450 MHz</td>"
    "\n <td class=\"Bandwidth\" align =\"Center\">20 MHz</td>"
    "\n <td class=\"Y Axis\" align =\"Center\">4.000</td>"
    "\n <td class=\"X Axis\" align =\"Center\">5.000</td>"
    "\n <td class=\"Notes\" align =\"Center\"></td>"
    "</tr>"
    "\n </table>\n <p/>"
    // survey path: one selected file, legend line 800 / 3 = 266 capped at 60
    "\n <h3>Survey Path </h3>"
    "\n <table border=\"1\">\n <tbody>\n <tr>\n <td>"
    "\n <img height=\"600\" src=\"site/bmp2.bmp\" width=\"800\"/>"
    "\n </td>\n </tr>\n </tbody>\n </table>"
    "\n <table border=\"1\">\n <tr>"
    "\n <td class=\"legendText\" align =\"Center\">a&amp;b.ssd</td>"
    "\n </tr>\n <tr>"
    "\n <td class=\"legendLine\">"
    "\n <img height=\"18\" src=\"site/bmp3.bmp\" width=\"60\"/>"
    "\n </td>"
    "\n </tr>\n </table>\n <p/>\n <p/>"
    // individual analysis, colour mode 0; the AP with 2 samples in the N < 20 list
    "\n <h3>Individual Analysis of SelectedAPs </h3>"
    "\n <h3>Coverage of Access Points </h3>"
    "\n <table border=\"0\">\n <tbody>\n <tr>\n <td>"
    "\n <img height=\"600\" src=\"site/bmp4.bmp\" width=\"800\"/>"
    "\n </td>\n </tr>\n </tbody>\n </table>"
    "\n <table border=\"1\">"
    "<tr>"
    "\n <th class=\"legendColor\"> Color </th>"
    "\n <th class=\"legendMAC\" align =\"Center\">    MAC of APs</th>"
    "\n <th class=\"legendSSID\" align =\"Center\">    SSID of APs</th>"
    "</tr>"
    "\n<tr>"
    "\n <td class=\"legendColor\"><img height=\"18\" src=\"site/bmp5.bmp\" width=\"40\"/></td>"
    "\n <td class=\"legendMAC\" align =\"Center\">    00-11-22-33-44-55</td>"
    "\n <td class=\"legendSSID\" align =\"Center\">    &lt;script&gt;alert(1)&lt;/script&gt;</td>"
    "\n </tr>"
    "<tr>"
    "\n <th class=\"legendColor\"> Color </th>"
    "\n <th class=\"legendMAC\" align =\"Center\"> MAC of APs (N < 20) </th>"
    "\n <th class=\"legendSSID\" align =\"Center\"> SSID of APs (N < 20) </th>"
    "</tr>"
    "\n<tr>"
    "\n <td class=\"legendColor\"><img height=\"18\" src=\"site/bmp6.bmp\" width=\"40\"/></td>"
    "\n <td class=\"legendMAC\" align =\"Center\">    00-11-22-33-44-66</td>"
    "\n <td class=\"legendSSID\" align =\"Center\">    guest</td>"
    "\n </tr>"
    "\n </table>\n </tr>\n <tr>\n <p/>\n <p/>"
    // reliability: picture 7, swatches 8..16
    "\n <h3>Coverage Reliability Analysis </h3>"
    "\n <table border=\"0\">\n <tbody>\n <tr>\n <td>"
    "\n <img height=\"600\" src=\"site/bmp7.bmp\" width=\"800\"/>"
    "\n </td>\n </tr>\n <tr>"
    "\n <td> Reliability analysis with power threshold -90 dBm. </td>"
    "\n </tr>\n </tbody>\n </table>"
    "\n <table border=\"1\">\n <tr>"
    "\n <td class=\"legendText\" align =\"Center\">90%:100%</td>"
    "\n <td class=\"legendText\" align =\"Center\">80%:90%</td>"
    "\n <td class=\"legendText\" align =\"Center\">70%:80%</td>"
    "\n <td class=\"legendText\" align =\"Center\">60%:70%</td>"
    "\n <td class=\"legendText\" align =\"Center\">50%:60%</td>"
    "\n <td class=\"legendText\" align =\"Center\">40%:50%</td>"
    "\n <td class=\"legendText\" align =\"Center\">30%:40%</td>"
    "\n <td class=\"legendText\" align =\"Center\">20%:30%</td>"
    "\n <td class=\"legendText\" align =\"Center\">10%:20%</td>"
    "\n </tr>\n <tr>"
    "\n <td class=\"legendColor\">\n <img height=\"18\" src=\"site/bmp8.bmp\" width=\"66\"/>\n "
    "</td>"
    "\n <td class=\"legendColor\">\n <img height=\"18\" src=\"site/bmp9.bmp\" width=\"66\"/>\n "
    "</td>"
    "\n <td class=\"legendColor\">\n <img height=\"18\" src=\"site/bmp10.bmp\" width=\"66\"/>\n "
    "</td>"
    "\n <td class=\"legendColor\">\n <img height=\"18\" src=\"site/bmp11.bmp\" width=\"66\"/>\n "
    "</td>"
    "\n <td class=\"legendColor\">\n <img height=\"18\" src=\"site/bmp12.bmp\" width=\"66\"/>\n "
    "</td>"
    "\n <td class=\"legendColor\">\n <img height=\"18\" src=\"site/bmp13.bmp\" width=\"66\"/>\n "
    "</td>"
    "\n <td class=\"legendColor\">\n <img height=\"18\" src=\"site/bmp14.bmp\" width=\"66\"/>\n "
    "</td>"
    "\n <td class=\"legendColor\">\n <img height=\"18\" src=\"site/bmp15.bmp\" width=\"66\"/>\n "
    "</td>"
    "\n <td class=\"legendColor\">\n <img height=\"18\" src=\"site/bmp16.bmp\" width=\"66\"/>\n "
    "</td>"
    "\n </table>\n <p/>\n <p/>"
    // strength: picture 17, swatches 18..27; steps of (-30 - -90) / 10 = 6
    "\n <h3>Coverage of Signal Strength</h3>"
    "\n <table border=\"0\">\n <tbody>\n <tr>\n <td>"
    "\n <img height=\"600\" src=\"site/bmp17.bmp\" width=\"800\"/>"
    "\n </td>\n </tr>\n <tr>"
    "\n <td> The strongest RSSI (dBm) of AP(s) is shown at a location. </td>"
    "\n </tr>\n </tbody>\n </table>"
    "\n <table border=\"1\">\n <tr>"
    "\n <td class=\"legendText\" align =\"Center\">-36:-30</td>"
    "\n <td class=\"legendText\" align =\"Center\">-42:-36</td>"
    "\n <td class=\"legendText\" align =\"Center\">-48:-42</td>"
    "\n <td class=\"legendText\" align =\"Center\">-54:-48</td>"
    "\n <td class=\"legendText\" align =\"Center\">-60:-54</td>"
    "\n <td class=\"legendText\" align =\"Center\">-66:-60</td>"
    "\n <td class=\"legendText\" align =\"Center\">-72:-66</td>"
    "\n <td class=\"legendText\" align =\"Center\">-78:-72</td>"
    "\n <td class=\"legendText\" align =\"Center\">-84:-78</td>"
    "\n <td class=\"legendText\" align =\"Center\">-90:-84</td>"
    "\n </tr>\n <tr>"
    "\n <td class=\"legendColor\">\n <img height=\"18\" src=\"site/bmp18.bmp\" width=\"66\"/>\n "
    "</td>"
    "\n <td class=\"legendColor\">\n <img height=\"18\" src=\"site/bmp19.bmp\" width=\"66\"/>\n "
    "</td>"
    "\n <td class=\"legendColor\">\n <img height=\"18\" src=\"site/bmp20.bmp\" width=\"66\"/>\n "
    "</td>"
    "\n <td class=\"legendColor\">\n <img height=\"18\" src=\"site/bmp21.bmp\" width=\"66\"/>\n "
    "</td>"
    "\n <td class=\"legendColor\">\n <img height=\"18\" src=\"site/bmp22.bmp\" width=\"66\"/>\n "
    "</td>"
    "\n <td class=\"legendColor\">\n <img height=\"18\" src=\"site/bmp23.bmp\" width=\"66\"/>\n "
    "</td>"
    "\n <td class=\"legendColor\">\n <img height=\"18\" src=\"site/bmp24.bmp\" width=\"66\"/>\n "
    "</td>"
    "\n <td class=\"legendColor\">\n <img height=\"18\" src=\"site/bmp25.bmp\" width=\"66\"/>\n "
    "</td>"
    "\n <td class=\"legendColor\">\n <img height=\"18\" src=\"site/bmp26.bmp\" width=\"66\"/>\n "
    "</td>"
    "\n <td class=\"legendColor\">\n <img height=\"18\" src=\"site/bmp27.bmp\" width=\"66\"/>\n "
    "</td>"
    "\n </table>\n <p/>\n <p/>"
    // overlap: picture 28, swatches 29..38
    "\n <h3>Overlap of Selected APs</h3>"
    "\n <table border=\"0\">\n <tbody>\n <tr>\n <td>"
    "\n <img height=\"600\" src=\"site/bmp28.bmp\" width=\"800\"/>"
    "\n </td>\n </tr>\n <tr>"
    "\n <td> Number of the selected available access points is shown at a location, where the "
    "AP's signal strength is larger than -90 dBm. </td>"
    "\n </tr>\n </tbody>\n </table>"
    "\n <table border=\"1\">\n <tr>"
    "\n <td class=\"legendLabel\"> >= 10 </td>"
    "\n <td class=\"legendLabel\" align =\"Center\">9</td>"
    "\n <td class=\"legendLabel\" align =\"Center\">8</td>"
    "\n <td class=\"legendLabel\" align =\"Center\">7</td>"
    "\n <td class=\"legendLabel\" align =\"Center\">6</td>"
    "\n <td class=\"legendLabel\" align =\"Center\">5</td>"
    "\n <td class=\"legendLabel\" align =\"Center\">4</td>"
    "\n <td class=\"legendLabel\" align =\"Center\">3</td>"
    "\n <td class=\"legendLabel\" align =\"Center\">2</td>"
    "\n <td class=\"legendLabel\" align =\"Center\">1</td>"
    "\n </tr>\n <tr>"
    "\n <td class=\"legendColor\">\n <img height=\"18\" src=\"site/bmp29.bmp\" width=\"66\"/>\n "
    "</td>"
    "\n <td class=\"legendColor\">\n <img height=\"18\" src=\"site/bmp30.bmp\" width=\"66\"/>\n "
    "</td>"
    "\n <td class=\"legendColor\">\n <img height=\"18\" src=\"site/bmp31.bmp\" width=\"66\"/>\n "
    "</td>"
    "\n <td class=\"legendColor\">\n <img height=\"18\" src=\"site/bmp32.bmp\" width=\"66\"/>\n "
    "</td>"
    "\n <td class=\"legendColor\">\n <img height=\"18\" src=\"site/bmp33.bmp\" width=\"66\"/>\n "
    "</td>"
    "\n <td class=\"legendColor\">\n <img height=\"18\" src=\"site/bmp34.bmp\" width=\"66\"/>\n "
    "</td>"
    "\n <td class=\"legendColor\">\n <img height=\"18\" src=\"site/bmp35.bmp\" width=\"66\"/>\n "
    "</td>"
    "\n <td class=\"legendColor\">\n <img height=\"18\" src=\"site/bmp36.bmp\" width=\"66\"/>\n "
    "</td>"
    "\n <td class=\"legendColor\">\n <img height=\"18\" src=\"site/bmp37.bmp\" width=\"66\"/>\n "
    "</td>"
    "\n <td class=\"legendColor\">\n <img height=\"18\" src=\"site/bmp38.bmp\" width=\"66\"/>\n "
    "</td>"
    "\n </td>"
    "\n </table>\n <p/>\n <p/>"
    "\n </body>"
    "\n </html>\n";

class StudyReport : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "UTC", 1);
        tzset();
    }
    CReportRequest Request(const std::string& path) {
        CReportRequest r;
        r.path = path;
        r.now = 0;
        return r;
    }
};

TEST_F(StudyReport, LinearStudyWithEveryOption) {
    CTempDir dir;
    CTarvoAnalyzerDoc doc = LinearStudy();
    CFakeUi ui;
    CFakeRenderer renderer;
    const std::string path = dir.File("site.html");
    ASSERT_EQ(WriteStudyReport(doc, Request(path), ui, renderer.Get()), ReportResult::Written);

    const std::string bytes = ReadText(path);
    // Text mode: every line feed is written as CR LF.
    for (std::size_t at = bytes.find('\n'); at != std::string::npos; at = bytes.find('\n', at + 1))
        ASSERT_TRUE(at > 0 && bytes[at - 1] == '\r') << at;
    EXPECT_EQ(WithoutCr(bytes), kExpectedLinearReport);

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
    ASSERT_EQ(ui.opened.size(), 1u);
    EXPECT_EQ(ui.opened[0], path);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(StudyReport, EveryOptionOffAndGeographicPositions) {
    CTempDir dir;
    CTarvoAnalyzerDoc doc = LinearStudy();
    doc.projectionKind = kProjectionGps;
    doc.linearPointsPresent = false;
    doc.projectionPath.clear();
    CReportRequest request = Request(dir.File("r.html"));
    request.options =
        CReportOptions{false, false, false, false, false, false, false, false, false, false};
    CFakeUi ui;
    CFakeRenderer renderer;
    ASSERT_EQ(WriteStudyReport(doc, request, ui, renderer.Get()), ReportResult::Written);
    const std::string html = WithoutCr(ReadText(request.path));
    // Head, date, and the individual analysis (a selected AP has 4 samples);
    // no projection line. The first numbered image is 3 although no path
    // picture was drawn.
    EXPECT_EQ(html.find("Map/Projection File"), std::string::npos);
    EXPECT_EQ(html.find("<h3>"), html.find("\n <h3>Individual Analysis of SelectedAPs </h3>") + 2);
    EXPECT_NE(html.find("src=\"r/bmp3.bmp\" width=\"800\""), std::string::npos);
    EXPECT_EQ(html.find("bmp2.bmp"), std::string::npos);
    EXPECT_EQ(renderer.calls.size(), 1u);

    // Geographic position cells and the " Need More Points" form.
    request.options = CReportOptions{};
    request.options.showAllAps = false;
    doc.ProjectionMatrix[0][1] = 1.0; // latitude = Y, longitude = X
    doc.ProjectionMatrix[1][0] = -1.0;
    doc.SiteScaleX = doc.SiteScaleY = 1.0;
    ASSERT_EQ(WriteStudyReport(doc, request, ui, renderer.Get()), ReportResult::Written);
    const std::string geo = WithoutCr(ReadText(request.path));
    EXPECT_NE(geo.find("\n <th align =\"Center\">Latitude</th>\n <th align =\"Center\">Longitude"
                       "</th>"),
              std::string::npos);
    EXPECT_NE(geo.find("\n <td class=\"Latitude\" align =\"Center\">12.50000</td>"
                       "\n <td class=\"Longitude\" align =\"Center\">3.25000</td>"),
              std::string::npos);
    EXPECT_NE(geo.find("\n <td class=\"Latitude\" align =\"Center\"> Need More Points</td>"
                       "\n <td class=\"Longitude\" align =\"Center\">Need More Points</td>"),
              std::string::npos);
}

TEST_F(StudyReport, ShowAllApsListsSelectedOnlyAndFeetHeaders) {
    CTempDir dir;
    CTarvoAnalyzerDoc doc = LinearStudy();
    doc.UseFeet = true;
    doc.aps[0].position = {3.048, 30.48};
    CReportRequest request = Request(dir.File("f.html"));
    request.options.showAllAps = true;
    CFakeUi ui;
    CFakeRenderer renderer;
    ASSERT_EQ(WriteStudyReport(doc, request, ui, renderer.Get()), ReportResult::Written);
    const std::string html = WithoutCr(ReadText(request.path));
    EXPECT_EQ(html.find("Selected?"), std::string::npos);
    EXPECT_EQ(html.find(">lab<"), std::string::npos);
    EXPECT_NE(html.find("Y Axis(Ft)"), std::string::npos);
    EXPECT_NE(html.find("Height(Ft)"), std::string::npos);
    EXPECT_NE(html.find(">10.000</td>\n <td class=\"X Axis\" align =\"Center\">100.000</td>"),
              std::string::npos);
}

TEST_F(StudyReport, PathLegendWidthForTwentyFiles) {
    CTempDir dir;
    CTarvoAnalyzerDoc doc = LinearStudy();
    doc.files.RemoveAll();
    for (int i = 0; i < 20; ++i) {
        CDataFile f;
        f.title = Format("f%d.ssd", i);
        doc.files.Add(f);
    }
    CReportRequest request = Request(dir.File("w.html"));
    CFakeUi ui;
    CFakeRenderer renderer;
    ASSERT_EQ(WriteStudyReport(doc, request, ui, renderer.Get()), ReportResult::Written);
    const std::string html = ReadText(request.path);
    // 800 / 22 = 36.4 -> 36; legend lines are bmp3 .. bmp22.
    EXPECT_NE(html.find("src=\"w/bmp3.bmp\" width=\"36\""), std::string::npos);
    EXPECT_NE(html.find("src=\"w/bmp22.bmp\" width=\"36\""), std::string::npos);
    EXPECT_NE(html.find("src=\"w/bmp23.bmp\" width=\"800\""), std::string::npos);
}

TEST_F(StudyReport, GroupAndCombinedLegends) {
    CTempDir dir;
    CTarvoAnalyzerDoc doc = LinearStudy();
    CGroupInfo group;
    group.name = "corp & co";
    group.colour = 0x123456;
    group.anySelected = 1;
    group.AddItem(doc.aps[0].bssid, 0);
    group.AddItem(doc.aps[1].bssid, 99); // stale index: skipped
    doc.activeGroups.groups.Add(group);
    doc.coverageMode = 1;
    CReportRequest request = Request(dir.File("g.html"));
    CFakeUi ui;
    CFakeRenderer renderer;
    ASSERT_EQ(WriteStudyReport(doc, request, ui, renderer.Get()), ReportResult::Written);
    std::string html = WithoutCr(ReadText(request.path));
    EXPECT_NE(html.find("<tr>\n <th class=\"legendColor\"> Color </td>"
                        "\n <th class=\"legendText\" align =\"Center\">    Groups of APs</td></tr>"
                        "\n <tr>\n <td class=\"legendColor\"><img height=\"18\" src=\"g/bmp5.bmp\" "
                        "width=\"40\"/></td>"
                        "\n <td class=\"legendText\" align =\"Center\">  corp &amp; co</td>"),
              std::string::npos);
    EXPECT_EQ(doc.aps[0].table3[5], 0x123456); // contours drawn in the group colour

    doc.coverageMode = 2;
    doc.commonColour = 0x00AA00;
    ASSERT_EQ(WriteStudyReport(doc, request, ui, renderer.Get()), ReportResult::Written);
    html = WithoutCr(ReadText(request.path));
    EXPECT_NE(html.find("<tr>\n <td class=\"legendColor\"> <img height=\"18\" src=\"g/bmp5.bmp\" "
                        "width=\"40\"/> </td>\n <td class=\"legendText\" align =\"Center\"> "
                        "Combined Mode: For all selected APs</td>\n </tr>"),
              std::string::npos);
    EXPECT_EQ(doc.aps[0].table3[5], 0x00AA00);
}

TEST_F(StudyReport, UnwritableReportIsReportedAndUserCssKept) {
    CTempDir dir;
    CTarvoAnalyzerDoc doc = LinearStudy();
    {
        CFakeUi ui;
        CFakeRenderer renderer;
        const std::string bad = dir.File("missing/x.html");
        EXPECT_EQ(WriteStudyReport(doc, Request(bad), ui, renderer.Get()), ReportResult::Failed);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, "Error opening file " + bad + ".");
        EXPECT_EQ(ui.messages[0].title, "File Open Error");
        EXPECT_EQ(ui.messages[0].icon, MsgIcon::Error);
        EXPECT_TRUE(ui.opened.empty());
        EXPECT_TRUE(renderer.calls.empty());
        EXPECT_FALSE(ui.progress.Visible());
    }
    {
        std::filesystem::create_directories(dir.Path() / "mine");
        std::ofstream(dir.Path() / "mine" / "report.css") << "h3 { color: red; }";
        CFakeUi ui;
        CFakeRenderer renderer;
        CReportRequest request = Request(dir.File("mine.html"));
        request.open = false;
        ASSERT_EQ(WriteStudyReport(doc, request, ui, renderer.Get()), ReportResult::Written);
        EXPECT_EQ(ReadText(dir.File("mine/report.css")), "h3 { color: red; }");
        EXPECT_TRUE(ui.opened.empty());
    }
}

TEST_F(StudyReport, PicturesThatCannotBeWrittenAreReportedOnce) {
    CTempDir dir;
    CTarvoAnalyzerDoc doc = LinearStudy();
    std::ofstream(dir.Path() / "x") << "a file where the picture folder should be";
    CFakeUi ui;
    CFakeRenderer renderer;
    CReportRequest request = Request(dir.File("x.html"));
    ASSERT_EQ(WriteStudyReport(doc, request, ui, renderer.Get()), ReportResult::Written);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Error opening file " + dir.File("x/bmp2.bmp") + ".");
    EXPECT_EQ(ui.opened.size(), 1u); // the report itself is complete
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
