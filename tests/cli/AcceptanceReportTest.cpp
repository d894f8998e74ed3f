// The reports a surveyor hands over, driven as a user would: the default
// HTML report as it always was, the PDF report and its requirement verdict
// read back with the PDF tools (pdfinfo, pdftotext, pdfimages, pdftoppm;
// scripts/install-deps installs them), the HTML report's options, and the
// survey views of `tarvo render`.

#ifdef TARVO_HAVE_tarvo_export

#include "cli/ToolRunner.h"

#include <QCryptographicHash>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <regex>

namespace tarvo {
namespace {

using test::Has;
using test::RunTarvo;
namespace fs = std::filesystem;

// Output of a shell command, or nothing when it could not run or failed.
std::optional<std::string> Shell(const std::string& command) {
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe)
        return std::nullopt;
    std::string out;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    return ::pclose(pipe) == 0 ? std::optional(out) : std::nullopt;
}

std::string Quoted(const std::string& path) {
    return "'" + path + "'";
}

// A sample study written by `tarvo simulate` into dir/scenario; the
// arguments that name it for the other commands.
std::vector<std::string> Study(const test::CTempDir& dir, const std::string& scenario) {
    const std::string folder = dir.File(scenario);
    EXPECT_EQ(RunTarvo({"simulate", "--scenario", scenario, "--out", folder}).status, 0);
    const std::string map = folder + "/" + scenario + (scenario == "campus" ? ".gpf" : ".lpf");
    return {"--map", map, folder + "/walk1.ssd", folder + "/walk2.ssd"};
}

std::vector<std::string> With(std::vector<std::string> args, const std::vector<std::string>& more) {
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

QString Sha256(const QByteArray& bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

// The default report as the program wrote it before the PDF report and the
// survey views existed: the SHA-256 of its HTML (the date line and the
// study's folder masked) and of its pictures (each name, then its bytes,
// by number), the studies simulated with the default seed.
struct CReference {
    const char* scenario;
    const char* html;
    int pictures;
    const char* pictureHash;
};
constexpr CReference kBefore[] = {
    {"office", "c513d1708eb167c6330eae59e3a6f6e3bc471964673db1476c98a58a07ad636b", 44,
     "6b46480f482732603650cceb66a3661155aec0bac6123cc46c679a1cd9e15bb9"},
    {"campus", "05f5c8c8dca08f1f9233cf351a0189633529229f059cbd773fc28d3965e80ea6", 56,
     "4ceb08e46136705f2903cf5abb8a11842dc10f3b03e063333edaef3b7a079cac"},
    {"large", "a804b9ba432bb9cf0632dd6b8c0d72e2ffd6b34c85cd59d895f1b13e254796fc", 156,
     "8de8eab44b150323e046a0ee47ab6306f512e65112fc570369746182dce940f2"},
};

void PrintTo(const CReference& reference, std::ostream* out) {
    *out << reference.scenario;
}

class DefaultHtmlReport : public testing::TestWithParam<CReference> {};

TEST_P(DefaultHtmlReport, IsWhatItWasApartFromItsDate) {
    const CReference& ref = GetParam();
    test::CTempDir dir;
    const std::string root = fs::canonical(dir.Path()).string();
    const std::vector<std::string> study = Study(dir, ref.scenario);
    const std::string html = dir.File(std::string("out/") + ref.scenario + ".html");
    ASSERT_EQ(RunTarvo(With({"report"}, With(study, {"--out", html, "--no-open"}))).status, 0);

    std::string text = test::ReadText(html);
    text = std::regex_replace(text, std::regex("Report date: [^\r\n]*"), "Report date: X");
    for (std::size_t at; (at = text.find(root + "/")) != std::string::npos;)
        text.replace(at, root.size() + 1, "DIR/");
    EXPECT_EQ(Sha256(QByteArray::fromStdString(text)), QLatin1String(ref.html));

    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.File(std::string("out/") + ref.scenario)))
        if (entry.path().filename() != "report.css")
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return std::pair(a.size(), a) < std::pair(b.size(), b);
    });
    QCryptographicHash pictures(QCryptographicHash::Sha256);
    for (const std::string& name : names) {
        pictures.addData(QByteArray::fromStdString(name));
        pictures.addData(QByteArray::fromStdString(
            test::ReadText(dir.File(std::string("out/") + ref.scenario + "/" + name))));
    }
    EXPECT_EQ(static_cast<int>(names.size()), ref.pictures);
    EXPECT_EQ(QString::fromLatin1(pictures.result().toHex()), QLatin1String(ref.pictureHash));
}

