#include "samples/SampleStudy.h"

#include "analysis/ProjectionOpen.h"
#include "formats/BitmapFile.h"
#include "formats/FileIo.h"
#include "formats/Json.h"
#include "formats/ProjectionWriter.h"
#include "formats/SsdReader.h"
#include "formats/SsdWriter.h"
#include "model/Text.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <random>
#include <sstream>

namespace tarvo {

namespace {

// ---- randomness ------------------------------------------------------------
// mt19937_64 is fully specified by the standard; the distributions are not,
// so uniform and normal values are derived here by fixed formulas.
class CRandom {
public:
    explicit CRandom(std::uint64_t seed) : engine_(seed) {}

    double Uniform() { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }
    double Uniform(double low, double high) { return low + (high - low) * Uniform(); }
    double Normal() {
        if (haveSpare_) {
            haveSpare_ = false;
            return spare_;
        }
        double u1 = Uniform();
        while (u1 <= 0.0)
            u1 = Uniform();
        const double u2 = Uniform();
        const double r = std::sqrt(-2.0 * std::log(u1));
        const double angle = 2.0 * 3.14159265358979323846 * u2;
        spare_ = r * std::sin(angle);
        haveSpare_ = true;
        return r * std::cos(angle);
    }
    double Normal(double sigma) { return sigma * Normal(); }

private:
    std::mt19937_64 engine_;
    double spare_ = 0.0;
    bool haveSpare_ = false;
};

// FNV-1a: each scenario draws its own numbers for the same seed.
std::uint64_t NameHash(const std::string& name) {
    std::uint64_t h = 0xcbf29ce484222325ull;
    for (unsigned char c : name) {
        h ^= c;
        h *= 0x100000001b3ull;
    }
    return h;
}

double RoundTo(double value, double step) {
    return std::round(value / step) * step;
}

// ---- scenarios ---------------------------------------------------------------

struct CRect { // site metres
    double minY, minX, maxY, maxX;
};

struct CWalkPlan {
    CRect area;         // lanes run along X inside it
    double laneSpacing; // metres between lanes
    int locations;
    int startHour, startMinute;
};

struct CScenario {
    std::string name;
    ProjectionFileKind kind;
    double widthM, heightM, metresPerPixel;
    int apColumns, apRows;
    std::vector<std::int32_t> channels; // cycled over the APs
    std::string ssid24, ssid5;
    double slopeLow, slopeHigh;
    double sensitivityDbm;
    std::vector<CWalkPlan> walks;
    double originLat, originLon; // GPS: latitude/longitude of the top-left pixel
};

const std::vector<CScenario>& Scenarios() {
    static const std::vector<CScenario> scenarios = {
        {"office",
         ProjectionFileKind::Linear,
         60.0,
         40.0,
         0.05,
         4,
         2,
         {1, 36, 6, 44, 11, 36, 1, 44},
         "Office",
         "Office-5G",
         -38.0,
         -28.0,
         -92.0,
         {{{1.5, 1.5, 38.5, 36.0}, 3.0, 450, 9, 30}, {{1.5, 24.0, 38.5, 58.5}, 3.0, 450, 11, 0}},
         0.0,
         0.0},
        {"campus",
         ProjectionFileKind::Gps,
         300.0,
         200.0,
         0.5,
         5,
         4,
         {1, 36, 6, 40, 11, 44, 1, 48, 6, 149, 11, 153, 1, 157, 6, 161, 11, 36, 1, 44},
         "Campus",
         "Campus-5G",
         -35.0,
         -28.0,
         -92.0,
         {{{100.0, 5.0, 195.0, 295.0}, 15.0, 1000, 13, 0},
          {{5.0, 5.0, 105.0, 295.0}, 15.0, 1000, 14, 30}},
         60.1700,
         24.9400},
        {"large",
         ProjectionFileKind::Linear,
         300.0,
         200.0,
         0.25,
         12,
         10,
         {1, 6, 11, 36, 40, 44, 48, 149, 153, 157, 161},
         "Hall",
         "Hall-5G",
         -40.0,
         -34.0,
         -88.0,
         {{{2.0, 2.0, 100.0, 298.0}, 3.0, 10000, 8, 0},
          {{100.0, 2.0, 198.0, 298.0}, 3.0, 10000, 12, 0}},
         0.0,
         0.0},
    };
    return scenarios;
}

// ---- the map picture ---------------------------------------------------------

struct CRgb {
    std::uint8_t r, g, b;
};

class CCanvas {
public:
    CCanvas(int width, int height, double sx, double sy, CRgb background)
        : width_(width), height_(height), sx_(sx), sy_(sy),
          pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3) {
        FillPixels(0, 0, width, height, background);
    }

