// The demo's road (scripts/run-demo) on the office sample study: processed
// and saved, its coverage computed into the same workspace, then drawn and
// reported from that workspace as a user would.

#ifdef TARVO_HAVE_tarvo_export

#include "cli/ToolRunner.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>

namespace tarvo {
namespace {

using test::RunTarvo;

TEST(DemoStudy, WorkspaceDrawsAndReportsItsCoverageInItsColours) {
    test::CTempDir dir;
    // The files named relative to the current folder, as typed.
    const auto here = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    ::unsetenv("XDG_RUNTIME_DIR"); // no desktop session: Qt has a note on it
    testing::internal::CaptureStderr();
    for (const std::vector<std::string>& step : std::vector<std::vector<std::string>>{
             {"simulate", "--scenario", "office", "--out", ".", "--seed", "1"},
             {"process", "--map", "office.lpf", "walk1.ssd", "walk2.ssd", "--save", "o.tws"},
             {"coverage", "o.tws", "--save", "o.tws"},
             {"report", "o.tws", "--colour-mode", "1", "--out", "r.html", "--no-open"}})
        EXPECT_EQ(RunTarvo(step).status, 0) << step[0];
    std::filesystem::current_path(here);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), ""); // not even a note of Qt
    const std::string png = dir.File("p.png");
    const auto render = [&](std::vector<std::string> args) {
        args.insert(args.begin(), {"render", dir.File("o.tws"), "--no-map", "--out", png});
        EXPECT_EQ(RunTarvo(args).status, 0);
        return QImage(QString::fromStdString(png));
    };

    // Strength bands and legend swatches in the default palette, blended
    // over white at the opacity of a loaded collection, 192.
    const QImage bands = render({"--type", "4", "--legend"});
    std::set<QRgb> seen;
    for (const QRgb c : {0xFF0000, 0xCD5A6A, 0x800000, 0x228B22, 0x32CD9A, 0x2FFFAD, 0x5C5CCD,
                         0xB469FF, 0x00FFFF, 0x0000FF}) {
        const auto mix = [](int v) { return (v * 192 + 255 * 63 + 127) / 255; };
        const QRgb b = qRgb(mix(qRed(c)), mix(qGreen(c)), mix(qBlue(c)));
        for (int y = 0; y < bands.height(); ++y)
            for (int x = 0; x < bands.width(); ++x) {
                const QRgb p = bands.pixel(x, y);
                if (std::abs(qRed(p) - qRed(b)) + std::abs(qGreen(p) - qGreen(b)) +
                        std::abs(qBlue(p) - qBlue(b)) <=
                    3)
                    seen.insert(b);
            }
    }
    EXPECT_GE(seen.size(), 5u);

    // Colour mode 1 colours each AP's bands by its group, which the reopened
    // workspace has: no grey contours of an AP without a group colour.
    const QImage grouped = render({"--type", "3", "--colour-mode", "1"});
    EXPECT_NE(render({"--type", "3", "--colour-mode", "0"}), grouped);
    int grey = 0;
    for (int y = 0; y < grouped.height(); ++y)
        for (int x = 0; x < grouped.width(); ++x) {
            const QRgb c = grouped.pixel(x, y);
            grey += qRed(c) == qGreen(c) && qGreen(c) == qBlue(c) && qRed(c) < 250;
        }
    EXPECT_EQ(grey, 0);

    // The report lists the groups, only the selected APs, the files by full path.
    const std::string html = test::ReadText(dir.File("r.html"));
    EXPECT_NE(html.find("<td class=\"legendText\" align =\"Center\">  SSID: &quot;"), html.npos);
    EXPECT_EQ(html.find("Selected?"), html.npos);
    EXPECT_NE(html.find("align =\"Center\"> " + dir.File("walk1.ssd") + "</td>"), html.npos);
}

} // namespace
} // namespace tarvo

#endif // TARVO_HAVE_tarvo_export
