#pragma once
// A recorded walk's survey file written out by hand from the file layout,
// field by field, to compare with what the recording writes: the 25-byte
// header, 36-byte linear locations and 48-byte samples whose last two bytes
// count the scans that heard the BSS.

#include <cstdint>
#include <string>
#include <vector>

namespace tarvo::test {

struct CWalkBytes {
    std::vector<std::uint8_t> bytes;

    // Little-endian, `size` bytes.
    CWalkBytes& U(std::uint64_t value, int size) {
        for (int i = 0; i < size; ++i)
            bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        return *this;
    }
    CWalkBytes& Text(const std::string& text, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i)
            bytes.push_back(i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0);
        return *this;
    }

    // The header: length 25, magic " DSS", the version word our files put
    // in the bytes readers skip, file type 0, the creation time, the record
    // area at 25 with 36-byte locations and 48-byte samples.
    static CWalkBytes Header(std::int64_t created) {
        CWalkBytes out;
        out.U(25, 4).U(0x53534420, 4).U(1, 2).U(0, 2).U(0, 1);
        out.U(static_cast<std::uint64_t>(created), 8).U(25, 4).U(36, 4).U(48, 4);
        return out;
    }

    // A linear location (kind 2) at a map pixel with its six time fields
    // (month, day, years since 1980, hour, minute, second), no altitude,
    // speed or fix, and its sample count.
    CWalkBytes& Location(int px, int py, const std::vector<int>& time, int samples) {
        U(2, 1).U(0, 4).U(0, 4).U(static_cast<std::uint64_t>(px), 2);
        U(static_cast<std::uint64_t>(py), 2);
        for (int field : time)
            U(static_cast<std::uint64_t>(field), 1);
        U(0, 4).U(0, 4).U(0, 2).U(0, 2).U(0, 2).U(0, 1);
        return U(static_cast<std::uint64_t>(samples), 2);
    }

    // A sample: channel, RSSI in 1/16 dBm, the noise level -95 dBm, the
    // BSSID 02:1a:2b:3c:4d:<last>, the SSID, the scans that heard it.
    CWalkBytes& Sample(int channel, int rssi16, int last, const std::string& ssid, int heard) {
        U(static_cast<std::uint64_t>(channel), 4).U(static_cast<std::uint16_t>(rssi16), 2);
        U(static_cast<std::uint16_t>(-95), 2);
        U(0x02, 1).U(0x1a, 1).U(0x2b, 1).U(0x3c, 1).U(0x4d, 1).U(static_cast<std::uint64_t>(last),
                                                                 1);
        return Text(ssid, 32).U(static_cast<std::uint64_t>(heard), 2);
    }
};

// The bytes without their time stamps (the header's creation time, each
// location's six time fields), for walks recorded at the time of the test.
inline std::vector<std::uint8_t> WithoutTimes(std::vector<std::uint8_t> file) {
    if (file.size() < 33)
        return file;
    std::fill(file.begin() + 13, file.begin() + 21, 0);
    const std::size_t sampleSize = file[29] | file[30] << 8 | file[31] << 16;
    for (std::size_t at = 33; at + 36 <= file.size();) {
        std::fill(file.begin() + static_cast<long>(at) + 13,
                  file.begin() + static_cast<long>(at) + 19, 0);
        at += 36 + static_cast<std::size_t>(file[at + 34] | file[at + 35] << 8) * sampleSize;
    }
    return file;
}

} // namespace tarvo::test