INSTANTIATE_TEST_SUITE_P(SampleStudies, DefaultHtmlReport, testing::ValuesIn(kBefore),
                         [](const auto& info) { return std::string(info.param.scenario); });

// The requirement results of `tarvo coverage --json` for the same study.
QJsonArray CoverageRequirements(const std::vector<std::string>& study,
                                const std::vector<std::string>& requirements) {
    const test::CToolRun r =
        RunTarvo(With(With({"coverage"}, study), With(requirements, {"--json", "-"})));
    EXPECT_EQ(r.status, 0) << r.err;
    return QJsonDocument::fromJson(QByteArray::fromStdString(r.out))
        .object()
        .value("requirements")
        .toArray();
}

std::string Percent(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %%", value);
    return text;
}

TEST(PdfReport, OneFileWhoseVerdictMatchesTheCoverageCommand) {
    ASSERT_TRUE(Shell("pdfinfo -v")) << "pdfinfo missing: run scripts/install-deps";
    test::CTempDir dir;
    const std::vector<std::string> study = Study(dir, "office");
    const std::vector<std::string> asked = {"--require", "-70:90", "--require-secondary", "-75:80"};
    const std::string pdf = dir.File("handover.pdf");
    const test::CToolRun r = RunTarvo(
        With(With({"report"}, study),
             With(asked, {"--out", pdf, "--no-open", "--page", "a4", "--views", "6,7,8,9"})));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(fs::exists(dir.File("handover.pdf_files")));
    EXPECT_LT(fs::file_size(pdf), 1u << 20); // under 1 MB with eight pictures

    const std::string info = Shell("pdfinfo " + Quoted(pdf)).value_or("");
    std::smatch pages;
    ASSERT_TRUE(std::regex_search(info, pages, std::regex("Pages: +([0-9]+)"))) << info;
    // The first page, four pictures, four views, reliability and the tables.
    EXPECT_GE(std::stoi(pages[1]), 10);
    EXPECT_TRUE(Has(info, "595 x 842 pts (A4)")) << info;

    // The first page holds the verdict, with the numbers `tarvo coverage`
    // computes for the same study and requirements (the default one first,
    // none having been asked of the strongest signal before -70).
    const std::string first =
        Shell("pdftotext -layout -f 1 -l 1 " + Quoted(pdf) + " -").value_or("");
    EXPECT_TRUE(Has(first, "walk1.ssd")) << first;
    EXPECT_FALSE(Has(first, dir.Path().string())); // file names, no folders
    const QJsonArray judged = CoverageRequirements(study, asked);
    ASSERT_EQ(judged.size(), 2);
    bool allPassed = true;
    for (const QJsonValue& v : judged) {
        const QJsonObject o = v.toObject();
        const std::string share = Percent(o.value("sharePercent").toDouble());
        const std::string verdict = o.value("passed").toBool() ? "PASS" : "FAIL";
        allPassed = allPassed && o.value("passed").toBool();
        const std::regex row(o.value("signal").toString().toStdString() + " +" +
                             std::to_string(o.value("levelDbm").toInt()) + " dBm +[0-9.]+ % +" +
                             share + " +-[0-9.]+ dBm at Y [0-9.]+ Ft, X [0-9.]+ Ft +" + verdict);
        EXPECT_TRUE(std::regex_search(first, row)) << share << verdict << "\n" << first;
    }
    EXPECT_TRUE(Has(first, allPassed ? "Verdict: PASS" : "Verdict: FAIL")) << first;

    // The pictures are there and decode: a page of a picture has colour.
    const std::string images = Shell("pdfimages -list " + Quoted(pdf)).value_or("");
    EXPECT_GE(std::count(images.begin(), images.end(), '\n'), 2 + 8) << images;
    ASSERT_TRUE(
        Shell("pdftoppm -r 30 -png -f 4 -l 4 " + Quoted(pdf) + " " + Quoted(dir.File("page"))));
    const QImage page(QString::fromStdString(dir.File("page-04.png")));
    ASSERT_FALSE(page.isNull());
    int coloured = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            coloured += std::max({c.red(), c.green(), c.blue()}) -
                            std::min({c.red(), c.green(), c.blue()}) >
                        60;
        }
    EXPECT_GT(coloured, page.width() * page.height() / 10);
}

