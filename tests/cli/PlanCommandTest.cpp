// `tarvo plan`: pictures made into floor plans, their scale, and the
// refusals. Built with the view library only, as the command is.

#ifdef TARVO_HAVE_tarvo_view

#include "cli/ToolRunner.h"
#include "formats/ProjectionReader.h"

#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

#include <filesystem>

namespace tarvo {
namespace {

using test::CToolRun;
using test::Has;
using test::RunTarvo;

// A picture whose every pixel differs from its neighbours: a wrong row
// order, a swapped channel or a padding error all show.
QImage Pattern(int width, int height) {
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixelColor(x, y, QColor((x * 7 + y) % 256, (y * 13) % 256, (x ^ y) % 256));
    return image;
}

CProjectionContents Plan(const std::string& path) {
    const CProjectionParse parse =
        ParseProjection(test::ReadBytes(path), ProjectionFileKind::Linear);
    EXPECT_EQ(parse.status, ProjectionParseStatus::Ok) << path;
    return parse.contents;
}

class PlanCommand : public ::testing::Test {
protected:
    std::string Picture(const std::string& name, const QImage& image) {
        const std::string path = dir.File(name);
        EXPECT_TRUE(image.save(QString::fromStdString(path)));
        return path;
    }
    test::CTempDir dir;
};

TEST_F(PlanCommand, APngThroughPlanAndMapKeepsItsPixels) {
    const QImage picture = Pattern(301, 203); // odd width: padded bitmap rows
    const std::string png = Picture("floor.png", picture);
    const std::string plan = dir.File("floor.lpf");
    CToolRun r = RunTarvo({"plan", png, "--out", plan, "--scale", "0.05"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, plan + ": 301 x 203 pixels at 0.05 m per pixel, 15.05 x 10.15 m\n");
    const CProjectionContents contents = Plan(plan);
    EXPECT_EQ(contents.subtype, 1);
    EXPECT_EQ(contents.matrix[0][0], 0.05);
    EXPECT_EQ(contents.matrix[1][1], 0.05);

    const std::string bmp = dir.File("back.bmp");
    r = RunTarvo({"map", plan, "--out", bmp});
    ASSERT_EQ(r.status, 0) << r.err;
    const QImage back(QString::fromStdString(bmp));
    ASSERT_EQ(back.size(), picture.size());
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB888), picture);
}

TEST_F(PlanCommand, CalibrationInMetresAndFeetAndOtherPictureFormats) {
    const QImage picture = Pattern(400, 300);
    const std::string plan = dir.File("p.lpf");
    // 360 pixels along the top wall stand for 18 m: 0.05 m per pixel.
    CToolRun r = RunTarvo(
        {"plan", Picture("a.png", picture), "--out", plan, "--calibrate", "20,20,380,20,18"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Plan(plan).matrix[0][0], 18.0 / 360.0);
    // 60 ft = 18.288 m along a 3-4-5 line of 250 pixels.
    r = RunTarvo({"plan", Picture("b.jpg", picture), "--out", plan, "--calibrate",
                  "100,100,250,300,60", "--units", "ft"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_DOUBLE_EQ(Plan(plan).matrix[1][1], 18.288 / 250.0);
    EXPECT_EQ(Plan(plan).width, 400);
    // Two feet per pixel.
    r = RunTarvo(
        {"plan", Picture("c.bmp", picture), "--out", plan, "--scale", "2", "--units", "ft"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_DOUBLE_EQ(Plan(plan).matrix[0][0], 0.6096);
}

TEST_F(PlanCommand, Refusals) {
    const std::string png = Picture("a.png", Pattern(400, 300));
    const std::string plan = dir.File("p.lpf");
    auto refused = [&](std::vector<std::string> options) {
        std::vector<std::string> args = {"plan", png, "--out", plan};
        args.insert(args.end(), options.begin(), options.end());
        const CToolRun r = RunTarvo(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_FALSE(std::filesystem::exists(plan));
        return r.err;
    };
    EXPECT_EQ(refused({"--calibrate", "5,5,5,5,10"}),
              "tarvo plan: the two calibration points are the same point\n");
    EXPECT_EQ(refused({"--calibrate", "5,5,50,5,0"}),
              "tarvo plan: the length of the calibration line must be more than 0\n");
    EXPECT_EQ(refused({"--calibrate", "5,5,500,5,10"}),
              "tarvo plan: X2,Y2 (500, 5) lies outside the 400 x 300 picture\n");
    EXPECT_TRUE(Has(refused({"--calibrate", "5,5,50,5"}), "needs five numbers"));
    EXPECT_TRUE(Has(refused({"--scale", "-1"}), "a number above 0"));
    EXPECT_TRUE(Has(refused({}), "give the scale"));
    EXPECT_TRUE(Has(refused({"--scale", "1", "--calibrate", "5,5,50,5,1"}), "give the scale"));
    EXPECT_TRUE(Has(refused({"--scale", "1", "--units", "yd"}), "--units must be m or ft"));

    CToolRun r = RunTarvo({"plan", png, "--out", png, "--scale", "1"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(Has(r.err, "will not write " + png));
    const std::string text = dir.Write("notes.png", {'n', 'o'});
    r = RunTarvo({"plan", text, "--out", plan, "--scale", "1"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Has(r.err, "Could not read the picture \"" + text + "\"")) << r.err;
    EXPECT_FALSE(std::filesystem::exists(plan));
}

TEST_F(PlanCommand, LargePicturesAreScaledDownAndWideScalesWarned) {
    const std::string plan = dir.File("p.lpf");
    QImage wide(70000, 40, QImage::Format_RGB888);
    wide.fill(Qt::white);
    CToolRun r = RunTarvo({"plan", Picture("wide.png", wide), "--out", plan, "--scale", "0.01"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(Has(r.err, "the 70000 x 40 picture is larger than a plan holds; it was scaled "
                           "down to 65535 x 37 pixels"))
        << r.err;
    const CProjectionContents contents = Plan(plan);
    EXPECT_EQ(contents.width, 65535);
    EXPECT_EQ(contents.height, 37);
    // The plan still measures 700 x 0.4 m.
    EXPECT_DOUBLE_EQ(contents.matrix[0][0] * 65535, 700.0);
    EXPECT_DOUBLE_EQ(contents.matrix[1][1] * 37, 0.4);

    r = RunTarvo({"plan", Picture("a.png", Pattern(400, 300)), "--out", plan, "--scale", "10"});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "tarvo plan: warning: the plan is 4000 x 3000 m, more than 2 km across; "
                     "check the scale\n");
}

} // namespace
} // namespace tarvo

#endif // TARVO_HAVE_tarvo_view
