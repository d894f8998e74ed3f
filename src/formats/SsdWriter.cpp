#include "formats/SsdWriter.h"

#include "formats/FileIo.h"
#include "formats/SsdReader.h"
#include "model/LittleEndian.h"

#include <algorithm>

namespace tarvo {

namespace {

void PutText(std::uint8_t* field, std::size_t fieldSize, const std::string& text, bool terminated) {
    const std::size_t n = std::min(text.size(), terminated ? fieldSize - 1 : fieldSize);
    std::copy_n(text.begin(), n, field);
}

} // namespace

CSsdWriter::CSsdWriter(std::int64_t createdSeconds, std::uint8_t fileType, std::uint32_t recordSize,
                       std::uint32_t sampleSize)
    : created_(createdSeconds), fileType_(fileType),
      recordSize_(std::max<std::uint32_t>(recordSize, CDataPoint::kRecordSize)),
      sampleSize_(std::max<std::uint32_t>(sampleSize, CDataSsd::kRecordSize)) {}

void CSsdWriter::AddLocation(const CDataPoint& point) {
    AddLocation(point, {});
}

void CSsdWriter::AddLocation(const CDataPoint& point, std::span<const std::uint16_t> sampleTails) {
    CDataPoint record = point;
    record.sampleCount = static_cast<std::uint16_t>(std::min<int>(point.samples.GetSize(), 65535));
    std::vector<std::uint8_t> bytes(recordSize_, 0);
    record.ToRecord(
        std::span<std::uint8_t, CDataPoint::kRecordSize>(bytes.data(), CDataPoint::kRecordSize));
    body_.insert(body_.end(), bytes.begin(), bytes.end());
    for (int i = 0; i < record.sampleCount; ++i) {
        std::vector<std::uint8_t> sample(sampleSize_, 0);
        point.samples[i].ToRecord(
            std::span<std::uint8_t, CDataSsd::kRecordSize>(sample.data(), CDataSsd::kRecordSize));
        if (static_cast<std::size_t>(i) < sampleTails.size() &&
            sampleSize_ >= CDataSsd::kRecordSize + 2)
            PutU16(sample.data() + CDataSsd::kRecordSize, sampleTails[static_cast<std::size_t>(i)]);
        body_.insert(body_.end(), sample.begin(), sample.end());
    }
    ++locations_;
}

std::vector<std::uint8_t> CSsdWriter::MarkerRecord(std::uint8_t kind, std::uint32_t y,
                                                   std::uint32_t x,
                                                   const DateTimeBytes& dateTime) const {
    std::vector<std::uint8_t> record(recordSize_, 0);
    record[0] = kind;
    PutU32(record.data() + 1, y);
    PutU32(record.data() + 5, x);
    std::copy(dateTime.begin(), dateTime.end(), record.begin() + 13);
    return record;
}

void CSsdWriter::AddMarkedAp(const CSsdMarkedAp& marker) {
    auto record = MarkerRecord(kSsdMarkedAp, marker.y, marker.x, marker.dateTime);
    body_.insert(body_.end(), record.begin(), record.end());
    std::vector<std::uint8_t> payload(kSsdMarkedApPayload, 0);
    PutU32(payload.data(), marker.channel);
    std::copy(marker.bssid.begin(), marker.bssid.end(), payload.begin() + 4);
    PutText(payload.data() + 10, 32, marker.ssid, false);
    PutText(payload.data() + 42, 128, marker.name, true);
    body_.insert(body_.end(), payload.begin(), payload.end());
}

void CSsdWriter::AddInterference(const CSsdInterference& source) {
    auto record = MarkerRecord(kSsdInterference, source.y, source.x, source.dateTime);
    body_.insert(body_.end(), record.begin(), record.end());
    std::vector<std::uint8_t> payload(kSsdInterferencePayload, 0);
    PutU32(payload.data(), source.centre50kHz);
    PutU32(payload.data() + 4, source.bandwidth50kHz);
    PutText(payload.data() + 8, 128, source.name, true);
    body_.insert(body_.end(), payload.begin(), payload.end());
}

std::vector<std::uint8_t> CSsdWriter::Bytes() const {
    ByteWriter out;
    out.U32(static_cast<std::uint32_t>(kSsdHeaderSize));
    out.U32(kSsdMagic);
    out.U16(1);
    out.U16(0);
    out.U8(fileType_);
    out.I64(created_);
    out.U32(static_cast<std::uint32_t>(kSsdHeaderSize)); // record area right after
    out.U32(recordSize_);
    out.U32(sampleSize_);
    out.Bytes(body_);
    return out.Take();
}

bool CSsdWriter::Save(const std::string& path) const {
    return WriteFileAtomically(path, Bytes());
}

} // namespace tarvo
