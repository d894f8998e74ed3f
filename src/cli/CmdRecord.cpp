// tarvo record: a walk recorded on this machine from the terminal. The user
// types where they stand; the Wi-Fi adapter scans (or saved scans are
// replayed), the point is added to the walk and the survey file is written
// again whole, so that an interrupted walk loses at most the point being
// scanned. "u" takes the last point back, "q" (or the end of the input)
// ends the walk.

#include "cli/Args.h"
#include "cli/CliOutput.h"
#include "cli/CliUi.h"
#include "cli/Commands.h"
#include "cli/Study.h"
#include "import/ImportFields.h"
#include "import/ImportFiles.h"
#include "model/Text.h"
#include "record/IperfRunner.h"
#include "record/IwScanSource.h"
#include "record/RecordSession.h"
#include "record/ReplayScanSource.h"
#include "record/ThroughputCsv.h"
#include "record/WirelessInterfaces.h"

#include <ctime>
#include <istream>
#include <memory>
#include <ostream>
#include <set>
#include <sstream>

namespace tarvo {

namespace {

constexpr int kMostScansPerPoint = 100;
constexpr double kBitsPerMegabit = 1e6;
constexpr double kRawPerDegree = 3600000.0;

struct CRecordRequest {
    std::string plan;
    std::string out;
    std::optional<std::string> iface;
    std::optional<std::string> replay;
    int scansPerPoint = 1;
    bool pixels = false;
    std::optional<std::string> iperf;
};

std::optional<CRecordRequest> ReadRequest(const std::vector<std::string>& rawArgs,
                                          std::ostream& err) {
    CArgs args(rawArgs, {"--plan", "--out", "--iface", "--replay", "--scans-per-point", "--iperf"},
               {"--pixels"});
    auto complain = [&err](const std::string& text) {
        err << "tarvo record: " << text << '\n';
        return std::optional<CRecordRequest>();
    };
    const auto scans = args.GetInt("--scans-per-point");
    if (!args.Ok())
        return complain(args.Error());
    if (!args.Positional().empty())
        return complain("unexpected argument '" + args.Positional().front() + "'");
    CRecordRequest request;
    const auto plan = args.Get("--plan");
    const auto out = args.Get("--out");
    if (!plan || plan->empty())
        return complain("--plan PLAN.lpf is required: the floor plan the walk is recorded on");
    if (!out || out->empty())
        return complain("--out WALK.ssd is required");
    request.plan = *plan;
    request.out = *out;
    request.iface = args.Get("--iface");
    request.replay = args.Get("--replay");
    if (request.iface && request.replay)
        return complain("give --iface (scan with an adapter) or --replay (saved scans), not both");
    if (scans && (*scans < 1 || *scans > kMostScansPerPoint))
        return complain("--scans-per-point must be 1 to " + std::to_string(kMostScansPerPoint));
    request.scansPerPoint = static_cast<int>(scans.value_or(1));
    request.pixels = args.Has("--pixels");
    request.iperf = args.Get("--iperf");
    if (request.iperf && request.iperf->empty())
        return complain("--iperf needs the name of a host that runs iperf3 -s");
    return request;
}

// The scan source the request names, or nullptr after its message.
std::unique_ptr<IScanSource> OpenSource(const CRecordRequest& request, std::ostream& err) {
    if (request.replay) {
        auto replay = std::make_unique<CReplayScanSource>(*request.replay);
        if (!replay->Error().empty()) {
            err << "tarvo record: " << replay->Error() << '\n';
            return nullptr;
        }
        return replay;
    }
    std::string iface = request.iface.value_or("");
    if (iface.empty()) {
        const std::vector<std::string> found = ListWirelessInterfaces();
        if (found.empty()) {
            err << "tarvo record: no wireless interface found: name one with --iface, or replay "
                   "saved scans with --replay DIR\n";
            return nullptr;
        }
        iface = found.front();
        err << "tarvo record: scanning with " << iface << '\n';
    }
    return std::make_unique<CIwScanSource>(iface);
}

// "3.5 4", "3.5,4" or "3.5;4": the two numbers of a position.
std::optional<std::pair<double, double>> ParsePair(std::string_view text) {
    std::vector<std::string_view> parts;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t start = text.find_first_not_of(" \t,;", at);
        if (start == std::string_view::npos)
            break;
        const std::size_t end = text.find_first_of(" \t,;", start);
        parts.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
        at = end == std::string_view::npos ? text.size() : end;
    }
    if (parts.size() != 2)
        return std::nullopt;
    const auto a = ParseDecimal(parts[0]), b = ParseDecimal(parts[1]);
    if (!a || !b)
        return std::nullopt;
    return std::make_pair(*a, *b);
}

std::string Where(const CRecordedPoint& point, bool gps) {
    const CDataPoint& at = point.location;
    if (gps)
        return Format("lat %.6f, lon %.6f", at.northing / kRawPerDegree,
                      at.easting / kRawPerDegree);
    return Format("x_m %.2f, y_m %.2f (pixel %u, %u)", point.siteX, point.siteY, at.pixelX,
                  at.pixelY);
}

std::string Rate(const std::optional<double>& bps) {
    return bps ? Format("%.1f Mbit/s", *bps / kBitsPerMegabit) : std::string("-");
}

class CRecorder {
public:
    CRecorder(const CRecordRequest& request, CCommandIo& io, IScanSource& source,
              CRecordSession& session, bool throughput)
        : request_(request), io_(io), source_(source), session_(session), throughput_(throughput) {}

