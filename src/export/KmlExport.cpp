#include "export/KmlExport.h"

#include "analysis/Coordinates.h"
#include "export/OnceUi.h"
#include "export/XmlText.h"
#include "formats/BitmapFile.h"
#include "formats/FileIo.h"
#include "formats/FilePaths.h"
#include "model/Text.h"

#include <algorithm>
#include <cmath>

namespace tarvo {

namespace {

std::string RemoveAll(std::string text, const std::string& part) {
    for (std::size_t at; (at = text.find(part)) != std::string::npos;)
        text.erase(at, part.size());
    return text;
}

// What a save dialog with a default extension does with a bare name.
std::string WithDefaultExtension(const std::string& path, const char* extension) {
    if (FileNameOf(path).find('.') == std::string::npos)
        return path + "." + extension;
    return path;
}

// The picture as it lies on the earth: rows from north to south, columns
// from west to east.
CViewBitmap OrientedForEarth(const CViewBitmap& view, const CKmlCorners& c) {
    const bool flipRows = c.lat1 < c.lat0;
    const bool flipColumns = c.lon1 < c.lon0;
    if ((!flipRows && !flipColumns) || view.IsEmpty() ||
        view.rgb.size() < static_cast<std::size_t>(view.width) * view.height * 3)
        return view;
    CViewBitmap out = view;
    const std::size_t w = static_cast<std::size_t>(view.width);
    const std::size_t h = static_cast<std::size_t>(view.height);
    for (std::size_t y = 0; y < h; ++y)
        for (std::size_t x = 0; x < w; ++x) {
            const std::size_t sy = flipRows ? h - 1 - y : y;
            const std::size_t sx = flipColumns ? w - 1 - x : x;
            for (std::size_t k = 0; k < 3; ++k)
                out.rgb[(y * w + x) * 3 + k] = view.rgb[(sy * w + sx) * 3 + k];
        }
    return out;
}

} // namespace

CKmlCorners KmlCorners(const CTarvoAnalyzerDoc& doc, IUiServices& ui) {
    const CBox& w = doc.ViewWindow;
    CKmlCorners c;
    TransformPoint(doc, false, w.minX, w.minY, c.lat0, c.lon0, ui);
    TransformPoint(doc, false, w.minX + w.extentX, w.minY + w.extentY, c.lat1, c.lon1, ui);
    return c;
}

std::string KmlPathFor(const std::string& chosen) {
    return WithDefaultExtension(chosen, "kml");
}

std::string KmlPictureFor(const std::string& chosen) {
    return WithDefaultExtension(chosen, "bmp");
}

std::string KmlPicturePath(const std::string& kmlPath) {
    const std::string name = FileNameOf(kmlPath);
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".kml") == 0)
        return kmlPath.substr(0, kmlPath.size() - 4) + ".bmp";
    return kmlPath + ".bmp";
}

std::string DefaultKmlName(const std::string& documentPath) {
    // The rule applies to the file name: a "." in a folder name is kept.
    const std::size_t slash = documentPath.find_last_of("/\\");
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = documentPath.find('.', nameStart);
    if (dot == std::string::npos || dot == nameStart)
        return documentPath;
    return documentPath.substr(0, dot);
}

std::string KmlCreatedTime(std::time_t when) {
    std::tm local{};
    if (!localtime_r(&when, &local))
        return {};
    char buffer[64];
    const std::size_t n = std::strftime(buffer, sizeof buffer, "%m/%d/%Y,%H:%M:%S", &local);
    return std::string(buffer, n);
}

