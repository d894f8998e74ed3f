// tarvo plan: a floor-plan picture (PNG, JPEG, BMP) written as a linear
// projection file (.lpf) at a scale given directly or measured along a
// line of known length. Built only with the view library (Qt reads the
// pictures).

#ifdef TARVO_HAVE_tarvo_view

#include "cli/Args.h"
#include "cli/CliOutput.h"
#include "cli/Commands.h"
#include "cli/ExportSupport.h"
#include "formats/FileIo.h"
#include "formats/FloorPlanWriter.h"
#include "import/ImportFields.h"
#include "import/PlanScale.h"
#include "model/Text.h"
#include "view/PlanPicture.h"

#include <ostream>

namespace tarvo {

namespace {

struct CCalibration {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0, length = 0;
};

// "X1,Y1,X2,Y2,LENGTH".
std::optional<CCalibration> ParseCalibration(const std::string& text) {
    double values[5];
    std::size_t at = 0;
    for (int i = 0; i < 5; ++i) {
        const std::size_t comma = text.find(',', at);
        if ((i < 4) != (comma != std::string::npos))
            return std::nullopt;
        const auto value =
            ParseDecimal(std::string_view(text).substr(at, i < 4 ? comma - at : std::string::npos));
        if (!value)
            return std::nullopt;
        values[i] = *value;
        at = comma + 1;
    }
    return CCalibration{values[0], values[1], values[2], values[3], values[4]};
}

bool Inside(double x, double y, QSize size) {
    return x >= 0.0 && y >= 0.0 && x <= size.width() && y <= size.height();
}

int RunPlan(const std::vector<std::string>& rawArgs, CCommandIo& io) {
    CArgs args(rawArgs, {"--out", "--scale", "--calibrate", "--units"}, {});
    auto usage = [&io](const std::string& text) {
        io.err << "tarvo plan: " << text << '\n';
        return 2;
    };
    if (!args.Ok())
        return usage(args.Error());
    const auto out = args.Get("--out");
    const auto scaleText = args.Get("--scale");
    const auto calibrateText = args.Get("--calibrate");
    if (args.Positional().size() != 1 || !out || out->empty())
        return usage("give one picture and --out PLAN.lpf");
    if (scaleText.has_value() == calibrateText.has_value())
        return usage("give the scale: --scale M_PER_PX or --calibrate X1,Y1,X2,Y2,LENGTH");
    LengthUnit unit = LengthUnit::Metres;
    if (const auto units = args.Get("--units")) {
        if (*units != "m" && *units != "ft")
            return usage("--units must be m or ft");
        unit = *units == "ft" ? LengthUnit::Feet : LengthUnit::Metres;
    }
    std::optional<CCalibration> calibration;
    std::optional<double> scale;
    if (scaleText) {
        scale = ParseDecimal(*scaleText);
        if (!scale || !(*scale > 0.0) || *scale > 1e6)
            return usage("--scale needs a length per pixel, a number above 0");
        if (unit == LengthUnit::Feet)
            *scale *= kMetresPerFootLength;
    } else {
        calibration = ParseCalibration(*calibrateText);
        if (!calibration)
            return usage("--calibrate needs five numbers: X1,Y1,X2,Y2,LENGTH");
    }
    const std::string& image = args.Positional()[0];
    if (!OutputIsFree("plan", *out, {image}, io.err))
        return 2;

    EnsureOffscreenGui();
    const CPlanPicture picture = LoadPlanPicture(image);
    if (picture.image.isNull()) {
        io.err << "tarvo plan: " << picture.error << '\n';
        return 1;
    }
    const QSize original = picture.original;
    if (calibration) {
        const CCalibration& c = *calibration;
        for (const auto& [x, y, name] :
             {std::tuple{c.x1, c.y1, "X1,Y1"}, std::tuple{c.x2, c.y2, "X2,Y2"}})
            if (!Inside(x, y, original))
                return usage(Format("%s (%g, %g) lies outside the %d x %d picture", name, x, y,
                                    original.width(), original.height()));
        std::string error;
        scale = ScaleFromCalibration(c.x1, c.y1, c.x2, c.y2, c.length, unit, &error);
        if (!scale)
            return usage(error);
    }
    const int width = picture.image.width(), height = picture.image.height();
    const double scaleX = *scale * original.width() / width;
    const double scaleY = *scale * original.height() / height;
    if (picture.scaledDown)
        io.err << Format("tarvo plan: the %d x %d picture is larger than a plan holds; it was "
                         "scaled down to %d x %d pixels and the scale adjusted\n",
                         original.width(), original.height(), width, height);
    const double widthM = width * scaleX, heightM = height * scaleY;
    if (std::max(widthM, heightM) > kLargePlanMetres)
        io.err << Format("tarvo plan: warning: the plan is %.0f x %.0f m, more than 2 km across; "
                         "check the scale\n",
                         widthM, heightM);

    const std::vector<std::uint8_t> bytes =
        EncodeFloorPlan(width, height, RgbRows(picture.image), scaleX, scaleY);
    CWriteFailure failure;
    if (bytes.empty() || !WriteFileAtomically(*out, bytes, &failure)) {
        io.err << "tarvo plan: "
               << (bytes.empty() ? "the plan could not be made" : WriteFailureText(*out, failure))
               << '\n';
        return 1;
    }
    io.out << Format("%s: %d x %d pixels at %.6g m per pixel, %.2f x %.2f m", out->c_str(), width,
                     height, scaleX, widthM, heightM)
           << (scaleX != scaleY ? Format(" (%.6g m per pixel down)", scaleY) : std::string())
           << '\n';
    return 0;
}

const CRegisterCommand kRegister{
    {"plan",
     "plan IMAGE --out PLAN.lpf (--scale M_PER_PX | --calibrate X1,Y1,X2,Y2,LENGTH) "
     "[--units m|ft]   make a floor plan (.lpf) of a picture",
     RunPlan,
     "Writes a picture of a floor plan (PNG, JPEG or BMP) as a floor-plan projection\n"
     "(.lpf) that `process --map`, `import --plan` and the desktop program open. A\n"
     "picture larger than a plan holds (65,535 pixels a side, 64 Mi pixels) is\n"
     "scaled down and the scale adjusted; a plan more than 2 km across gets a warning.\n\n"
     "  IMAGE                the picture\n"
     "  --out PLAN.lpf       the plan to write\n"
     "  --scale S            the length of one pixel\n"
     "  --calibrate X1,Y1,X2,Y2,LENGTH\n"
     "                       two points of the picture (pixels, origin top-left) and the\n"
     "                       real distance between them, e.g. the two ends of a long wall\n"
     "  --units m|ft         the unit of --scale and LENGTH (default m)\n"}};

} // namespace

} // namespace tarvo

#endif // TARVO_HAVE_tarvo_view