TEST(PdfReport, VerdictExitStatusAndTheDefaultRequirement) {
    ASSERT_TRUE(Shell("pdftotext -v")) << "pdftotext missing: run scripts/install-deps";
    test::CTempDir dir;
    const std::vector<std::string> study = Study(dir, "office");
    const std::string pdf = dir.File("r.pdf");
    const auto report = [&](const std::vector<std::string>& more) {
        return RunTarvo(With(With({"report"}, study), With(more, {"--out", pdf, "--no-open"})));
    };
    // -100 dBm everywhere, even on the second-strongest signal: met.
    EXPECT_EQ(
        report({"--require", "-100:50", "--require-secondary", "-100:50", "--verdict"}).status, 0);
    // -30 dBm on 99 % is not: status 3, the report still written.
    fs::remove(pdf);
    EXPECT_EQ(report({"--require", "-30:99", "--verdict"}).status, 3);
    EXPECT_TRUE(fs::exists(pdf));
    EXPECT_TRUE(Has(Shell("pdftotext " + Quoted(pdf) + " -").value_or(""), "Verdict: FAIL"));
    // The same requirement without --verdict: the report is the answer.
    EXPECT_EQ(report({"--require", "-30:99", "--page", "letter"}).status, 0);
    EXPECT_TRUE(Has(Shell("pdfinfo " + Quoted(pdf)).value_or(""), "612 x 792 pts (letter)"));
    // Without requirements: PowerLow on 95 %, the share `tarvo coverage`
    // prints for its summary.
    EXPECT_EQ(report({}).status, 0);
    const test::CToolRun summary = RunTarvo(With({"coverage"}, study));
    std::smatch share;
    ASSERT_TRUE(
        std::regex_search(summary.out, share, std::regex("At or above -90 dBm: ([0-9.]+) %")))
        << summary.out;
    const std::string first =
        Shell("pdftotext -layout -f 1 -l 1 " + Quoted(pdf) + " -").value_or("");
    EXPECT_TRUE(std::regex_search(
        first, std::regex("strongest +-90 dBm +95.0 % +" + share[1].str() + " %")))
        << first;
    // The first page names the model that made the maps.
    EXPECT_TRUE(Has(first, "study model")) << first;
    EXPECT_EQ(report({"--coverage-model", "survey"}).status, 0);
    EXPECT_TRUE(
        Has(Shell("pdftotext -f 1 -l 1 " + Quoted(pdf) + " -").value_or(""), "survey model"));

    // The coverage command gives the same verdict the same way, and its
    // plain output is unchanged without the options.
    EXPECT_EQ(
        RunTarvo(With(With({"coverage"}, study), {"--require", "-30:99", "--verdict"})).status, 3);
    const test::CToolRun judged =
        RunTarvo(With(With({"coverage"}, study), {"--require", "-100", "--verdict"}));
    EXPECT_EQ(judged.status, 0);
    EXPECT_TRUE(Has(judged.out, "Requirement: strongest signal at or above -100 dBm on 95.0 % "
                                "of the box: 100.0 %"))
        << judged.out;
    EXPECT_TRUE(Has(judged.out, "Verdict: PASS"));
    EXPECT_FALSE(Has(summary.out, "Requirement"));
    const test::CToolRun json = RunTarvo(With(With({"coverage"}, study), {"--json", "-"}));
    EXPECT_FALSE(Has(json.out, "requirements"));
    for (const std::vector<std::string>& bad : {std::vector<std::string>{"--require", "-75:120"},
                                                {"--require-secondary", "loud"},
                                                {"--pictures", "png"},
                                                {"--no-paths"},
                                                {"--views", "5"},
                                                {"--page", "a3"}})
        EXPECT_EQ(report(bad).status, 2) << bad[0];
}