    // Fills pixel columns [x0, x1) of rows [y0, y1), clipped.
    void FillPixels(int x0, int y0, int x1, int y1, CRgb c) {
        x0 = std::clamp(x0, 0, width_);
        x1 = std::clamp(x1, 0, width_);
        y0 = std::clamp(y0, 0, height_);
        y1 = std::clamp(y1, 0, height_);
        for (int y = y0; y < y1; ++y) {
            std::uint8_t* p = &pixels_[(static_cast<std::size_t>(y) * width_ + x0) * 3];
            for (int x = x0; x < x1; ++x) {
                *p++ = c.r;
                *p++ = c.g;
                *p++ = c.b;
            }
        }
    }

    // Fills a box given in site metres (Y up from the bottom edge).
    void Fill(const CRect& r, CRgb c) {
        FillPixels(Column(r.minX), Row(r.maxY), Column(r.maxX), Row(r.minY), c);
    }

    // Draws a box's outline of the given thickness in metres.
    void Outline(const CRect& r, double t, CRgb c) {
        Fill({r.minY, r.minX, r.minY + t, r.maxX}, c);
        Fill({r.maxY - t, r.minX, r.maxY, r.maxX}, c);
        Fill({r.minY, r.minX, r.maxY, r.minX + t}, c);
        Fill({r.minY, r.maxX - t, r.maxY, r.maxX}, c);
    }

    std::vector<std::uint8_t> Bitmap() const { return EncodeBitmapFile(width_, height_, pixels_); }

private:
    int Column(double x) const { return static_cast<int>(std::lround(x / sx_)); }
    int Row(double y) const { return static_cast<int>(std::lround(height_ - y / sy_)); }

    int width_, height_;
    double sx_, sy_;
    std::vector<std::uint8_t> pixels_;
};

constexpr CRgb kWhite{255, 255, 255};
constexpr CRgb kWall{60, 60, 64};
constexpr CRgb kFloor{245, 243, 236};
constexpr CRgb kGrass{196, 226, 182};
constexpr CRgb kPath{228, 218, 190};
constexpr CRgb kBuilding{176, 176, 184};
constexpr CRgb kRack{150, 120, 90};

void DrawOffice(CCanvas& c) {
    const CRect outer{0.3, 0.3, 39.7, 59.7};
    c.Fill(outer, kFloor);
    const double t = 0.2;
    // Rooms above and below a corridor from Y 17 to 23, each with a door.
    for (double x = 0.3; x < 59.0; x += 7.5) {
        const CRect room{23.0, x, 39.7, std::min(x + 7.5, 59.7)};
        c.Outline(room, t, kWall);
        c.Fill({22.9, x + 3.0, 23.2, x + 4.0}, kFloor);
    }
    for (double x = 0.3; x < 59.0; x += 10.0) {
        const CRect room{0.3, x, 17.0, std::min(x + 10.0, 59.7)};
        c.Outline(room, t, kWall);
        c.Fill({16.7, x + 4.0, 17.1, x + 5.0}, kFloor);
    }
    c.Outline(outer, 0.3, kWall);
    // Entrances at both corridor ends.
    c.Fill({18.5, 0.0, 21.5, 0.7}, kWhite);
    c.Fill({18.5, 59.3, 21.5, 60.0}, kWhite);
}

void DrawCampus(CCanvas& c) {
    c.Fill({100.0, 0.0, 108.0, 300.0}, kPath);
    c.Fill({0.0, 125.0, 200.0, 132.0}, kPath);
    c.Fill({5.0, 150.0, 20.0, 290.0}, kPath); // parking
    const CRect buildings[] = {{120.0, 20.0, 180.0, 100.0},
                               {130.0, 140.0, 185.0, 220.0},
                               {20.0, 30.0, 80.0, 120.0},
                               {30.0, 170.0, 90.0, 280.0},
                               {120.0, 240.0, 175.0, 290.0}};
    for (const CRect& b : buildings) {
        c.Fill(b, kBuilding);
        c.Outline(b, 1.0, kWall);
    }
}

void DrawLarge(CCanvas& c) {
    c.Fill({0.5, 0.5, 199.5, 299.5}, kFloor);
    for (double x = 8.0; x < 295.0; x += 10.0) {
        c.Fill({10.0, x, 95.0, x + 2.0}, kRack);
        c.Fill({105.0, x, 190.0, x + 2.0}, kRack);
    }
    c.Outline({0.0, 0.0, 200.0, 300.0}, 0.5, kWall);
}

// ---- dates -------------------------------------------------------------------

constexpr int kYear = 2024, kMonth = 5, kDay = 14;

std::int64_t DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return static_cast<std::int64_t>(era) * 146097 + doe - 719468;
}

