#include "import/ImportFormat.h"

#include "import/CsvText.h"
#include "import/ImportFields.h"
#include "import/MeasurementCsv.h"
#include "import/SurveyTableText.h"
#include "import/WigleCsv.h"

namespace tarvo {

namespace {

// The first line that is neither blank nor a '#' comment.
std::string_view HeaderLine(std::string_view text) {
    for (const CTextLine& line : SplitLines(text)) {
        const std::string_view body = TrimBlanks(line.text);
        if (!body.empty() && body[0] != '#')
            return line.text;
    }
    return {};
}

bool LooksLikeIwScan(std::string_view text) {
    return HeaderLine(text).substr(0, 4) == "BSS ";
}

} // namespace

const char* ImportFormatName(ImportFormat format) {
    switch (format) {
    case ImportFormat::Csv:
        return "csv";
    case ImportFormat::Iw:
        return "iw";
    case ImportFormat::Wigle:
        return "wigle";
    case ImportFormat::Table:
        return "table";
    }
    return "csv";
}

std::optional<ImportFormat> ImportFormatNamed(std::string_view name) {
    for (ImportFormat format :
         {ImportFormat::Csv, ImportFormat::Iw, ImportFormat::Wigle, ImportFormat::Table})
        if (name == ImportFormatName(format))
            return format;
    return std::nullopt;
}

ImportFormat DetectImportFormat(std::string_view text) {
    if (LooksLikeWigleCsv(text))
        return ImportFormat::Wigle;
    if (LooksLikeSurveyTable(text))
        return ImportFormat::Table;
    const std::string_view header = HeaderLine(text);
    if (const auto fields = SplitFields(header, HeaderDelimiter(header));
        fields && FindColumn(*fields, "file") >= 0)
        return ImportFormat::Iw;
    return ImportFormat::Csv;
}

CImportRead ReadImportText(std::string_view text, ImportFormat format, const std::string& file,
                           const std::string& folder, const ScanFileLoader& load) {
    if ((format == ImportFormat::Csv || format == ImportFormat::Iw) && LooksLikeIwScan(text)) {
        CImportRead read;
        read.file = file;
        read.fatal = CImportProblem{file, 0,
                                    "this is the text of one iw scan: list the scan files with "
                                    "the positions they were taken at in a manifest (x,y,file)"};
        return read;
    }
    switch (format) {
    case ImportFormat::Iw:
        return ReadIwManifest(text, file, folder, load);
    case ImportFormat::Wigle:
        return ReadWigleCsv(text, file);
    case ImportFormat::Table:
        return ReadSurveyTable(text, file);
    case ImportFormat::Csv:
        break;
    }
    return ReadMeasurementCsv(text, file);
}

} // namespace tarvo
