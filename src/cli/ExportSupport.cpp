#include "cli/ExportSupport.h"

#include "model/ApGroups.h"
#include "model/SettingRanges.h"
#include "model/Text.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <memory>
#include <sstream>

#ifdef TARVO_HAVE_tarvo_view
#include "view/QtProgramSetup.h"

#include <QCoreApplication>
#include <QGuiApplication>
#endif

namespace tarvo {

void EnsureOffscreenGui() {
#ifdef TARVO_HAVE_tarvo_view
    if (QCoreApplication::instance())
        return;
    QuietenSessionNotes();
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "tarvo";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QGuiApplication> app = std::make_unique<QGuiApplication>(argc, argv);
    KeepDecimalPoint();
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

std::optional<int> OverlapLevelOrComplain(CArgs& args, const std::string& command,
                                          std::ostream& err) {
    const auto text = args.Get(kOverlapLevelOption);
    if (!text)
        return CTarvoAnalyzerDoc().coChannelLevelDbm;
    char* end = nullptr;
    const long level = std::strtol(text->c_str(), &end, 10);
    if (text->empty() || *end != '\0' || level < kLowestPowerDbm || level > kHighestPowerDbm) {
        err << "tarvo " << command << ": " << kOverlapLevelOption << " must be a whole number of "
            << "dBm from " << kLowestPowerDbm << " to " << kHighestPowerDbm << '\n';
        return std::nullopt;
    }
    return static_cast<int>(level);
}

} // namespace tarvo
