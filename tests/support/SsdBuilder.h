#pragma once
// Builds survey-file bytes for tests, written byte by byte from the file
// layout and independent of the program's own record code.

#include <cstdint>
#include <string>
#include <vector>

namespace tarvo::test {

struct CSampleSpec {
    std::int32_t channel = 6;
    std::int16_t rssi16 = -60 * 16; // 1/16 dBm
    std::int16_t level2 = -95;
    std::uint8_t mac[6] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    std::string ssid = "net";
};

class CSsdBuilder {
public:
    explicit CSsdBuilder(std::uint32_t recordSize = 36, std::uint32_t sampleSize = 46);

    CSsdBuilder& FileType(std::uint8_t type) { return Set(type_, type); }
    CSsdBuilder& Created(std::int64_t seconds) { return Set(created_, seconds); }
    CSsdBuilder& Magic(std::uint32_t magic) { return Set(magic_, magic); }
    // Puts the record area at this offset (padding after the header).
    CSsdBuilder& RecordAreaOffset(std::uint32_t offset) { return Set(offset_, offset); }

    // A GPS location (kind 0 or 1) at latitude/longitude in degrees.
    CSsdBuilder& Gps(double latDeg, double lonDeg, const std::vector<CSampleSpec>& samples,
                     std::uint8_t kind = 0);
    // A linear location at a map pixel (row from the top).
    CSsdBuilder& Linear(std::uint16_t column, std::uint16_t row,
                        const std::vector<CSampleSpec>& samples);
    CSsdBuilder& Skipped(const std::vector<CSampleSpec>& samples);
    CSsdBuilder& MarkedAp(std::uint32_t y, std::uint32_t x, std::uint32_t channel,
                          const std::string& ssid, const std::string& name,
                          std::uint8_t second = 0);
    CSsdBuilder& Interference(std::uint32_t y, std::uint32_t x, std::uint32_t freq50kHz,
                              std::uint32_t bw50kHz, const std::string& name);
    // A record of an arbitrary kind with the given sampleCount field.
    CSsdBuilder& Raw(std::uint8_t kind, std::uint16_t sampleCount);

    std::vector<std::uint8_t> Bytes() const;

private:
    template <typename T> CSsdBuilder& Set(T& field, T value) {
        field = value;
        return *this;
    }
    std::vector<std::uint8_t> Record(std::uint8_t kind, std::int32_t v1, std::int32_t v2,
                                     std::uint16_t px, std::uint16_t py, std::uint16_t count,
                                     std::uint8_t second = 0);
    void AppendSamples(const std::vector<CSampleSpec>& samples);

    std::uint32_t recordSize_;
    std::uint32_t sampleSize_;
    std::uint8_t type_ = 0;
    std::int64_t created_ = 1262304000; // 2010-01-01 00:00 UTC
    std::uint32_t magic_ = 0x53534420;
    std::uint32_t offset_ = 25;
    std::vector<std::uint8_t> body_;
};

} // namespace tarvo::test
