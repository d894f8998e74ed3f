// tarvo render: draws one picture of a study the way the map view paints
// it, after computing what the chosen display type needs (reliability
// radii, per-AP contours or the site-wide coverage). Built only with the
// view library.

#ifdef TARVO_HAVE_tarvo_view

#include "analysis/ApColours.h"
#include "analysis/Coordinates.h"
#include "analysis/Coverage.h"
#include "analysis/Reliability.h"
#include "cli/Args.h"
#include "cli/CliOutput.h"
#include "cli/CliUi.h"
#include "cli/Commands.h"
#include "cli/ExportSupport.h"
#include "cli/Study.h"
#include "export/ReportImages.h"
#include "formats/FileIo.h"
#include "model/Text.h"
#include "record/ThroughputFiles.h"
#include "view/RenderLayers.h"
#include "view/ViewGeometry.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

#include <algorithm>
#include <cctype>
#include <ostream>
#include <sstream>

namespace tarvo {

namespace {

constexpr int kLargestSide = 16384;

// Whether text ends with tail, letters in either case.
bool EndsWith(const std::string& text, const std::string& tail) {
    if (text.size() < tail.size())
        return false;
    return std::equal(tail.rbegin(), tail.rend(), text.rbegin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

bool ParseSize(const std::string& text, int& width, int& height) {
    char x = 0;
    std::istringstream in(text);
    if (!(in >> width >> x >> height) || (x != 'x' && x != 'X') || !in.eof())
        return false;
    return width >= 2 && height >= 2 && width <= kLargestSide && height <= kLargestSide;
}

// Writes the picture as a BMP or a PNG, replacing an earlier file only once
// the new one is complete.
bool SavePicture(const QImage& image, const std::string& path, std::ostream& err) {
    CWriteFailure failure;
    bool written = false;
    if (EndsWith(path, ".bmp")) {
        written = SaveImageAsBitmapFile(path, image, &failure);
    } else {
        QBuffer png;
        png.open(QIODevice::WriteOnly);
        QImageWriter writer(&png, "png");
        if (!writer.write(image)) {
            err << "tarvo render: cannot encode " << path << ": "
                << writer.errorString().toStdString() << '\n';
            return false;
        }
        const QByteArray& bytes = png.data();
        written =
            WriteFileAtomically(path,
                                std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                          static_cast<std::size_t>(bytes.size())),
                                &failure);
    }
    if (!written)
        err << "tarvo render: " << WriteFailureText(path, failure) << '\n';
    return written;
}

// The throughput of the study's walks (their side files) and of the files
// named with --throughput. False, after the reason on err, when none was
// measured.
bool LoadThroughput(CTarvoAnalyzerDoc& doc, const std::vector<std::string>& named,
                    std::ostream& err) {
    const CThroughputLoad load = LoadThroughputFiles(doc, named);
    for (const std::string& problem : load.problems)
        err << problem << '\n';
    doc.throughput = load.points;
    for (const CThroughputPoint& point : load.points)
        if (point.HasDown())
            return true;
    err << "tarvo render: no throughput was measured: no download rate in "
        << (load.read.empty() ? "a side file WALK.throughput.csv beside the survey files (tarvo "
                                "record --iperf writes them), nor in a --throughput file"
                              : "the throughput files read")
        << '\n';
    return false;
}

// Computes what the display type draws from. False when there is nothing
// to draw (the reason has been reported through ui).
bool PrepareDisplay(CTarvoAnalyzerDoc& doc, int type, bool selectionGiven, CStderrUi& ui) {
    switch (type) {
    case kDisplayReliability:
        return RunReliabilityAnalysis(doc, ui) > 0;
    case kDisplayApBands:
        for (int i = 0; i < doc.aps.GetSize(); ++i)
            if (doc.aps[i].selected)
                ComputeApContours(doc, i, ApContourColour(doc, i));
        return true;
    case kDisplayStrengthBands:
    case kDisplayApCountBands:
    case kDisplaySnrMargin:
    case kDisplaySecondary:
    case kDisplayCoChannel:
    case kDisplayStrongestAp:
        if (doc.coveragePresent && !selectionGiven)
            return true;
        return ProcessCoverage(doc, ui) == CoverageOutcome::Computed;
    default:
        return true;
    }
}

int RunRender(const std::vector<std::string>& rawArgs, CCommandIo& io) {
    std::set<std::string> values = StudyValueOptions();
    values.insert({"--type", "--out", "--size", "--opacity", "--select", "--throughput",
                   kOverlapLevelOption});
    values.insert(DisplayValueOptions().begin(), DisplayValueOptions().end());
    std::set<std::string> flags = StudyFlags();
    flags.insert(
        {"--path", "--ap-icons", "--markers", "--sources", "--scale", "--legend", "--no-map"});
    CArgs args(rawArgs, values, flags);
    const auto type = args.GetInt("--type");
    const auto opacity = args.GetInt("--opacity");
    const auto out = args.Get("--out");
    auto options = StudyOptionsOrComplain(args, "render", io.err);
    if (!options)
        return 2;
    const int displayType = static_cast<int>(type.value_or(kDisplayNone));
    if (displayType < kDisplayNone || displayType >= kDisplayTypeCount) {
        io.err << "tarvo render: --type must be 0 to 10\n";
        return 2;
    }
    const std::vector<std::string> throughputFiles = args.GetAll("--throughput");
    if (!throughputFiles.empty() && displayType != kDisplayThroughput) {
        io.err << "tarvo render: --throughput names the measurements of --type 10\n";
        return 2;
    }
    const auto overlapLevel = OverlapLevelOrComplain(args, "render", io.err);
    if (!overlapLevel)
        return 2;
    if (opacity && (*opacity < 0 || *opacity > 255)) {
        io.err << "tarvo render: --opacity must be 0 to 255\n";
        return 2;
    }
    if (!out || !(EndsWith(*out, ".png") || EndsWith(*out, ".bmp"))) {
        io.err << "tarvo render: --out FILE.png or FILE.bmp is required\n";
        return 2;
    }
    int width = kOffscreenWidth, height = kOffscreenHeight;
    if (auto size = args.Get("--size"); size && !ParseSize(*size, width, height)) {
        io.err << "tarvo render: --size must be WxH, each 2 to " << kLargestSide << '\n';
        return 2;
    }
    std::vector<std::string> inputs = StudyInputs(*options);
    inputs.insert(inputs.end(), throughputFiles.begin(), throughputFiles.end());
    if (!OutputIsFree("render", *out, inputs, io.err))
        return 2;

    EnsureOffscreenGui();
    CStderrUi ui(io.err, io.progress);
    CTarvoAnalyzerDoc doc;
    if (!OpenStudy(doc, *options, ui))
        return 1;

    const auto select = args.Get("--select");
    if (select && !SelectApsByList(doc, *select, "render", io.err))
        return 2;
    // A fresh study has nothing selected yet: show every AP.
    if (!select)
        SelectAllWhenNoneSelected(doc);
    if (!ApplyDisplayOptions(args, doc, "render", io.err))
        return 2;

    doc.pathShown = args.Has("--path");
    doc.apIconsShown = args.Has("--ap-icons");
    doc.markedApIconsShown = args.Has("--markers");
    doc.interferenceIconsShown = args.Has("--sources");
    doc.scaleShown = args.Has("--scale");
    doc.legendShown = args.Has("--legend");
    doc.view.showMap = doc.mapLoaded && !args.Has("--no-map");
    doc.view.compassShown = false;
    doc.view.clientWidth = width;
    doc.view.clientHeight = height;
    if (opacity)
        doc.coverageOpacity = static_cast<int>(*opacity);
    doc.coChannelLevelDbm = *overlapLevel;

    if (displayType == kDisplayThroughput && !LoadThroughput(doc, throughputFiles, io.err))
        return 1;
    if (!PrepareDisplay(doc, displayType, select.has_value(), ui))
        return 1;
    doc.coverageDisplayType = displayType;
    // The window the report pictures use: the whole walk and map with the
    // path, the analysed area otherwise.
    if (doc.pathShown)
        FitExtentToMap(doc, width, height);
    else
        ComputeViewExtent(doc, width, height);

    const QImage picture = RenderLayers(doc, width, height, ui);
    return SavePicture(picture, *out, io.err) ? ui.ExitStatus() : 1;
}

const CRegisterCommand kRegister{
    {"render",
     "render STUDY --type 0..10 --out FILE.png|.bmp [--size WxH] [--path] [--ap-icons] "
     "[--markers] [--sources] [--scale] [--legend] [--no-map] [--opacity 0..255] "
     "[--overlap-level DBM] "
     "[--select all|MAC,...] [--colour-mode 0|1|2] [--units m|ft]   draw one picture of the "
     "study",
     RunRender,
     std::string("Draws the study as the map view paints it, after computing what the display\n"
                 "type needs, and writes the picture.\n\n") +
         kStudyHelp +
         "  --type 0..10         what is drawn over the map: 0 nothing (map and walk only),\n"
         "                       1 the APs' samples coloured by strength, 2 reliability rings\n"
         "                       around each AP, 3 each AP's own coverage bands, 4 the\n"
         "                       strongest signal at each place, 5 how many APs reach it,\n"
         "                       6 the strongest signal over the noise floor (5 dB bands),\n"
         "                       7 the second-strongest AP's signal, 8 how many other APs\n"
         "                       share the strongest AP's channel, 9 which AP is strongest,\n"
         "                       10 the throughput measured along recorded walks (the\n"
         "                       side files WALK.throughput.csv beside the survey files),\n"
         "                       spread by inverse distance weighting over the study's grid\n"
         "  --out FILE.png|.bmp  the picture (PNG or 24-bit BMP, by the extension)\n"
         "  --size WxH           picture size in pixels, each 2 to 16384 (default 800x600)\n"
         "  --path               draw the walk path of each survey file\n"
         "  --ap-icons           draw the estimated APs\n"
         "  --markers            draw the marked APs\n"
         "  --sources            draw the interference sources\n"
         "  --scale              draw the coordinate labels and grid\n"
         "  --legend             draw the legend of the path and the colour bands\n"
         "  --no-map             leave the map picture out\n"
         "  --opacity 0..255     how strongly coverage covers the map (default: the\n"
         "                       study's, 192 once it is processed)\n"
         "  --select all|MAC,... the APs drawn (default: the study's selection, or all)\n"
         "  --throughput FILE    with --type 10, also a throughput file named here\n"
         "                       (x_m,y_m,down_bps,...), repeatable\n" +
         kOverlapLevelHelp + kDisplayHelp}};

} // namespace

} // namespace tarvo

#endif // TARVO_HAVE_tarvo_view