    // The loop over the typed lines; the exit status.
    int Run(std::istream& in) {
        std::string line;
        while (true) {
            Prompt();
            if (!std::getline(in, line))
                break;
            const std::string_view command = TrimBlanks(line);
            if (command.empty())
                continue;
            if (command == "q" || command == "quit")
                break;
            if (command == "u" || command == "undo")
                Undo();
            else
                Record(command);
        }
        return Finish();
    }

private:
    void Prompt() {
        io_.err << "point " << session_.Count() + 1 << ": "
                << (request_.pixels ? "x y in pixels" : "x_m y_m") << " (u: undo, q: end)> "
                << std::flush;
    }

    void Complain(const std::string& text) { io_.err << "tarvo record: " << text << '\n'; }

    void Record(std::string_view command) {
        const auto pair = ParsePair(command);
        if (!pair) {
            Complain(std::string("type the position as two numbers (") +
                     (request_.pixels ? "x y in map pixels" : "x_m y_m in site metres") +
                     "), u to undo the last point or q to end");
            return;
        }
        CRecordPosition at;
        at.frame = request_.pixels ? ImportFrame::Pixels : ImportFrame::SiteMetres;
        at.first = pair->first;
        at.second = pair->second;
        if (const auto placed = session_.Place(at); !placed.refusal.empty()) {
            Complain(placed.refusal);
            return;
        }
        std::vector<CScan> scans;
        for (int i = 0; i < request_.scansPerPoint; ++i) {
            io_.err << (request_.scansPerPoint > 1
                            ? Format("scanning %d/%d...\n", i + 1, request_.scansPerPoint)
                            : std::string("scanning...\n"))
                    << std::flush;
            CScanOutcome outcome = source_.Scan();
            if (!outcome.scan) {
                Complain(outcome.error + "; the point is not recorded");
                return;
            }
            if (!outcome.scan->note.empty())
                Complain("note: " + outcome.scan->note);
            scans.push_back(std::move(*outcome.scan));
        }
        std::optional<CThroughputResult> throughput;
        if (throughput_) {
            io_.err << "measuring the throughput...\n" << std::flush;
            CIperfOptions options;
            options.server = *request_.iperf;
            throughput = MeasureThroughput(options);
            if (const std::string error = throughput->ErrorText(); !error.empty())
                Complain("throughput " + error);
        }
        const CAddOutcome added = session_.Add(at, scans, throughput);
        if (!added.refusal.empty()) {
            Complain(added.refusal);
            return;
        }
        for (const std::string& bss : added.leftOut)
            Complain("left out " + bss + ": beyond the levels a survey holds");
        if (!Save()) {
            session_.Undo();
            Complain("the point is not recorded; the file holds the points before it");
            return;
        }
        const CRecordedPoint& point = session_.Points().back();
        io_.out << "point " << session_.Count() << " at " << Where(point, session_.Gps()) << ": ";
        if (point.heard.empty())
            io_.out << "nothing heard";
        else
            io_.out << point.heard.size() << (point.heard.size() == 1 ? " BSSID" : " BSSIDs");
        if (point.strongestDbm)
            io_.out << Format(", strongest %.1f dBm", *point.strongestDbm);
        if (throughput)
            io_.out << "; throughput down " << Rate(throughput->down.bitsPerSecond) << ", up "
                    << Rate(throughput->up.bitsPerSecond);
        io_.out << "; saved" << std::endl;
    }

    void Undo() {
        if (!session_.Undo()) {
            Complain("nothing to undo");
            return;
        }
        if (!Save())
            return;
        io_.out << "point " << session_.Count() + 1 << " removed; " << session_.Count()
                << (session_.Count() == 1 ? " point" : " points") << " saved" << std::endl;
    }

    bool Save() {
        const std::string error = SaveRecording(session_, request_.out, throughput_);
        written_ = written_ || error.empty();
        lastSaveFailed_ = !error.empty();
        if (!error.empty())
            Complain(error);
        return error.empty();
    }