// ---- generation --------------------------------------------------------------

struct CSitePoint {
    double y, x;
};

// A lawn-mower route over an area: lanes along X, laneSpacing apart.
std::vector<CSitePoint> LaneRoute(const CRect& a, double laneSpacing) {
    std::vector<CSitePoint> route;
    bool forward = true;
    for (double y = a.minY; y <= a.maxY + 1e-9; y += laneSpacing) {
        route.push_back({y, forward ? a.minX : a.maxX});
        route.push_back({y, forward ? a.maxX : a.minX});
        forward = !forward;
    }
    return route;
}

// n points evenly spaced along a polyline, with their distance from its start.
std::vector<std::pair<CSitePoint, double>> SampleRoute(const std::vector<CSitePoint>& route,
                                                       int n) {
    std::vector<double> cumulative{0.0};
    for (std::size_t i = 1; i < route.size(); ++i)
        cumulative.push_back(cumulative.back() +
                             std::hypot(route[i].y - route[i - 1].y, route[i].x - route[i - 1].x));
    const double total = cumulative.back();
    std::vector<std::pair<CSitePoint, double>> points;
    std::size_t segment = 1;
    for (int i = 0; i < n; ++i) {
        const double s = n > 1 ? total * i / (n - 1) : 0.0;
        while (segment + 1 < route.size() && cumulative[segment] < s)
            ++segment;
        const double length = cumulative[segment] - cumulative[segment - 1];
        const double f = length > 0.0 ? (s - cumulative[segment - 1]) / length : 0.0;
        const CSitePoint& a = route[segment - 1];
        const CSitePoint& b = route[segment];
        points.push_back({{a.y + (b.y - a.y) * f, a.x + (b.x - a.x) * f}, s});
    }
    return points;
}

class CGenerator {
public:
    CGenerator(const CScenario& scenario, std::uint64_t seed)
        : s_(scenario), rng_(seed ^ NameHash(scenario.name)) {}

    CSampleStudy Run(std::uint64_t seed) {
        study_.scenario = s_.name;
        study_.seed = seed;
        study_.projectionKind = s_.kind;
        study_.sensitivityDbm = s_.sensitivityDbm;
        study_.widthPx = static_cast<std::int32_t>(std::lround(s_.widthM / s_.metresPerPixel));
        study_.heightPx = static_cast<std::int32_t>(std::lround(s_.heightM / s_.metresPerPixel));
        study_.projectionFileName =
            s_.name + (s_.kind == ProjectionFileKind::Gps ? ".gpf" : ".lpf");
        SetProjection();
        PlaceAps();
        PlaceMarkers();
        DrawMap();
        study_.projectionBytes =
            EncodeProjectionFile(s_.kind, study_.projectionSubtype, study_.matrix, study_.bitmap);
        for (std::size_t i = 0; i < s_.walks.size(); ++i)
            study_.walks.push_back(Walk(i));
        return std::move(study_);
    }

private:
    bool Gps() const { return s_.kind == ProjectionFileKind::Gps; }

