#pragma once
// The survey views (display types 6..9) over the map: the signal-to-noise
// margin and the second-strongest level in bands, co-channel overlap in
// bands of 0..5+ APs, and the strongest AP's cells in each AP's colour;
// with the legend rows that explain each.

#include "analysis/SiteViews.h"
#include "model/Document.h"

#include <QImage>
#include <QString>

#include <vector>

class QPainter;

namespace tarvo {

struct CLayerContext;

// Bands of the margin view: 0, 5, ... 45 dB and above.
constexpr double kSnrBandDb = 5.0;
// Bands of the co-channel view: 0, 1, ... 4 and 5 or more other APs.
constexpr int kCoChannelBands = 6;
// The window legend lists at most this many APs or groups, then how many
// more there are.
constexpr int kMostLegendEntries = 24;

// Palette index of co-channel band b (b other APs; the last band 5 or
// more): blue for none, through the palette's greens, to red.
int CoChannelPaletteIndex(int band);

// Draws survey view displayType on the canvas, from levels (the site levels
// of the document, ComputeSiteApLevels) where the view needs them. Nothing
// without coverage.
void DrawSurveyView(const CLayerContext& ctx, int displayType, const CSiteApLevels& levels,
                    QImage& canvas);
// The same, computing the site levels (on every core) where the view needs
// them.
void DrawSurveyView(const CLayerContext& ctx, int displayType, QImage& canvas);

// The site levels a survey view is drawn from: computed for the views that
// need them (secondary, co-channel, strongest AP), empty for the others.
CSiteApLevels SiteLevelsFor(const CTarvoAnalyzerDoc& doc, int displayType);

struct CLegendRow {
    ColourRef colour = 0;
    QString label;
    bool swatch = true; // false: a text row without a colour ("... 3 more")
};

struct CSurveyLegend {
    QString title;
    std::vector<CLegendRow> rows; // top row first: the strongest band, the most APs
};

// The legend of a survey view: its title and rows with their colours and
// labels in the style of the strength legend (" 45:50", " >= 5", " MAC").
// The strongest-AP view lists the APs (or groups, by colour mode) that are
// strongest somewhere in levels, at most maxEntries of them. Empty for other
// display types.
CSurveyLegend SurveyViewLegend(const CTarvoAnalyzerDoc& doc, int displayType,
                               const CSiteApLevels& levels, int maxEntries = kMostLegendEntries);

// A short sentence saying what a survey view shows, for the reports.
QString SurveyViewCaption(const CTarvoAnalyzerDoc& doc, int displayType);

// The heading of a survey view in the reports and menus.
QString SurveyViewTitle(int displayType);

} // namespace tarvo
