#include "model/PointSamples.h"

#include <bit>
#include <cstring>
#include <stdexcept>
#include <string>
#include <utility>

namespace tarvo {

CSampleIdentities::~CSampleIdentities() {
    for (auto& segment : segments_)
        delete[] segment.load(std::memory_order_relaxed);
}

int CSampleIdentities::SegmentOf(std::uint32_t index, std::uint32_t& offset) {
    // Segments start at kFirstSegment * (2^s - 1).
    const std::uint64_t q = std::uint64_t{index} / kFirstSegment + 1;
    const int segment = static_cast<int>(std::bit_width(q)) - 1;
    offset =
        static_cast<std::uint32_t>(index - kFirstSegment * ((std::uint64_t{1} << segment) - 1));
    return segment;
}

const CDataSsd& CSampleIdentities::At(std::uint32_t index) const {
    std::uint32_t offset = 0;
    const int segment = SegmentOf(index, offset);
    return segments_[static_cast<std::size_t>(segment)].load(std::memory_order_acquire)[offset];
}

std::uint64_t CSampleIdentities::Hash(const CDataSsd& identity) {
    const auto mix = [](std::uint64_t h, std::uint64_t v) {
        h ^= v;
        h *= 0x9E3779B97F4A7C15ULL;
        return h ^ (h >> 29);
    };
    std::uint64_t h = static_cast<std::uint32_t>(identity.channel);
    std::uint64_t mac = 0;
    for (std::uint8_t b : identity.bssid)
        mac = mac << 8 | b;
    h = mix(h, mac);
    for (std::size_t i = 0; i < identity.ssid.size(); i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, identity.ssid.data() + i, 8);
        h = mix(h, word);
    }
    return h;
}

void CSampleIdentities::Rehash(std::size_t slotCount) {
    std::vector<std::uint32_t> slots(slotCount, 0);
    const std::size_t mask = slotCount - 1;
    const std::uint32_t n = size_.load(std::memory_order_relaxed);
    for (std::uint32_t i = 0; i < n; ++i) {
        std::size_t slot = static_cast<std::size_t>(Hash(At(i))) & mask;
        while (slots[slot] != 0)
            slot = (slot + 1) & mask;
        slots[slot] = i + 1;
    }
    slots_ = std::move(slots);
}

std::uint32_t CSampleIdentities::Intern(const CDataSsd& sample) {
    CDataSsd identity = sample;
    identity.rssi = 0;
    identity.level2 = 0;
    const std::uint64_t hash = Hash(identity);

    std::lock_guard lock(appendMutex_);
    const std::uint32_t n = size_.load(std::memory_order_relaxed);
    // At most half the slots in use, so that probes stay short.
    if (slots_.size() < 2 * (std::size_t{n} + 1))
        Rehash(slots_.empty() ? 16 : 2 * slots_.size());
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = static_cast<std::size_t>(hash) & mask;
    for (; slots_[slot] != 0; slot = (slot + 1) & mask)
        if (SameIdentity(At(slots_[slot] - 1), identity))
            return slots_[slot] - 1;

    if (n == 0xFFFFFFFFu)
        throw std::length_error("CSampleIdentities: more than 2^32 - 1 identities");
    std::uint32_t offset = 0;
    const int segment = SegmentOf(n, offset);
    auto& storage = segments_[static_cast<std::size_t>(segment)];
    CDataSsd* entries = storage.load(std::memory_order_relaxed);
    if (!entries) {
        entries = new CDataSsd[std::size_t{kFirstSegment} << segment];
        storage.store(entries, std::memory_order_release);
    }
    entries[offset] = identity;
    slots_[slot] = n + 1;
    size_.store(n + 1, std::memory_order_release);
    return n;
}

CPointSamples::CPointSamples(std::initializer_list<CDataSsd> samples) {
    entries_.reserve(samples.size());
    for (const CDataSsd& s : samples)
        Add(s);
}

CPointSamples::CPointSamples(std::shared_ptr<CSampleIdentities> identities)
    : identities_(std::move(identities)) {}

int CPointSamples::Add(const CDataSsd& sample, std::uint32_t likely) {
    if (!identities_)
        identities_ = std::make_shared<CSampleIdentities>();
    std::uint32_t identity = likely;
    if (likely >= identities_->Size() ||
        !CSampleIdentities::SameIdentity(identities_->At(likely), sample))
        identity = identities_->Intern(sample);
    entries_.push_back({identity, sample.rssi, sample.level2});
    return static_cast<int>(entries_.size()) - 1;
}

std::size_t CPointSamples::Checked(std::ptrdiff_t index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= entries_.size())
        throw std::invalid_argument("CPointSamples: index " + std::to_string(index) +
                                    " outside 0.." + std::to_string(entries_.size()));
    return static_cast<std::size_t>(index);
}

bool CPointSamples::operator==(const CPointSamples& other) const {
    if (entries_.size() != other.entries_.size())
        return false;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const CEntry& a = entries_[i];
        const CEntry& b = other.entries_[i];
        if (a.rssi != b.rssi || a.level2 != b.level2)
            return false;
        // One table holds each identity once: equal indices, equal samples.
        if (identities_ == other.identities_
                ? a.identity != b.identity
                : !CSampleIdentities::SameIdentity(identities_->At(a.identity),
                                                   other.identities_->At(b.identity)))
            return false;
    }
    return true;
}

} // namespace tarvo