    void SetProjection() {
        ProjectionMatrix4& m = study_.matrix;
        m[2][2] = 1.0;
        m[3][3] = 1.0;
        if (!Gps()) {
            study_.projectionSubtype = 1;
            m[0][0] = s_.metresPerPixel;
            m[1][1] = s_.metresPerPixel;
        } else {
            // North-aligned: column grows with longitude, row falls with
            // latitude, the top-left pixel at the origin.
            study_.projectionSubtype = 0;
            const double rad = 3.14159265 / 180.0;
            const double metresPerDegree = 6378137.0 * rad;
            const double latPerPixel = s_.metresPerPixel / metresPerDegree;
            const double lonPerPixel =
                s_.metresPerPixel / (metresPerDegree * std::cos(s_.originLat * rad));
            m[0][1] = 1.0 / lonPerPixel;
            m[0][3] = -s_.originLon / lonPerPixel;
            m[1][0] = -1.0 / latPerPixel;
            m[1][3] = s_.originLat / latPerPixel;
        }
        // The scale the program's reader will derive from this matrix.
        const CProjectionScale scale = ComputeProjectionScale(
            s_.kind, study_.projectionSubtype, study_.matrix, study_.widthPx, study_.heightPx);
        study_.scaleX = scale.scaleX;
        study_.scaleY = scale.scaleY;
    }

    // Site metres -> pixel column and row (row 0 at the top).
    double Column(double x) const { return x / study_.scaleX; }
    double Row(double y) const { return study_.heightPx - y / study_.scaleY; }

    // Site metres -> latitude/longitude by inverting the north-aligned matrix.
    void ToGeo(double y, double x, double& lat, double& lon) const {
        const ProjectionMatrix4& m = study_.matrix;
        lat = (Row(y) - m[1][3]) / m[1][0];
        lon = (Column(x) - m[0][3]) / m[0][1];
    }

    // The raw vertical/horizontal values of a marker record.
    void MarkerRaw(double y, double x, std::uint32_t& rawY, std::uint32_t& rawX) const {
        if (Gps()) {
            double lat = 0, lon = 0;
            ToGeo(y, x, lat, lon);
            rawY =
                static_cast<std::uint32_t>(static_cast<std::int32_t>(std::lround(lat * 3600000.0)));
            rawX =
                static_cast<std::uint32_t>(static_cast<std::int32_t>(std::lround(lon * 3600000.0)));
        } else {
            rawY = static_cast<std::uint32_t>(std::lround(Row(y)));
            rawX = static_cast<std::uint32_t>(std::lround(Column(x)));
        }
    }

    MacAddress Mac(int index, std::uint8_t family) const {
        const std::uint8_t scenarioByte = static_cast<std::uint8_t>(s_.name[0]);
        return {0x02,
                0x54,
                0x56,
                static_cast<std::uint8_t>(scenarioByte ^ family),
                static_cast<std::uint8_t>(index >> 8),
                static_cast<std::uint8_t>(index)};
    }

    void PlaceAps() {
        const double cellW = s_.widthM / s_.apColumns;
        const double cellH = s_.heightM / s_.apRows;
        int index = 0;
        for (int row = 0; row < s_.apRows; ++row) {
            for (int col = 0; col < s_.apColumns; ++col, ++index) {
                CSimulatedAp ap;
                ap.channel = s_.channels[static_cast<std::size_t>(index) % s_.channels.size()];
                const bool band5 = ap.channel > 14;
                ap.mac = Mac(index, 0);
                ap.ssid = band5 ? s_.ssid5 : s_.ssid24;
                ap.y = RoundTo((row + 0.5) * cellH + rng_.Uniform(-0.25, 0.25) * cellH, 0.01);
                ap.x = RoundTo((col + 0.5) * cellW + rng_.Uniform(-0.25, 0.25) * cellW, 0.01);
                ap.interceptDbm =
                    RoundTo(band5 ? rng_.Uniform(-40.0, -34.0) : rng_.Uniform(-34.0, -28.0), 0.01);
                ap.slope = RoundTo(rng_.Uniform(s_.slopeLow, s_.slopeHigh), 0.01);
                ap.sigmaDb = RoundTo(rng_.Uniform(3.0, 6.0), 0.01);
                study_.aps.push_back(ap);
            }
        }
    }

