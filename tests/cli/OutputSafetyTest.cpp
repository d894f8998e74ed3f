// The tool never destroys a file it was given or had written: an output
// that is one of its inputs is refused, a failed write leaves the earlier
// output whole and says why.

#ifdef TARVO_HAVE_tarvo_export

#include "cli/ToolRunner.h"
#include "support/FileSizeLimit.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tarvo {
namespace {

using test::Has;
using test::ReadBytes;
using test::RunTarvo;

class OutputSafety : public ::testing::Test {
protected:
    void SetUp() override {
        survey = test::WriteGridWalk(dir);
        ASSERT_EQ(RunTarvo({"process", survey, "--save", study}).status, 0);
    }
    test::CTempDir dir;
    std::string survey, study = dir.File("s.tws");
};

TEST_F(OutputSafety, AnOutputThatIsAnInputIsRefused) {
    const std::string map = dir.Write("p.lpf", ReadBytes(survey)); // refused before it is read
    std::filesystem::create_directory(dir.File("r"));
    const std::string picture = dir.Write("r/bmp3.bmp", ReadBytes(survey));
    const std::string same = dir.File("o.kml");
    const std::vector<std::string> inputs{survey, study, map, picture};
    std::vector<std::vector<std::uint8_t>> before;
    for (const std::string& file : inputs)
        before.push_back(ReadBytes(file));
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"report", study, "--out", study},
             {"report", picture, "--out", dir.File("r.html")}, // its pictures' folder
             {"table", study, "--out", study},
             {"process", survey, "--json", survey},
             {"process", "--map", map, survey, "--save", map},
             {"kml", study, "--out", same, "--image", study},
             {"kml", study, "--out", same, "--image", same}}) {
        const test::CToolRun r = RunTarvo(args);
        EXPECT_EQ(r.status, 2) << args[0] << ' ' << args.back();
        EXPECT_TRUE(Has(r.err, "tarvo " + args[0] + ": will not write ")) << r.err;
    }
    for (std::size_t i = 0; i < inputs.size(); ++i)
        EXPECT_EQ(ReadBytes(inputs[i]), before[i]) << inputs[i];
    // Saving a study over the workspace it came from is saving it.
    EXPECT_EQ(RunTarvo({"coverage", study, "--save", study}).status, 0);
}

TEST_F(OutputSafety, FailedWritesKeepTheEarlierOutputAndSayWhy) {
    const std::string png = dir.File("c.png"), html = dir.File("r.html"), txt = dir.File("t.txt");
    const std::vector<std::vector<std::string>> commands{
        {"render", study, "--type", "4", "--out", png},
        {"report", study, "--out", html, "--no-open"},
        {"table", study, "--out", txt, "--delimiter", "comma", "--no-index"}};
    for (const auto& args : commands)
        ASSERT_EQ(RunTarvo(args).status, 0) << args[0];
    EXPECT_EQ(ReadBytes(txt).at(3), ','); // "Lat,Lon,..."
    const auto earlier = {ReadBytes(png), ReadBytes(html), ReadBytes(txt)};
    {
        test::CFileSizeLimit full(2000); // as if the disk filled up
        // The report stops at its first picture.
        const std::vector<std::string> failing{png, dir.File("r/bmp2.bmp"), txt};
        for (std::size_t i = 0; i < commands.size(); ++i) {
            const test::CToolRun r = RunTarvo(commands[i]);
            EXPECT_EQ(r.status, 1) << commands[i][0];
            EXPECT_TRUE(Has(r.err, "Error writing file " + failing[i] + ". (File too large)"))
                << r.err;
        }
    }
    auto kept = earlier.begin();
    for (const std::string& file : {png, html, txt})
        EXPECT_EQ(ReadBytes(file), *kept++) << file;
    const test::CToolRun r = RunTarvo({"render", study, "--out", dir.File("no/c.png")});
    EXPECT_TRUE(Has(r.err, "tarvo render: Error opening file " + dir.File("no/c.png") +
                               ". (No such file or directory)"))
        << r.err;
}

TEST_F(OutputSafety, KmlPictureGetsItsOwnName) {
    // A KML not named .kml gets a picture beside it, linked by its full path
    // although both were named relative to the current folder.
    const auto here = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    const test::CToolRun made = RunTarvo({"kml", "s.tws", "--out", "overlay.xml"});
    std::filesystem::current_path(here);
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_TRUE(Has(test::ReadText(dir.File("overlay.xml")),
                    "<href> " + dir.File("overlay.xml.bmp") + " </href>"));
    EXPECT_EQ(ReadBytes(dir.File("overlay.xml.bmp")).at(0), 'B');
}

} // namespace
} // namespace tarvo

#endif // TARVO_HAVE_tarvo_export
