#include "analysis/ProjectionOpen.h"

#include "analysis/Coordinates.h"
#include "formats/FileIo.h"
#include "model/Text.h"

#include <algorithm>
#include <cmath>

namespace tarvo {

namespace {

constexpr const char* kInvalidFileTitle = "Invalid File";
constexpr const char* kReplaceMapTitle = "Replace Current Map";
constexpr const char* kReplaceMapText =
    "Replacing current map will results in recalculation. Do you really want to do it?";

// A map scale (metres per pixel) that site coordinates can be built on: a
// normal number in a range no real map leaves. Outside it the view window
// would overflow or collapse to nothing.
bool SaneScale(double metresPerPixel) {
    return std::isnormal(metresPerPixel) && metresPerPixel >= kMinMetresPerPixel &&
           metresPerPixel <= kMaxMetresPerPixel;
}

bool AllFinite(const ProjectionMatrix4& m) {
    for (const auto& row : m)
        for (double v : row)
            if (!std::isfinite(v))
                return false;
    return true;
}

// Latitude/longitude of an image pixel, by inverting the affine map in
// pixel space (column = a*lat + b*lon + c, row = d*lat + e*lon + f).
void PixelToGeo(const ProjectionMatrix4& m, double det, double column, double row, double& lat,
                double& lon) {
    const double a = m[0][0], b = m[0][1], c = m[0][3];
    const double d = m[1][0], e = m[1][1], f = m[1][3];
    const double u = column - c;
    const double v = row - f;
    lat = (e * u - b * v) / det;
    lon = (a * v - d * u) / det;
}

} // namespace

CProjectionScale ComputeProjectionScale(ProjectionFileKind kind, std::uint8_t subtype,
                                        const ProjectionMatrix4& m, std::int32_t width,
                                        std::int32_t height) {
    CProjectionScale s;
    if (width <= 0 || height <= 0)
        return s;
    const double w = width, h = height;
    if (kind == ProjectionFileKind::Linear && subtype == 1) {
        s.scaleX = m[0][0];
        s.scaleY = m[1][1];
        s.heightM = h * s.scaleY;
        s.widthM = w * s.scaleX;
    } else {
        const double det = m[0][0] * m[1][1] - m[1][0] * m[0][1];
        if (!(std::fabs(det) > 0.0))
            return s;
        double lat0 = 0, lon0 = 0, lat1 = 0, lon1 = 0, lat2 = 0, lon2 = 0;
        PixelToGeo(m, det, 0.0, 0.0, lat0, lon0);
        PixelToGeo(m, det, 0.0, h, lat1, lon1);
        PixelToGeo(m, det, w, 0.0, lat2, lon2);
        s.heightM = GreatCircleDistance(lat0, lon0, lat1, lon1);
        s.widthM = GreatCircleDistance(lat0, lon0, lat2, lon2);
        s.scaleX = s.widthM / w;
        s.scaleY = s.heightM / h;
    }
    // A zero or negative scale gives no map rectangle, like a singular
    // matrix. Any other scale outside the sane range cannot be drawn at all.
    if (!(s.scaleX > 0.0) || !(s.scaleY > 0.0)) {
        const bool finite = std::isfinite(s.scaleX) && std::isfinite(s.scaleY);
        s = CProjectionScale{};
        s.insane = !finite;
        return s;
    }
    if (!SaneScale(s.scaleX) || !SaneScale(s.scaleY) || !std::isfinite(s.heightM) ||
        !std::isfinite(s.widthM)) {
        s = CProjectionScale{};
        s.insane = true;
        return s;
    }
    s.usable = true;
    return s;
}

bool ReadProjection(CTarvoAnalyzerDoc& doc, std::span<const std::uint8_t> file,
                    ProjectionFileKind kind, int clientWidth, int clientHeight, IUiServices& ui) {
    CProjectionParse parse = ParseProjection(file, kind);
    if (parse.status == ProjectionParseStatus::UnsupportedSubtype) {
        ui.MessageBox(UnsupportedSubtypeText(kind), kInvalidFileTitle, MsgIcon::Error);
        return false;
    }
    if (parse.status != ProjectionParseStatus::Ok) {
        ui.MessageBox(kNotProjectionText, kInvalidFileTitle, MsgIcon::Error);
        return false;
    }
    CProjectionContents& c = parse.contents;
    if (!AllFinite(c.matrix)) {
        ui.MessageBox(kNotProjectionText, kInvalidFileTitle, MsgIcon::Error);
        return false;
    }
    const CProjectionScale scale =
        ComputeProjectionScale(kind, c.subtype, c.matrix, c.width, c.height);
    if (scale.insane) {
        ui.MessageBox(kSingularProjectionText, kInvalidFileTitle, MsgIcon::Error);
        return false;
    }
    // The picture is loaded before anything changes, so a refusal here also
    // leaves the document as it was.
    CPicture picture;
    if (!picture.Load(c.bitmap)) {
        ui.MessageBox(kNotProjectionText, kInvalidFileTitle, MsgIcon::Error);
        return false;
    }
    picture.SetStoredSize(c.width, c.height);

    doc.projectionSubtype = c.subtype;
    doc.ProjectionMatrix = c.matrix;
    doc.ImageWidth = c.width;
    doc.ImageHeight = c.height;
    if (kind == ProjectionFileKind::Gps) {
        doc.linearCoordinates = true;
    } else if (c.subtype == 0) {
        doc.geographicLinear = true;
        doc.linearCoordinates = false;
    } else {
        doc.geographicLinear = false;
    }
    doc.mapPicture.Release();
    doc.mapPicture = std::move(picture);
    doc.mapLoaded = true;
    doc.mapBytes = std::move(c.bitmap);

    if (clientWidth < 1 || clientHeight < 1) {
        clientWidth = doc.view.clientWidth;
        clientHeight = doc.view.clientHeight;
    }
    if (!scale.usable) {
        ui.MessageBox(kSingularProjectionText, kInvalidFileTitle, MsgIcon::Error);
        // The previous map's scale does not belong to this image: the scale
        // is left unset.
        doc.SiteScaleX = 0.0;
        doc.SiteScaleY = 0.0;
        // Only the linear reader fits the window it keeps.
        if (kind == ProjectionFileKind::Linear)
            FitWindowToClient(doc.ViewWindow, clientWidth, clientHeight);
        return true;
    }
    doc.SiteScaleX = scale.scaleX;
    doc.SiteScaleY = scale.scaleY;
    doc.mapOriginY = 0.0;
    doc.mapOriginX = 0.0;
    doc.MapExtentHeight = scale.heightM;
    doc.MapExtentWidth = scale.widthM;
    CBox window;
    window.minY = -0.1 * scale.heightM;
    window.minX = -0.1 * scale.widthM;
    window.extentY = 1.2 * scale.heightM;
    window.extentX = 1.2 * scale.widthM;
    FitWindowToClient(window, clientWidth, clientHeight);
    doc.ViewWindow = window;
    return true;
}

bool OpenProjectionFile(CTarvoAnalyzerDoc& doc, const std::string& path, IUiServices& ui) {
    const auto bytes = ReadWholeFile(path);
    if (!bytes) {
        ui.MessageBox(Format("Could not open file \"%s\"", path.c_str()), "File Open Error",
                      MsgIcon::Error);
        return false;
    }
    const auto kind = ProjectionKindOfMagic(*bytes);
    if (!kind) {
        ui.MessageBox(kNotProjectionText, kInvalidFileTitle, MsgIcon::Error);
        return false;
    }
    if (!ReadProjection(doc, *bytes, *kind, doc.view.clientWidth, doc.view.clientHeight, ui))
        return false;
    doc.processed = false;
    doc.projectionPath = path;
    if (doc.aps.GetSize() == 0) {
        doc.view.showMap = true;
        doc.mapLoaded = true;
        ComputeViewExtent(doc, doc.view.clientWidth, doc.view.clientHeight);
    }
    doc.projectionKind = *kind == ProjectionFileKind::Gps ? kProjectionGps : kProjectionLinear;
    return true;
}

ProjectionOpenOutcome OpenProjectionCommand(CTarvoAnalyzerDoc& doc, IUiServices& ui) {
    if (doc.busy.IsSet())
        return ProjectionOpenOutcome::Busy;
    const auto path = ui.ChooseOpenFile(kProjectionFileFilter, kProjectionDialogTitle, "");
    if (!path || path->empty())
        return ProjectionOpenOutcome::Cancelled;
    return OpenProjectionPath(doc, *path, ui);
}

ProjectionOpenOutcome OpenProjectionPath(CTarvoAnalyzerDoc& doc, const std::string& path,
                                         IUiServices& ui) {
    if (doc.busy.IsSet())
        return ProjectionOpenOutcome::Busy;
    if (doc.mapLoaded && doc.processed &&
        ui.MessageBox(kReplaceMapText, kReplaceMapTitle, MsgIcon::Information, MsgButtons::YesNo) !=
            MsgAnswer::Yes)
        return ProjectionOpenOutcome::Declined;
    if (!OpenProjectionFile(doc, path, ui))
        return ProjectionOpenOutcome::Failed;
    return doc.aps.GetSize() > 0 ? ProjectionOpenOutcome::ReloadCollection
                                 : ProjectionOpenOutcome::Opened;
}

} // namespace tarvo