    void PlaceMarkers() {
        // Every third AP up to three is marked where it stands.
        for (std::size_t i = 0; i < study_.aps.size() && study_.markedAps.size() < 3; i += 3) {
            const CSimulatedAp& ap = study_.aps[i];
            study_.markedAps.push_back({"AP " + std::to_string(i + 1), ap.mac, ap.y, ap.x, 0, 0});
        }
        study_.sources.push_back({"Microwave oven",
                                  {},
                                  RoundTo(s_.heightM * 0.3, 0.01),
                                  RoundTo(s_.widthM * 0.7, 0.01),
                                  2450,
                                  20});
        study_.sources.push_back({"Wireless camera",
                                  {},
                                  RoundTo(s_.heightM * 0.8, 0.01),
                                  RoundTo(s_.widthM * 0.2, 0.01),
                                  2437,
                                  20});
    }

    void DrawMap() {
        const bool gps = Gps();
        CCanvas canvas(study_.widthPx, study_.heightPx, study_.scaleX, study_.scaleY,
                       gps ? kGrass : kWhite);
        if (s_.name == "office")
            DrawOffice(canvas);
        else if (s_.name == "campus")
            DrawCampus(canvas);
        else
            DrawLarge(canvas);
        study_.bitmap = canvas.Bitmap();
    }

    CSimulatedWalk Walk(std::size_t index) {
        const CWalkPlan& plan = s_.walks[index];
        const std::int64_t startSecond = DaysFromCivil(kYear, kMonth, kDay) * 86400 +
                                         plan.startHour * 3600 + plan.startMinute * 60;
        CSsdWriter writer(startSecond);
        CSimulatedWalk walk;
        walk.fileName = "walk" + std::to_string(index + 1) + ".ssd";

        const double walkingSpeed = 1.2; // m/s
        const auto points = SampleRoute(LaneRoute(plan.area, plan.laneSpacing), plan.locations);
        std::int32_t lastLat = 0, lastLon = 0;
        bool haveLast = false;
        for (std::size_t i = 0; i < points.size(); ++i) {
            const auto& [truePos, distance] = points[i];
            // The surveyor's taps on the map, or the GPS receiver, are not exact.
            CSitePoint pos = truePos;
            CDataPoint point;
            const int elapsed = static_cast<int>(distance / walkingSpeed);
            SetDateTime(point, plan.startHour * 3600 + plan.startMinute * 60 + elapsed);
            point.speed = static_cast<std::uint16_t>(
                std::lround(std::max(0.0, walkingSpeed * 3.6 + rng_.Normal(0.2)) * 256.0));
            if (Gps()) {
                const double u = rng_.Uniform();
                double noise = 1.5;
                point.kind = kSsdGpsFix;
                point.fix = 2;
                point.altitude =
                    static_cast<std::int32_t>(std::lround((18.0 + rng_.Normal(1.0)) * 256.0));
                if (u < 0.04 && haveLast) {
                    point.kind = kSsdGpsNoFix;
                    point.fix = 0;
                    point.altitude = -10000;
                    point.speed = 0;
                } else if (u < 0.12) {
                    point.kind = kSsdGpsNoFix;
                    point.fix = 1;
                    point.altitude = -10000;
                    noise = 4.0;
                }
                if (point.fix == 0) {
                    // Without a fix the receiver repeats its last position.
                    point.northing = lastLat;
                    point.easting = lastLon;
                } else {
                    pos.y += rng_.Normal(noise);
                    pos.x += rng_.Normal(noise);
                    double lat = 0, lon = 0;
                    ToGeo(pos.y, pos.x, lat, lon);
                    point.northing = static_cast<std::int32_t>(std::lround(lat * 3600000.0));
                    point.easting = static_cast<std::int32_t>(std::lround(lon * 3600000.0));
                    lastLat = point.northing;
                    lastLon = point.easting;
                    haveLast = true;
                }
            } else {
                point.kind = kSsdLinear;
                pos.y += rng_.Normal(0.15);
                pos.x += rng_.Normal(0.15);
                const double col = std::clamp(Column(pos.x), 0.0, study_.widthPx - 1.0);
                const double row = std::clamp(Row(pos.y), 0.0, study_.heightPx - 1.0);
                point.pixelX = static_cast<std::uint16_t>(std::lround(col));
                point.pixelY = static_cast<std::uint16_t>(std::lround(row));
            }
            AddSamples(point, truePos);
            walk.samples += point.samples.GetSize();
            writer.AddLocation(point);

            // Markers and sources are recorded early in the first walk, each
            // at its own time.
            if (index == 0 && i == 10)
                AddMarkers(writer, point);
        }
        walk.locations = writer.LocationCount();
        walk.bytes = writer.Bytes();
        return walk;
    }

