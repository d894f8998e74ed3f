// tarvo kml: a ground overlay of a study for a geographic viewer: the view
// as the map view would paint it (coverage bands over the walk, without the
// map), saved as a BMP, and a KML file placing it by the view window.
// Built only with the export library.

#ifdef TARVO_HAVE_tarvo_export

#include "analysis/Coordinates.h"
#include "analysis/Coverage.h"
#include "cli/Args.h"
#include "cli/CliOutput.h"
#include "cli/CliUi.h"
#include "cli/Commands.h"
#include "cli/ExportSupport.h"
#include "cli/Study.h"
#include "export/KmlExport.h"
#include "formats/WorkspaceCommands.h"
#include "view/RenderLayers.h"

#include <ctime>
#include <deque>
#include <ostream>

namespace tarvo {

namespace {

// Answers the two file choices of the command from its options and passes
// everything else to the tool's stderr services.
class CChoicesUi : public IUiServices {
public:
    CChoicesUi(IUiServices& inner, std::deque<std::optional<std::string>> paths)
        : inner_(inner), paths_(std::move(paths)) {}
    MsgAnswer MessageBox(const std::string& text, const std::string& title, MsgIcon icon,
                         MsgButtons buttons) override {
        return inner_.MessageBox(text, title, icon, buttons);
    }
    std::optional<std::string> ChooseOpenFile(const std::string&, const std::string&,
                                              const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> ChooseSaveFile(const std::string&, const std::string&,
                                              const std::string&) override {
        if (paths_.empty())
            return std::nullopt;
        auto path = paths_.front();
        paths_.pop_front();
        return path;
    }
    void OpenWithAssociatedProgram(const std::string& path) override {
        inner_.OpenWithAssociatedProgram(path);
    }
    IProgress& Progress() override { return inner_.Progress(); }

private:
    IUiServices& inner_;
    std::deque<std::optional<std::string>> paths_;
};

int RunKml(const std::vector<std::string>& rawArgs, CCommandIo& io) {
    std::set<std::string> values = StudyValueOptions();
    values.insert({"--out", "--image", "--description"});
    CArgs args(rawArgs, values, StudyFlags());
    const auto out = args.Get("--out");
    const auto image = args.Get("--image");
    const auto description = args.Get("--description");
    auto study = StudyOptionsOrComplain(args, "kml", io.err);
    if (!study)
        return 2;
    if (!out || out->empty()) {
        io.err << "tarvo kml: --out FILE.kml is required\n";
        return 2;
    }
    // The files written: the KML (".kml" added to a bare name) and its
    // picture, which must be neither an input nor the KML.
    const std::string kmlPath = KmlPathFor(*out);
    const std::string picturePath = image ? KmlPictureFor(*image) : KmlPicturePath(kmlPath);
    std::vector<std::string> taken = StudyInputs(*study);
    if (!OutputIsFree("kml", kmlPath, taken, io.err))
        return 2;
    taken.push_back(kmlPath);
    if (!OutputIsFree("kml", picturePath, taken, io.err))
        return 2;

    EnsureOffscreenGui();
    CStderrUi stderrUi(io.err, io.progress);
    CTarvoAnalyzerDoc doc;
    if (!OpenStudy(doc, *study, stderrUi))
        return 1;
    if (!doc.gpsPointsPresent) {
        io.err << "tarvo kml: the study has no GPS locations to place on the earth\n";
        return 1;
    }

    // The picture the map view would show after "Plot Graph": strength
    // bands of the selected APs over the walk path, the map not shown.
    SelectAllWhenNoneSelected(doc);
    if (!doc.coveragePresent)
        ProcessCoverage(doc, stderrUi);
    if (doc.coverageDisplayType == kDisplayNone && doc.coveragePresent)
        doc.coverageDisplayType = kDisplayStrengthBands;
    doc.pathShown = true;
    doc.view.showMap = false;
    doc.view.ResetZoom();
    ComputeViewExtent(doc, kOffscreenWidth, kOffscreenHeight);
    RenderLayers(doc, kOffscreenWidth, kOffscreenHeight, stderrUi);

    CChoicesUi ui(stderrUi, {kmlPath, picturePath});
    const KmlResult result = CreateKmlFile(
        doc, ui, [&] { return description; }, std::time(nullptr));
    if (result != KmlResult::Written)
        return 1;
    io.out << doc.spareText1 << '\n';
    return stderrUi.ExitStatus();
}

const CRegisterCommand kRegister{
    {"kml",
     "kml STUDY --out FILE.kml [--image FILE.bmp] [--description TEXT]   "
     "write a ground overlay of the view",
     RunKml,
     std::string("Draws the strength coverage of the selected APs over the walk (without the\n"
                 "map) and writes it as a BMP with a KML file that lays it on the earth.\n"
                 "The study needs GPS locations.\n\n") +
         kStudyHelp +
         "  --out FILE.kml       the KML file (\".kml\" is added to a name without extension)\n"
         "  --image FILE.bmp     the picture (default: the KML's name with .bmp instead of\n"
         "                       .kml, or with .bmp appended); the KML names it by its full\n"
         "                       path\n"
         "  --description TEXT   the overlay's description\n"}};

} // namespace

} // namespace tarvo

#endif // TARVO_HAVE_tarvo_export