    int Finish() {
        if (!written_) {
            io_.out << "no point recorded: nothing written" << std::endl;
            return 0;
        }
        int samples = 0;
        std::set<MacAddress> bssids;
        for (const CRecordedPoint& point : session_.Points()) {
            samples += point.location.samples.GetSize();
            for (int i = 0; i < point.location.samples.GetSize(); ++i)
                bssids.insert(point.location.samples[i].bssid);
        }
        io_.out << request_.out << ": " << session_.Count()
                << (session_.Count() == 1 ? " location, " : " locations, ") << samples
                << (samples == 1 ? " sample, " : " samples, ") << bssids.size()
                << (bssids.size() == 1 ? " distinct BSSID" : " distinct BSSIDs") << '\n';
        if (throughput_)
            io_.out << ThroughputPathFor(request_.out) << ": " << session_.Throughput().size()
                    << " throughput measurements\n";
        io_.out << std::flush;
        return lastSaveFailed_ ? 1 : 0;
    }

    const CRecordRequest& request_;
    CCommandIo& io_;
    IScanSource& source_;
    CRecordSession& session_;
    bool throughput_;
    bool written_ = false;
    bool lastSaveFailed_ = false;
};

int RunRecord(const std::vector<std::string>& rawArgs, CCommandIo& io) {
    const auto request = ReadRequest(rawArgs, io.err);
    if (!request)
        return 2;
    std::vector<std::string> taken = {request->plan};
    if (!OutputIsFree("record", request->out, taken, io.err))
        return 2;
    if (request->iperf) {
        taken.push_back(request->out);
        if (!OutputIsFree("record", ThroughputPathFor(request->out), taken, io.err))
            return 2;
    }
    const auto plan = ReadPlanFile(request->plan, "record", io.err);
    if (!plan) {
        io.err << "tarvo record: nothing recorded\n";
        return 1;
    }
    bool throughput = request->iperf.has_value();
    if (throughput && plan->gps) {
        io.err << "tarvo record: --iperf needs a floor plan (.lpf): the throughput side file "
                  "keeps positions in a plan's site metres\n";
        return 2;
    }
    const std::unique_ptr<IScanSource> source = OpenSource(*request, io.err);
    if (!source)
        return 1;
    if (throughput) {
        if (const std::string missing = CheckIperf(); !missing.empty()) {
            io.err << "tarvo record: " << missing << "; recording the walk without it\n";
            throughput = false;
        }
    }
    CRecordSession session(*plan, static_cast<std::int64_t>(std::time(nullptr)));
    CRecorder recorder(*request, io, *source, session, throughput);
    std::istringstream nothing;
    return recorder.Run(io.in ? *io.in : nothing);
}

const CRegisterCommand kRegister{
    {"record",
     "record --plan PLAN.lpf --out WALK.ssd [--iface IF | --replay DIR] [--scans-per-point N] "
     "[--pixels] [--iperf SERVER]   record a walk: type where you stand, the adapter scans",
     RunRecord,
     "Records a survey walk on this machine. For each point the user types where they\n"
     "stand; the Wi-Fi adapter scans (iw dev IF scan), the point is added with every\n"
     "BSS heard, and the walk is written again whole, so that an interrupted walk\n"
     "loses at most the point being scanned. Typed lines:\n"
     "  X Y                  the position: x_m y_m in site metres (X to the right, Y up\n"
     "                       from the plan's bottom edge), or x y in map pixels with\n"
     "                       --pixels; blanks, ',' or ';' between the two numbers\n"
     "  u                    take the last point back\n"
     "  q                    end the walk (so does the end of the input)\n\n"
     "  --plan PLAN.lpf|.gpf the plan the positions lie on (tarvo plan makes one from a\n"
     "                       picture)\n"
     "  --out WALK.ssd       the survey walk, written after every point\n"
     "  --iface IF           the wireless interface to scan with (default: the first one\n"
     "                       listed under /sys/class/net, or by iw dev)\n"
     "  --replay DIR         replay saved `iw dev IF scan` texts of a folder instead, one\n"
     "                       file per scan in the natural order of their names\n"
     "  --scans-per-point N  scans per point, 1 to 100 (default 1): each BSS gets the\n"
     "                       mean of the levels of the scans that heard it; how many did\n"
     "                       is kept in bytes 46-47 of its 48-byte sample record\n"
     "  --pixels             positions are map pixels (origin top-left, y down)\n"
     "  --iperf SERVER       also measure the throughput at each point against an iperf3\n"
     "                       server (host or host:port; iperf3 -c SERVER -J -t 3, down\n"
     "                       with -R and up) into WALK.throughput.csv\n"
     "                       (x_m,y_m,down_bps,up_bps,jitter_ms); floor plans only.\n"
     "                       Without iperf3 the walk is recorded without it.\n\n"
     "A fresh scan needs the CAP_NET_ADMIN capability: run as root, or grant it to a\n"
     "copy of iw (sudo setcap cap_net_admin+ep /usr/local/bin/iw). Without it the\n"
     "adapter's cached results (iw dev IF scan dump) are used, with a note that they\n"
     "may be stale.\n"}};

} // namespace

} // namespace tarvo
