#include "cli/ExportSupport.h"

#include "model/ApGroups.h"
#include "model/Text.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <memory>
#include <sstream>

#ifdef TARVO_HAVE_tarvo_view
#include <QCoreApplication>
#include <QGuiApplication>

#include <clocale>
#include <cstdio>
#endif

namespace tarvo {

#ifdef TARVO_HAVE_tarvo_view
namespace {

// Without a desktop session there is no runtime folder; pictures do not
// need one, so Qt's note that it uses a fallback is not passed on.
// Everything else goes to the handler that was in place.
QtMessageHandler previousHandler = nullptr;

void QuietRuntimeFolderNote(QtMsgType type, const QMessageLogContext& context,
                            const QString& message) {
    if (type == QtWarningMsg &&
        message.startsWith(QStringLiteral("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace
#endif

void EnsureOffscreenGui() {
#ifdef TARVO_HAVE_tarvo_view
    if (QCoreApplication::instance())
        return;
    previousHandler = qInstallMessageHandler(QuietRuntimeFolderNote);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "tarvo";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QGuiApplication> app = std::make_unique<QGuiApplication>(argc, argv);
    // Qt adopts the user's locale; numbers in reports, tables and KML must
    // keep their decimal points.
    std::setlocale(LC_NUMERIC, "C");
#endif
}

namespace {

void SelectAll(CTarvoAnalyzerDoc& doc) {
    for (CAPInfo& ap : doc.aps)
        ap.selected = 1;
    BuildApGroups(doc);
}

} // namespace

bool SelectApsByList(CTarvoAnalyzerDoc& doc, const std::string& selection,
                     const std::string& command, std::ostream& err) {
    if (selection == "all") {
        SelectAll(doc);
        return true;
    }
    for (CAPInfo& ap : doc.aps)
        ap.selected = 0;
    std::istringstream in(selection);
    std::string item;
    while (std::getline(in, item, ',')) {
        std::string mac;
        for (char c : item)
            mac += c == ':' ? '-' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        bool found = false;
        for (CAPInfo& ap : doc.aps)
            if (MacText(ap.bssid) == mac) {
                ap.selected = 1;
                found = true;
            }
        if (!found) {
            err << "tarvo " << command << ": no AP with MAC " << item << " in the study\n";
            return false;
        }
    }
    BuildApGroups(doc);
    return true;
}

void SelectAllWhenNoneSelected(CTarvoAnalyzerDoc& doc) {
    if (std::none_of(doc.aps.begin(), doc.aps.end(),
                     [](const CAPInfo& ap) { return ap.selected != 0; }))
        SelectAll(doc);
}

const std::set<std::string>& DisplayValueOptions() {
    static const std::set<std::string> options{"--colour-mode", "--units"};
    return options;
}

bool ApplyDisplayOptions(const CArgs& args, CTarvoAnalyzerDoc& doc, const std::string& command,
                         std::ostream& err) {
    if (const auto mode = args.Get("--colour-mode")) {
        if (*mode != "0" && *mode != "1" && *mode != "2") {
            err << "tarvo " << command << ": --colour-mode must be 0, 1 or 2\n";
            return false;
        }
        doc.coverageMode = (*mode)[0] - '0';
    }
    if (const auto units = args.Get("--units")) {
        if (*units != "m" && *units != "ft") {
            err << "tarvo " << command << ": --units must be m or ft\n";
            return false;
        }
        doc.UseFeet = *units == "ft";
    }
    return true;
}

} // namespace tarvo
