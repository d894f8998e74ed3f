#include "export/KmlExport.h"

#include "analysis/Coordinates.h"
#include "export/XmlText.h"
#include "formats/BitmapFile.h"
#include "model/Text.h"

#include <cmath>
#include <fstream>

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

std::string ReplaceKmlByBmp(std::string path) {
    if (const std::size_t at = path.rfind(".kml"); at != std::string::npos)
        path.replace(at, 4, ".bmp");
    return path;
}

} // namespace

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
    const double x0 = w.minX, y0 = w.minY;
    const double x1 = x0 + w.extentX, y1 = y0 + w.extentY;
    double lat0 = 0.0, lon0 = 0.0, lat1 = 0.0, lon1 = 0.0;
    TransformPoint(doc, false, x0, y0, lat0, lon0, ui);
    TransformPoint(doc, false, x1, y1, lat1, lon1, ui);

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
    out += Format("\n <north> %3.5f </north>", lat1);
    out += Format("\n <south> %3.5f </south>", lat0);
    out += Format("\n <east> %3.5f </east>", lon1);
    out += Format("\n <west>%3.5f </west>", lon0);
    out += "\n <rotation>0</rotation>";
    out += "\n </LatLonBox>";
    out += "\n </GroundOverlay>";
    out += "\n </kml>";
    return out;
}

bool SaveViewBitmap(const std::string& path, const CViewBitmap& bitmap) {
    if (bitmap.IsEmpty() ||
        bitmap.rgb.size() < static_cast<std::size_t>(bitmap.width) * bitmap.height * 3)
        return false;
    return SaveBitmapFile(path, bitmap.width, bitmap.height, bitmap.rgb);
}

KmlResult CreateKmlFile(CTarvoAnalyzerDoc& doc, IUiServices& ui,
                        const KmlDescriptionPrompt& askDescription, std::time_t now) {
    // Cancelling the first choice ends the command: writing files, or
    // overwriting the previous export, after a Cancel would surprise.
    const auto kmlChoice = ui.ChooseSaveFile(kKmlFilter, "", DefaultKmlName(doc.workspacePath));
    if (!kmlChoice || kmlChoice->empty())
        return KmlResult::Cancelled;
    std::string& kmlPath = doc.spareText1;
    kmlPath = WithDefaultExtension(*kmlChoice, "kml");
    const std::string kmlFileName = FileNameOf(kmlPath);

    std::string bmpPath = ReplaceKmlByBmp(kmlPath);
    if (auto bmpChoice = ui.ChooseSaveFile(kKmlBmpFilter, "", bmpPath);
        bmpChoice && !bmpChoice->empty())
        bmpPath = WithDefaultExtension(*bmpChoice, "bmp");

    // A picture that cannot be written is reported; the KML still refers to
    // it, so the user can put a picture there.
    if (!SaveViewBitmap(bmpPath, doc.lastViewBitmap))
        ui.MessageBox(Format("Error opening file %s.", bmpPath.c_str()), "File Open Error",
                      MsgIcon::Error, MsgButtons::Ok);

    std::ofstream file(kmlPath, std::ios::binary | std::ios::trunc);
    if (!file) {
        ui.MessageBox(Format("Error opening file %s.", kmlPath.c_str()), "File Open Error",
                      MsgIcon::Error, MsgButtons::Ok);
        return KmlResult::Failed;
    }
    std::string description;
    if (askDescription) {
        if (auto typed = askDescription())
            description = *typed;
    }
    const std::string text =
        KmlText(doc, kmlFileName, bmpPath, description, KmlCreatedTime(now), ui);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.close();
    if (!file) {
        ui.MessageBox(Format("Error opening file %s.", kmlPath.c_str()), "File Open Error",
                      MsgIcon::Error, MsgButtons::Ok);
        return KmlResult::Failed;
    }
    return KmlResult::Written;
}

} // namespace tarvo
