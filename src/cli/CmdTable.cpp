// tarvo table: converts the survey data of a study into a delimited text
// table, as the map view's "Output a table " does. Built only with the
// export library (the table writer itself uses no Qt).

#ifdef TARVO_HAVE_tarvo_export

#include "cli/Args.h"
#include "cli/CliOutput.h"
#include "cli/CliUi.h"
#include "cli/Commands.h"
#include "cli/Study.h"
#include "export/TableOutput.h"

#include <ostream>

namespace tarvo {

namespace {

// tab, comma, space, or any one character ("Other").
bool ParseDelimiter(const std::string& text, CTableOptions& options) {
    if (text == "tab")
        options.delimiter = kDelimiterTab;
    else if (text == "comma")
        options.delimiter = kDelimiterComma;
    else if (text == "space")
        options.delimiter = kDelimiterSpace;
    else if (text.size() == 1) {
        options.delimiter = kDelimiterOther;
        options.otherText = text;
    } else
        return false;
    return true;
}

int RunTable(const std::vector<std::string>& rawArgs, CCommandIo& io) {
    std::set<std::string> values = StudyValueOptions();
    values.insert({"--out", "--delimiter"});
    std::set<std::string> flags = StudyFlags();
    flags.insert({"--no-header", "--no-index"});
    CArgs args(rawArgs, values, flags);
    const auto out = args.Get("--out");
    auto study = StudyOptionsOrComplain(args, "table", io.err);
    if (!study)
        return 2;
    if (!out || out->empty()) {
        io.err << "tarvo table: --out FILE.txt is required\n";
        return 2;
    }
    const std::vector<std::string> inputs = StudyInputs(*study);
    if (!OutputIsFree("table", *out, inputs, io.err))
        return 2;
    CTableOptions options;
    options.path = *out;
    options.fileChosen = true;
    options.includeHeader = !args.Has("--no-header");
    options.includeIndex = !args.Has("--no-index");
    if (auto d = args.Get("--delimiter"); d && !ParseDelimiter(*d, options)) {
        io.err << "tarvo table: --delimiter must be tab, comma, space or one character\n";
        return 2;
    }

    CStderrUi ui(io.err, io.progress);
    CTarvoAnalyzerDoc doc;
    if (!OpenStudy(doc, *study, ui))
        return 1;
    // A large study is written as numbered files in a folder.
    for (const std::string& file : TableFilePaths(doc, options))
        if (!OutputIsFree("table", file, inputs, io.err))
            return 2;
    const TableResult result = WriteTable(doc, options, ui);
    if (result != TableResult::Written && result != TableResult::WrittenSplit)
        return 1;
    io.out << *out << '\n';
    return ui.ExitStatus();
}

const CRegisterCommand kRegister{
    {"table",
     "table STUDY --out FILE.txt [--delimiter tab|comma|space|CHAR] [--no-header] "
     "[--no-index]   write the survey data as a delimited table",
     RunTable,
     std::string("Writes one row per sample (an AP heard at a location) with the location's\n"
                 "position, the AP's frequency, MAC, SSID and RSSI, and the time. A study of\n"
                 "more than 60000 locations goes to a folder named FILE (without .txt) of\n"
                 "files FILE_1.txt, FILE_2.txt, ...\n\n") +
         kStudyHelp +
         "  --out FILE.txt       the table\n"
         "  --delimiter D        between cells: tab (default), comma, space or one character\n"
         "  --no-header          leave out the row of column names\n"
         "  --no-index           leave out the location number column\n"}};

} // namespace

} // namespace tarvo

#endif // TARVO_HAVE_tarvo_export
