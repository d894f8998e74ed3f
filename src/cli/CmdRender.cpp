// tarvo render: draws one picture of a study the way the map view paints
// it, after computing what the chosen display type needs (reliability
// radii, per-AP contours or the site-wide coverage). Built only with the
// view library.

#ifdef TARVO_HAVE_tarvo_view

#include "analysis/Coordinates.h"
#include "analysis/Coverage.h"
#include "analysis/Reliability.h"
#include "cli/Args.h"
#include "cli/CliUi.h"
#include "cli/Commands.h"
#include "cli/ExportSupport.h"
#include "cli/Study.h"
#include "formats/BitmapFile.h"
#include "model/Text.h"
#include "view/RenderLayers.h"
#include "view/ViewGeometry.h"

#include <QCoreApplication>
#include <QImage>
#include <QImageWriter>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <ostream>
#include <sstream>

namespace tarvo {

namespace {

constexpr int kLargestSide = 16384;

// Fonts and images need a QGuiApplication; the tool has no window, so it
// runs on the offscreen platform unless told otherwise.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    // The missing runtime folder matters to windows, not to pictures.
    if (type != QtFatalMsg && message.startsWith(QStringLiteral("QStandardPaths:")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(message));
}

void EnsureGuiApplication() {
    if (!QCoreApplication::instance())
        qInstallMessageHandler(QuietQtMessages);
    EnsureOffscreenGui();
}

bool EndsWith(const std::string& text, const std::string& tail) {
    if (text.size() < tail.size())
        return false;
    return std::equal(tail.rbegin(), tail.rend(), text.rbegin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == b;
    });
}

bool ParseSize(const std::string& text, int& width, int& height) {
    char x = 0;
    std::istringstream in(text);
    if (!(in >> width >> x >> height) || (x != 'x' && x != 'X') || !in.eof())
        return false;
    return width >= 2 && height >= 2 && width <= kLargestSide && height <= kLargestSide;
}

bool SavePicture(const QImage& image, const std::string& path, std::ostream& err) {
    if (EndsWith(path, ".bmp")) {
        const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
        std::vector<std::uint8_t> rows;
        rows.reserve(static_cast<std::size_t>(rgb.width()) * 3 * rgb.height());
        for (int y = 0; y < rgb.height(); ++y) {
            const uchar* line = rgb.constScanLine(y);
            rows.insert(rows.end(), line, line + rgb.width() * 3);
        }
        if (SaveBitmapFile(path, rgb.width(), rgb.height(), rows))
            return true;
        err << "tarvo render: cannot write " << path << '\n';
        return false;
    }
    QImageWriter writer(QString::fromStdString(path), "png");
    if (writer.write(image))
        return true;
    err << "tarvo render: cannot write " << path << ": " << writer.errorString().toStdString()
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
                ComputeApContours(doc, i, doc.aps[i].colour);
        return true;
    case kDisplayStrengthBands:
    case kDisplayApCountBands:
        if (doc.coveragePresent && !selectionGiven)
            return true;
        return ProcessCoverage(doc, ui) == CoverageOutcome::Computed;
    default:
        return true;
    }
}

int RunRender(const std::vector<std::string>& rawArgs, CCommandIo& io) {
    std::set<std::string> values = StudyValueOptions();
    values.insert({"--type", "--out", "--size", "--opacity", "--select"});
    std::set<std::string> flags = StudyFlags();
    flags.insert(
        {"--path", "--ap-icons", "--markers", "--sources", "--scale", "--legend", "--no-map"});
    CArgs args(rawArgs, values, flags);
    const auto type = args.GetInt("--type");
    const auto opacity = args.GetInt("--opacity");
    const auto out = args.Get("--out");
    auto options = StudyOptionsFrom(args, io.err);
    if (!options)
        return 2;
    const int displayType = static_cast<int>(type.value_or(kDisplayNone));
    if (displayType < kDisplayNone || displayType > kDisplayApCountBands) {
        io.err << "tarvo render: --type must be 0 to 5\n";
        return 2;
    }
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

    EnsureGuiApplication();
    CStderrUi ui(io.err);
    CTarvoAnalyzerDoc doc;
    if (!OpenStudy(doc, *options, ui))
        return 1;

    const auto select = args.Get("--select");
    if (select && !SelectApsByList(doc, *select, "render", io.err))
        return 2;
    // A fresh study has nothing selected yet: show every AP.
    if (!select && std::none_of(doc.aps.begin(), doc.aps.end(),
                                [](const CAPInfo& ap) { return ap.selected != 0; }))
        SelectApsByList(doc, "all", "render", io.err);

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
    return SavePicture(picture, *out, io.err) ? 0 : 1;
}

const CRegisterCommand kRegister{
    {"render",
     "render STUDY --type 0..5 --out FILE.png|.bmp [--size WxH] [--path] [--ap-icons] "
     "[--markers] [--sources] [--scale] [--legend] [--no-map] [--opacity 0..255] "
     "[--select all|MAC,...]   draw one picture of the study",
     RunRender}};

} // namespace

} // namespace tarvo

#endif // TARVO_HAVE_tarvo_view
