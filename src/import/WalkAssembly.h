#pragma once
// Rows of imported measurements made into one survey walk: positions
// placed on a plan (or on a new blank plan, or kept as GPS positions),
// consecutive rows at one position grouped into locations, every refused
// row reported with its place.

#include "formats/ProjectionReader.h"
#include "import/ImportRows.h"
#include "model/SurveyRecords.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarvo {

// The plan the positions lie on: what a projection file gives.
struct CImportPlan {
    bool gps = false; // a GPS projection: positions become latitude/longitude
    int width = 0;    // pixels
    int height = 0;
    double scaleX = 0.0; // metres per pixel
    double scaleY = 0.0;
    ProjectionMatrix4 matrix{}; // latitude/longitude to pixels (GPS projections)
};

// A blank plan made to cover positions in site metres.
struct CNewPlan {
    int width = 0;
    int height = 0;
    double metresPerPixel = 0.1;
    // Whole metres added to every input position so that none is negative:
    // site = input + shift.
    int shiftX = 0;
    int shiftY = 0;
};

// The room a new plan leaves around the positions.
constexpr double kNewPlanMarginM = 5.0;

struct CWalkOptions {
    std::optional<CImportPlan> plan;
    // Make a new blank plan at this many metres per pixel.
    std::optional<double> newPlanMetresPerPixel;
    // Import what can be imported and count the refused rows; otherwise
    // the first refused row stops the import.
    bool skipBad = false;
    // The time of the import (seconds since 1970): the location i without
    // a time of its own gets this time + i seconds, in the local zone.
    std::int64_t importSeconds = 0;
};

struct CWalk {
    std::vector<CDataPoint> locations; // in input order, with their samples
    bool gps = false;                  // GPS locations (kind 0 or 1), else linear (kind 2)
    std::optional<CNewPlan> newPlan;
    // Refused rows in input order: all of them with skipBad, else the first.
    std::vector<CImportProblem> refused;
    // Nothing can be imported: an input that cannot be read, positions of
    // two kinds, positions without the plan they need, a new plan too
    // large, no location at all.
    std::optional<CImportProblem> fatal;
    int samples = 0;
    int bssids = 0;       // distinct BSSIDs
    int skippedRows = 0;  // refused rows left out (skipBad)
    int otherRadios = 0;  // rows of other radios left out
    bool stopped = false; // a refused row stopped the import (no skipBad)

    // True when the walk may be written.
    bool Ok() const { return !fatal && !stopped; }
};

// Groups the rows of every input, in the order given, into one walk.
// Consecutive rows of one input form one location while their location key
// and their stored position (pixel, or latitude/longitude in 1/3,600,000
// degree) stay the same; a location holds at most 65535 samples and
// continues as a new location at the same place beyond that.
//
// Positions: x_m,y_m and x,y need a plan (or, for x_m,y_m, a new plan) and
// are refused outside it; pixels are rounded to the nearest; on a GPS plan
// they become latitude/longitude through its matrix. lat,lon are kept as
// GPS positions and refuse a floor plan (.lpf). A walk never mixes GPS and
// plan positions.
CWalk AssembleWalk(const std::vector<CImportRead>& inputs, const CWalkOptions& options);

// The survey file of a walk (header time stamp createdSeconds).
std::vector<std::uint8_t> WalkFileBytes(const CWalk& walk, std::int64_t createdSeconds);

} // namespace tarvo
