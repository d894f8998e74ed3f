#include "support/SsdBuilder.h"

#include <algorithm>
#include <cmath>

namespace tarvo::test {

namespace {

void Le(std::vector<std::uint8_t>& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A text field of `size` bytes, cut or padded with NULs.
void Text(std::vector<std::uint8_t>& out, const std::string& text, std::size_t size) {
    const std::size_t kept = std::min(size, text.size());
    out.insert(out.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(kept));
    out.resize(out.size() + size - kept, 0);
}

} // namespace

CSsdBuilder::CSsdBuilder(std::uint32_t recordSize, std::uint32_t sampleSize)
    : recordSize_(recordSize), sampleSize_(sampleSize) {}

std::vector<std::uint8_t> CSsdBuilder::Record(std::uint8_t kind, std::int32_t v1, std::int32_t v2,
                                              std::uint16_t px, std::uint16_t py,
                                              std::uint16_t count, std::uint8_t second) {
    std::vector<std::uint8_t> r;
    r.push_back(kind);
    Le(r, static_cast<std::uint32_t>(v1), 4);
    Le(r, static_cast<std::uint32_t>(v2), 4);
    Le(r, px, 2);
    Le(r, py, 2);
    r.insert(r.end(), {7, 4, 30, 10, 20, second});   // date1 date2 year hh mm ss
    Le(r, 0xDEADBEEF, 4);                            // reserved1
    Le(r, static_cast<std::uint32_t>(120 * 256), 4); // altitude 120 m
    Le(r, 0x1234, 2);                                // reserved2
    Le(r, 5 * 256, 2);                               // speed 5 km/h
    Le(r, 0x5678, 2);                                // reserved3
    r.push_back(2);                                  // 3D fix
    Le(r, count, 2);
    r.resize(recordSize_, 0xAB); // bytes beyond 36 are ignored by readers
    return r;
}

void CSsdBuilder::AppendSamples(const std::vector<CSampleSpec>& samples) {
    for (const CSampleSpec& s : samples) {
        std::vector<std::uint8_t> r;
        Le(r, static_cast<std::uint32_t>(s.channel), 4);
        Le(r, static_cast<std::uint16_t>(s.rssi16), 2);
        Le(r, static_cast<std::uint16_t>(s.level2), 2);
        r.insert(r.end(), s.mac, s.mac + 6);
        Text(r, s.ssid, 32);
        r.resize(sampleSize_, 0xCD);
        body_.insert(body_.end(), r.begin(), r.end());
    }
}

CSsdBuilder& CSsdBuilder::Gps(double latDeg, double lonDeg, const std::vector<CSampleSpec>& samples,
                              std::uint8_t kind) {
    auto r = Record(kind, static_cast<std::int32_t>(std::lround(latDeg * 3600000.0)),
                    static_cast<std::int32_t>(std::lround(lonDeg * 3600000.0)), 0, 0,
                    static_cast<std::uint16_t>(samples.size()));
    body_.insert(body_.end(), r.begin(), r.end());
    AppendSamples(samples);
    return *this;
}

CSsdBuilder& CSsdBuilder::Linear(std::uint16_t column, std::uint16_t row,
                                 const std::vector<CSampleSpec>& samples) {
    auto r = Record(2, 0, 0, column, row, static_cast<std::uint16_t>(samples.size()));
    body_.insert(body_.end(), r.begin(), r.end());
    AppendSamples(samples);
    return *this;
}

CSsdBuilder& CSsdBuilder::Skipped(const std::vector<CSampleSpec>& samples) {
    auto r = Record(0xFF, 0, 0, 0, 0, static_cast<std::uint16_t>(samples.size()));
    body_.insert(body_.end(), r.begin(), r.end());
    AppendSamples(samples);
    return *this;
}

CSsdBuilder& CSsdBuilder::MarkedAp(std::uint32_t y, std::uint32_t x, std::uint32_t channel,
                                   const std::string& ssid, const std::string& name,
                                   std::uint8_t second) {
    auto r =
        Record(0x11, static_cast<std::int32_t>(y), static_cast<std::int32_t>(x), 0, 0, 99, second);
    body_.insert(body_.end(), r.begin(), r.end());
    std::vector<std::uint8_t> p;
    Le(p, channel, 4);
    p.insert(p.end(), {0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF});
    Text(p, ssid, 32);
    Text(p, name, 128);
    body_.insert(body_.end(), p.begin(), p.end());
    return *this;
}

CSsdBuilder& CSsdBuilder::Interference(std::uint32_t y, std::uint32_t x, std::uint32_t freq50kHz,
                                       std::uint32_t bw50kHz, const std::string& name) {
    auto r = Record(0x12, static_cast<std::int32_t>(y), static_cast<std::int32_t>(x), 0, 0, 0);
    body_.insert(body_.end(), r.begin(), r.end());
    std::vector<std::uint8_t> p;
    Le(p, freq50kHz, 4);
    Le(p, bw50kHz, 4);
    Text(p, name, 128);
    body_.insert(body_.end(), p.begin(), p.end());
    return *this;
}

CSsdBuilder& CSsdBuilder::Raw(std::uint8_t kind, std::uint16_t sampleCount) {
    auto r = Record(kind, 0, 0, 0, 0, sampleCount);
    body_.insert(body_.end(), r.begin(), r.end());
    return *this;
}

std::vector<std::uint8_t> CSsdBuilder::Bytes() const {
    std::vector<std::uint8_t> out;
    Le(out, 0x01020304, 4);
    Le(out, magic_, 4);
    Le(out, 0, 4);
    out.push_back(type_);
    Le(out, static_cast<std::uint64_t>(created_), 8);
    Le(out, offset_, 4);
    out.resize(offset_, 0);
    Le(out, recordSize_, 4);
    Le(out, sampleSize_, 4);
    out.insert(out.end(), body_.begin(), body_.end());
    return out;
}

} // namespace tarvo::test