    void SetDateTime(CDataPoint& p, int secondOfDay) {
        p.date1 = kMonth;
        p.date2 = kDay;
        p.year = static_cast<std::uint8_t>(kYear - 1980);
        p.hour = static_cast<std::uint8_t>(secondOfDay / 3600 % 24);
        p.minute = static_cast<std::uint8_t>(secondOfDay / 60 % 60);
        p.second = static_cast<std::uint8_t>(secondOfDay % 60);
    }

    void AddSamples(CDataPoint& point, const CSitePoint& at) {
        for (const CSimulatedAp& ap : study_.aps) {
            const double d = std::max(1.0, std::hypot(at.y - ap.y, at.x - ap.x));
            const double rssi =
                ap.interceptDbm + ap.slope * std::log10(d) + rng_.Normal(ap.sigmaDb);
            if (rssi < s_.sensitivityDbm)
                continue;
            CDataSsd sample;
            sample.channel = ap.channel;
            sample.rssi =
                static_cast<std::int16_t>(std::clamp(std::lround(rssi * 16.0), -32768L, 32767L));
            const double floorDbm = (ap.channel > 14 ? -97.0 : -95.0) + rng_.Normal(1.0);
            sample.level2 = static_cast<std::int16_t>(std::lround(floorDbm));
            sample.bssid = ap.mac;
            sample.ssid = SsidFromText(ap.ssid);
            point.samples.Add(sample);
        }
    }

    void AddMarkers(CSsdWriter& writer, const CDataPoint& at) {
        std::uint8_t second = at.second;
        for (const CSimulatedMarker& m : study_.markedAps) {
            CSsdMarkedAp rec;
            MarkerRaw(m.y, m.x, rec.y, rec.x);
            rec.dateTime = {at.date1, at.date2, at.year, at.hour, at.minute, second++};
            for (const CSimulatedAp& ap : study_.aps)
                if (ap.mac == m.mac) {
                    rec.channel = static_cast<std::uint32_t>(ap.channel);
                    rec.ssid = ap.ssid;
                }
            rec.bssid = m.mac;
            rec.name = m.name;
            writer.AddMarkedAp(rec);
        }
        for (const CSimulatedMarker& m : study_.sources) {
            CSsdInterference rec;
            MarkerRaw(m.y, m.x, rec.y, rec.x);
            rec.dateTime = {at.date1, at.date2, at.year, at.hour, at.minute, second++};
            rec.centre50kHz = m.frequencyMhz * 20;
            rec.bandwidth50kHz = m.bandwidthMhz * 20;
            rec.name = m.name;
            writer.AddInterference(rec);
        }
    }

    const CScenario& s_;
    CRandom rng_;
    CSampleStudy study_;
};

