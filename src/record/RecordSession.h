#pragma once
// A walk being recorded on a plan: each point is placed where the surveyor
// stands (site metres or map pixels, placed exactly as an import places
// them), holds the mean level of every BSS its scans heard with the number
// of scans that heard it, and optionally the throughput measured there. The
// last point can be taken back. The walk and its throughput side file are
// written whole after every change, so an interrupted walk loses at most
// the point being scanned.
//
// The survey file uses 48-byte sample records: the 46 bytes every reader
// keeps, then at byte 46 the 16-bit number of scans that heard the BSS at
// that point (readers skip it, as the record size allows).
//
// Thread: one thread at a time; nothing here blocks except Save (disk).

#include "import/ImportRows.h"
#include "import/WalkAssembly.h"
#include "model/ThroughputRecords.h"
#include "record/IperfRunner.h"
#include "record/ScanAverage.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace tarvo {

constexpr std::uint32_t kRecordedSampleSize = 48;
constexpr std::size_t kHeardCountOffset = 46;

// Where the surveyor stands: x_m,y_m in site metres (X to the right, Y up
// from the plan's bottom edge) or x,y in map pixels (origin top-left).
struct CRecordPosition {
    ImportFrame frame = ImportFrame::SiteMetres;
    double first = 0.0;
    double second = 0.0;
};

struct CRecordedPoint {
    CDataPoint location;              // as stored, with its samples
    std::vector<std::uint16_t> heard; // scans that heard each sample's BSS
    int scans = 0;
    // Site metres of the stored position on a floor plan (the pixel the
    // point was rounded to, as processing places it); NaN on a GPS plan.
    double siteX = std::numeric_limits<double>::quiet_NaN();
    double siteY = std::numeric_limits<double>::quiet_NaN();
    std::optional<double> strongestDbm; // the strongest mean level; none when nothing was heard
    std::optional<CThroughputPoint> throughput;
};

// What adding a point did.
struct CAddOutcome {
    std::string refusal; // not empty: the point was not added
    // BSSs left out because their level is beyond what a survey holds.
    std::vector<std::string> leftOut;
};

class CRecordSession {
public:
    CRecordSession(CImportPlan plan, std::int64_t createdSeconds);

    bool Gps() const { return plan_.gps; }
    const CImportPlan& Plan() const { return plan_; }

    // The point a position would become (without samples), or why it is
    // refused (outside the plan ...), before anything is scanned.
    struct CPlaced {
        std::string refusal;
        CRecordedPoint point;
    };
    CPlaced Place(const CRecordPosition& at) const;

    // Adds a point at `at` from its scans (at least one); the time of the
    // last scan is the point's time. A throughput result is kept for floor
    // plans only.
    CAddOutcome Add(const CRecordPosition& at, const std::vector<CScan>& scans,
                    const std::optional<CThroughputResult>& throughput = std::nullopt);
    // Removes the last point; false when there is none.
    bool Undo();

    const std::vector<CRecordedPoint>& Points() const { return points_; }
    std::size_t Count() const { return points_.size(); }

    // The survey file of the points so far.
    std::vector<std::uint8_t> WalkBytes() const;
    // The measured throughput of the points so far, in walk order.
    std::vector<CThroughputPoint> Throughput() const;

private:
    CWalk Assemble(const CRecordPosition& at, const std::vector<CHeardBss>& heard,
                   std::int64_t timeSeconds, std::vector<std::string>* leftOut) const;

    CImportPlan plan_;
    std::int64_t created_;
    std::vector<CRecordedPoint> points_;
};

// Writes the walk to walkPath and, with withThroughput, its side file
// (ThroughputPathFor) atomically: each file is replaced only once it was
// written whole. Empty on success, else the message.
std::string SaveRecording(const CRecordSession& session, const std::string& walkPath,
                          bool withThroughput);

} // namespace tarvo
