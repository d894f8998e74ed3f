#include "cli/ExportSupport.h"

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
#endif

namespace tarvo {

void EnsureOffscreenGui() {
#ifdef TARVO_HAVE_tarvo_view
    if (QCoreApplication::instance())
        return;
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

bool SelectApsByList(CTarvoAnalyzerDoc& doc, const std::string& selection,
                     const std::string& command, std::ostream& err) {
    if (selection == "all") {
        for (CAPInfo& ap : doc.aps)
            ap.selected = 1;
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
    return true;
}

void SelectAllWhenNoneSelected(CTarvoAnalyzerDoc& doc) {
    if (std::none_of(doc.aps.begin(), doc.aps.end(),
                     [](const CAPInfo& ap) { return ap.selected != 0; }))
        for (CAPInfo& ap : doc.aps)
            ap.selected = 1;
}

} // namespace tarvo