void PositionField(CJsonWriter& json, double y, double x) {
    json.Key("position").BeginArray().Value(y).Value(x).EndArray();
}

} // namespace

const std::vector<std::string>& SampleScenarios() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> n;
        for (const CScenario& s : Scenarios())
            n.push_back(s.name);
        return n;
    }();
    return names;
}

std::optional<CSampleStudy> GenerateSampleStudy(const std::string& scenario, std::uint64_t seed) {
    for (const CScenario& s : Scenarios())
        if (s.name == scenario)
            return CGenerator(s, seed).Run(seed);
    return std::nullopt;
}

std::string CSampleStudy::TruthJson() const {
    std::ostringstream out;
    CJsonWriter json(out);
    json.BeginObject().Field("scenario", scenario).Field("seed", static_cast<std::int64_t>(seed));
    json.Key("projection")
        .BeginObject()
        .Field("file", projectionFileName)
        .Field("kind", projectionKind == ProjectionFileKind::Gps ? "gps" : "linear")
        .Field("subtype", static_cast<int>(projectionSubtype))
        .Field("width", widthPx)
        .Field("height", heightPx)
        .Field("scaleX", scaleX)
        .Field("scaleY", scaleY)
        .Field("mapHeightM", heightPx * scaleY)
        .Field("mapWidthM", widthPx * scaleX);
    json.Key("matrix").BeginArray();
    for (const auto& row : matrix)
        for (double v : row)
            json.Value(v);
    json.EndArray().EndObject();
    json.Field("sensitivityDbm", sensitivityDbm);
    json.Key("walks").BeginArray();
    for (const CSimulatedWalk& w : walks)
        json.BeginObject()
            .Field("file", w.fileName)
            .Field("locations", w.locations)
            .Field("samples", static_cast<std::int64_t>(w.samples))
            .EndObject();
    json.EndArray();
    json.Key("aps").BeginArray();
    for (const CSimulatedAp& ap : aps) {
        json.BeginObject()
            .Field("mac", MacText(ap.mac))
            .Field("ssid", ap.ssid)
            .Field("channel", ap.channel);
        PositionField(json, ap.y, ap.x);
        json.Field("intercept", ap.interceptDbm)
            .Field("slope", ap.slope)
            .Field("sigma", ap.sigmaDb)
            .EndObject();
    }
    json.EndArray();
    json.Key("markedAps").BeginArray();
    for (const CSimulatedMarker& m : markedAps) {
        json.BeginObject().Field("mac", MacText(m.mac)).Field("name", m.name);
        PositionField(json, m.y, m.x);
        json.EndObject();
    }
    json.EndArray();
    json.Key("interferenceSources").BeginArray();
    for (const CSimulatedMarker& m : sources) {
        json.BeginObject().Field("name", m.name);
        PositionField(json, m.y, m.x);
        json.Field("frequencyMhz", m.frequencyMhz)
            .Field("bandwidthMhz", m.bandwidthMhz)
            .EndObject();
    }
    json.EndArray();
    json.EndObject();
    return out.str();
}

bool WriteSampleStudy(const CSampleStudy& study, const std::string& dir, std::string& error) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) {
        error = "cannot create " + dir + ": " + ec.message();
        return false;
    }
    const std::filesystem::path base(dir);
    for (const auto& [name, bytes] : SampleStudyFiles(study)) {
        const std::string path = (base / name).string();
        if (CWriteFailure failure; !WriteFileAtomically(path, bytes, &failure)) {
            error = WriteFailureText(path, failure);
            return false;
        }
    }
    return true;
}

std::vector<std::pair<std::string, std::vector<std::uint8_t>>>
SampleStudyFiles(const CSampleStudy& study) {
    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> files;
    files.emplace_back(study.projectionFileName, study.projectionBytes);
    for (const CSimulatedWalk& w : study.walks)
        files.emplace_back(w.fileName, w.bytes);
    const std::string truth = study.TruthJson();
    files.emplace_back("truth.json", std::vector<std::uint8_t>(truth.begin(), truth.end()));
    return files;
}

} // namespace tarvo