TEST(HtmlReport, PngPicturesFileNamesRequirementsAndViewsOnRequest) {
    test::CTempDir dir;
    const std::vector<std::string> study = Study(dir, "office");
    const std::string html = dir.File("out/site.html");
    const test::CToolRun r = RunTarvo(
        With(With({"report"}, study), {"--out", html, "--no-open", "--pictures", "png",
                                       "--no-paths", "--require", "-75:90", "--views", "9,6"}));
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string text = test::ReadText(html);
    EXPECT_FALSE(Has(text, dir.Path().string())); // names, not folders
    EXPECT_TRUE(Has(text, "Map/Projection File: office.lpf"));
    EXPECT_TRUE(Has(text, "<td class=\"Path\\Name\" align =\"Center\"> walk1.ssd</td>"));
    // The requirement table comes first, then the sections as before.
    const std::size_t requirements = text.find("<h3>Coverage Requirements</h3>");
    ASSERT_NE(requirements, std::string::npos);
    EXPECT_LT(requirements, text.find("SSD File Infomation"));
    EXPECT_TRUE(Has(text, "-75 dBm"));
    // The views in the order asked, after the site-wide coverage.
    const std::size_t strongest = text.find("<h3>Strongest AP</h3>");
    const std::size_t snr = text.find("<h3>Signal-to-Noise Margin</h3>");
    EXPECT_LT(text.find("<h3>Overlap of Selected APs</h3>"), strongest);
    EXPECT_LT(strongest, snr);
    ASSERT_NE(snr, std::string::npos);

    // Every picture is a PNG that decodes; together far smaller than bitmaps.
    std::uintmax_t bytes = 0;
    int pictures = 0;
    for (const auto& entry : fs::directory_iterator(dir.File("out/site"))) {
        const std::string name = entry.path().filename().string();
        if (name == "report.css")
            continue;
        EXPECT_EQ(entry.path().extension(), ".png") << name;
        EXPECT_FALSE(QImage(QString::fromStdString(entry.path().string())).isNull()) << name;
        EXPECT_TRUE(Has(text, "site/" + name)) << name;
        bytes += entry.file_size();
        ++pictures;
    }
    EXPECT_GT(pictures, 44);
    EXPECT_LT(bytes, 1u << 20);
}

TEST(RenderViews, EachSurveyViewDrawsOverTheMapWithItsLegend) {
    test::CTempDir dir;
    const std::vector<std::string> study = Study(dir, "office");
    const std::string tws = dir.File("o.tws");
    ASSERT_EQ(RunTarvo(With(With({"coverage"}, study), {"--save", tws})).status, 0);
    for (const char* type : {"6", "7", "8", "9"}) {
        const std::string png = dir.File(std::string("v") + type + ".png");
        const test::CToolRun r =
            RunTarvo({"render", tws, "--type", type, "--legend", "--no-map", "--out", png});
        ASSERT_EQ(r.status, 0) << r.err;
        const QImage image(QString::fromStdString(png));
        ASSERT_EQ(image.size(), QSize(800, 600));
        // Coverage in the middle; the legend's title at the top right.
        EXPECT_NE(image.pixelColor(400, 300), QColor(Qt::white)) << type;
        int dark = 0;
        for (int y = 0; y < 14; ++y)
            for (int x = 720; x < 800; ++x)
                dark += image.pixelColor(x, y).lightness() < 100;
        EXPECT_GT(dark, 10) << type;
    }
    EXPECT_EQ(RunTarvo({"render", tws, "--type", "8", "--overlap-level", "-85dBm", "--out",
                        dir.File("x.png")})
                  .status,
              2);
}

} // namespace
} // namespace tarvo

#endif // TARVO_HAVE_tarvo_export
