#include "model/SurveyRecords.h"

#include "model/LittleEndian.h"

#include <algorithm>

namespace tarvo {

CDataSsd CDataSsd::FromRecord(std::span<const std::uint8_t, kRecordSize> bytes) {
    const std::uint8_t* p = bytes.data();
    CDataSsd s;
    s.channel = GetI32(p);
    s.rssi = GetI16(p + 4);
    s.level2 = GetI16(p + 6);
    std::copy_n(p + 8, 6, s.bssid.begin());
    std::copy_n(p + 14, 32, s.ssid.begin());
    return s;
}

void CDataSsd::ToRecord(std::span<std::uint8_t, kRecordSize> out) const {
    std::uint8_t* p = out.data();
    PutU32(p, static_cast<std::uint32_t>(channel));
    PutU16(p + 4, static_cast<std::uint16_t>(rssi));
    PutU16(p + 6, static_cast<std::uint16_t>(level2));
    std::copy(bssid.begin(), bssid.end(), p + 8);
    std::copy(ssid.begin(), ssid.end(), p + 14);
}

CDataPoint::CDataPoint(std::span<const std::uint8_t, kRecordSize> record) {
    const std::uint8_t* p = record.data();
    kind = p[0];
    northing = GetI32(p + 1);
    easting = GetI32(p + 5);
    pixelX = GetU16(p + 9);
    pixelY = GetU16(p + 11);
    date1 = p[13];
    date2 = p[14];
    year = p[15];
    hour = p[16];
    minute = p[17];
    second = p[18];
    reserved1 = GetU32(p + 19);
    altitude = GetI32(p + 23);
    reserved2 = GetU16(p + 27);
    speed = GetU16(p + 29);
    reserved3 = GetU16(p + 31);
    fix = p[33];
    sampleCount = GetU16(p + 34);
}

void CDataPoint::ToRecord(std::span<std::uint8_t, kRecordSize> out) const {
    std::uint8_t* p = out.data();
    p[0] = kind;
    PutU32(p + 1, static_cast<std::uint32_t>(northing));
    PutU32(p + 5, static_cast<std::uint32_t>(easting));
    PutU16(p + 9, pixelX);
    PutU16(p + 11, pixelY);
    p[13] = date1;
    p[14] = date2;
    p[15] = year;
    p[16] = hour;
    p[17] = minute;
    p[18] = second;
    PutU32(p + 19, reserved1);
    PutU32(p + 23, static_cast<std::uint32_t>(altitude));
    PutU16(p + 27, reserved2);
    PutU16(p + 29, speed);
    PutU16(p + 31, reserved3);
    p[33] = fix;
    PutU16(p + 34, sampleCount);
}

} // namespace tarvo