std::string KmlText(const CTarvoAnalyzerDoc& doc, const std::string& kmlFileName,
                    const std::string& bmpPath, const std::string& description,
                    const std::string& createdTime, IUiServices& ui) {
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
    out += Format("\n<kml xmlns=\"%s\">", kKmlNamespace);
    out += "\n<GroundOverlay>";
    out += Format("\n\t<description> %s \n Created Time: %s.</description>",
                  EscapeXml(description).c_str(), EscapeXml(createdTime).c_str());
    out += Format("\n\t<name> %s </name>", EscapeXml(RemoveAll(kmlFileName, ".kml")).c_str());

    const CBox& w = doc.ViewWindow;
    const CKmlCorners c = KmlCorners(doc, ui);
    const double lat0 = c.lat0, lon0 = c.lon0, lat1 = c.lat1, lon1 = c.lon1;

    out += "\n\t<LookAt>";
    out += Format("\n\t<longitude> %3.5f</longitude>", (lon0 + lon1) * 0.5);
    out += Format("\n\t<latitude> %3.5f </latitude>", (lat0 + lat1) * 0.5);
    out += Format("\n\t<range> %4.1f </range>",
                  2.0 * std::sqrt(w.extentX * w.extentX + w.extentY * w.extentY));
    out += "\n\t<tilt> 0 </tilt>";
    out += "\n <heading> 0 </heading>";
    out += "\n </LookAt>";
    out += "\n <visibility>0</visibility>";
    out += "\n <Icon>";
    out += Format("\n<href> %s </href>", EscapeXml(bmpPath).c_str());
    out += "\n </Icon>";
    out += "\n <LatLonBox>";
    // The box names its edges by compass direction; a projection whose
    // site Y runs south (or X west) gives the far corner the smaller value,
    // and the picture is mirrored to match (see CreateKmlFile).
    out += Format("\n <north> %3.5f </north>", std::max(lat0, lat1));
    out += Format("\n <south> %3.5f </south>", std::min(lat0, lat1));
    out += Format("\n <east> %3.5f </east>", std::max(lon0, lon1));
    out += Format("\n <west>%3.5f </west>", std::min(lon0, lon1));
    out += "\n <rotation>0</rotation>";
    out += "\n </LatLonBox>";
    out += "\n </GroundOverlay>";
    out += "\n </kml>";
    return out;
}

bool SaveViewBitmap(const std::string& path, const CViewBitmap& bitmap, CWriteFailure* failure) {
    if (bitmap.IsEmpty() ||
        bitmap.rgb.size() < static_cast<std::size_t>(bitmap.width) * bitmap.height * 3)
        return false;
    const std::vector<std::uint8_t> bytes =
        EncodeBitmapFile(bitmap.width, bitmap.height, bitmap.rgb);
    return !bytes.empty() && WriteFileAtomically(path, bytes, failure);
}

KmlResult CreateKmlFile(CTarvoAnalyzerDoc& doc, IUiServices& ui,
                        const KmlDescriptionPrompt& askDescription, std::time_t now) {
    // Cancelling the first choice ends the command: writing files, or
    // overwriting the previous export, after a Cancel would surprise.
    const auto kmlChoice = ui.ChooseSaveFile(kKmlFilter, "", DefaultKmlName(doc.workspacePath));
    if (!kmlChoice || kmlChoice->empty())
        return KmlResult::Cancelled;
    std::string& kmlPath = doc.spareText1;
    kmlPath = KmlPathFor(*kmlChoice);
    const std::string kmlFileName = FileNameOf(kmlPath);

    std::string bmpPath = KmlPicturePath(kmlPath);
    if (auto bmpChoice = ui.ChooseSaveFile(kKmlBmpFilter, "", bmpPath);
        bmpChoice && !bmpChoice->empty())
        bmpPath = KmlPictureFor(*bmpChoice);

    // A picture that cannot be written is reported; the KML still refers to
    // it, so the user can put a picture there.
    const auto failed = [&](const std::string& path, const CWriteFailure& failure) {
        ui.MessageBox(WriteFailureText(path, failure), "File Open Error", MsgIcon::Error,
                      MsgButtons::Ok);
    };
    COnceUi onceUi(ui);
    const CViewBitmap picture = OrientedForEarth(doc.lastViewBitmap, KmlCorners(doc, onceUi));
    CWriteFailure failure;
    if (!SaveViewBitmap(bmpPath, picture, &failure))
        failed(bmpPath, failure);

    COutputFile file(kmlPath);
    if (!file.Ok()) {
        failed(kmlPath, file.Failure());
        return KmlResult::Failed;
    }
    std::string description;
    if (askDescription) {
        if (auto typed = askDescription())
            description = *typed;
    }
    // The viewer opens the KML from anywhere: the picture is named by its
    // full path.
    const std::string text =
        KmlText(doc, kmlFileName, FullPath(bmpPath), description, KmlCreatedTime(now), onceUi);
    if (!file.Write(text) || !file.Commit()) {
        failed(kmlPath, file.Failure());
        return KmlResult::Failed;
    }
    return KmlResult::Written;
}

} // namespace tarvo
