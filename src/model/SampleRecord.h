#pragma once
// One sample of a survey file: one AP heard at one location, with the MAC
// address and SSID types every record uses.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace tarvo {

using MacAddress = std::array<std::uint8_t, 6>;
using SsidBytes = std::array<std::uint8_t, 32>; // NUL-padded, not always terminated

// One sample: one AP heard at one location. Kept exactly as the first 46
// bytes of a survey-file sample record.
struct CDataSsd {
    static constexpr std::size_t kRecordSize = 46;

    std::int32_t channel = 0;
    std::int16_t rssi = 0; // 1/16 dBm
    std::int16_t level2 = 0;
    MacAddress bssid{};
    SsidBytes ssid{};

    static CDataSsd FromRecord(std::span<const std::uint8_t, kRecordSize> bytes);
    void ToRecord(std::span<std::uint8_t, kRecordSize> out) const;
    double RssiDbm() const { return rssi * 0.0625; }

    bool operator==(const CDataSsd&) const = default;
};

} // namespace tarvo
