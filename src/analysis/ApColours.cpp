#include "analysis/ApColours.h"

namespace tarvo {

namespace {

int ScaleChannel(int channel, double factor) {
    return static_cast<int>(channel * factor);
}

ColourRef ScaleColour(ColourRef c, double factor) {
    return MakeRgb(ScaleChannel(RedOf(c), factor), ScaleChannel(GreenOf(c), factor),
                   ScaleChannel(BlueOf(c), factor));
}

} // namespace

ColourRef ApContourColour(const CTarvoAnalyzerDoc& doc, int apIndex) {
    const CAPInfo& ap = doc.aps[apIndex];
    if (doc.coverageMode == 2)
        return doc.commonColour;
    if (doc.coverageMode != 1)
        return ap.colour;
    ColourRef colour = 0;
    for (const CGroupInfo& group : doc.activeGroups.groups)
        for (const CGroupItem& item : group.items)
            if (item.bssid == ap.bssid) {
                colour = group.colour;
                break;
            }
    return colour;
}

std::array<ColourRef, kCoverageLevels> ApLevelColours(ColourRef base) {
    std::array<ColourRef, kCoverageLevels> colours{};
    constexpr ColourRef kWhite = 0xFFFFFF;
    for (int k = 0; k < kCoverageLevels; ++k) {
        ColourRef c;
        if (k < 5) {
            const double s = 2.0 * (1.0 - k / 10.0) - 1.0;
            const ColourRef a = ScaleColour(base, 1.0 - s), b = ScaleColour(kWhite, s);
            c = MakeRgb(RedOf(a) + RedOf(b), GreenOf(a) + GreenOf(b), BlueOf(a) + BlueOf(b));
        } else {
            const double s = 0.6 - (1.0 - k / 10.0) * 1.2;
            c = ScaleColour(base, 1.0 - s);
        }
        colours[static_cast<std::size_t>(k)] = c;
    }
    return colours;
}

} // namespace tarvo
