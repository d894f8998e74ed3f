#include "import/ImportFiles.h"

#include "formats/FileIo.h"
#include "formats/SsdReader.h"
#include "model/LittleEndian.h"

#include <algorithm>
#include <cmath>

namespace tarvo {

namespace {

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::optional<std::string> ReadText(const std::string& path) {
    const auto bytes = ReadWholeFile(path);
    if (!bytes)
        return std::nullopt;
    return std::string(bytes->begin(), bytes->end());
}

CImportRead Fatal(const std::string& path, const std::string& reason) {
    CImportRead read;
    read.file = path;
    read.fatal = CImportProblem{path, 0, reason};
    return read;
}

} // namespace

CImportRead ReadImportFile(const std::string& path, std::optional<ImportFormat> format,
                           std::vector<std::string>& filesRead, ImportFormat* used) {
    filesRead.push_back(path);
    const auto text = ReadText(path);
    if (!text)
        return Fatal(path, "cannot read the file");
    if (text->size() >= 8 &&
        GetU32(reinterpret_cast<const std::uint8_t*>(text->data()) + 4) == kSsdMagic)
        return Fatal(path, "this is a survey file already: open it as it is");
    if (text->find('\0') != std::string::npos)
        return Fatal(path, "not a text file: the measurements are read from text tables");
    const ImportFormat chosen = format.value_or(DetectImportFormat(*text));
    if (used)
        *used = chosen;
    const ScanFileLoader load = [&filesRead](const std::string& scan) {
        filesRead.push_back(scan);
        return ReadText(scan);
    };
    return ReadImportText(*text, chosen, path, FolderOf(path), load);
}

std::optional<CImportPlan> PlanOfStudy(const CTarvoAnalyzerDoc& doc) {
    if (!doc.mapLoaded || doc.projectionKind == kProjectionNone)
        return std::nullopt;
    const auto usable = [](double scale) { return std::isfinite(scale) && scale > 0.0; };
    if (!usable(doc.SiteScaleX) || !usable(doc.SiteScaleY) || doc.ImageWidth <= 0 ||
        doc.ImageHeight <= 0)
        return std::nullopt;
    CImportPlan plan;
    plan.gps = doc.projectionKind == kProjectionGps;
    plan.width = doc.ImageWidth;
    plan.height = doc.ImageHeight;
    plan.scaleX = doc.SiteScaleX;
    plan.scaleY = doc.SiteScaleY;
    plan.matrix = doc.ProjectionMatrix;
    return plan;
}

} // namespace tarvo
