#pragma once
// The samples of one measurement location, held compactly. Of a sample's 46
// bytes, 42 say which AP was heard (channel, MAC, SSID) and are the same at
// every location that hears that AP; only the RSSI and the second level
// differ. So the identities live once in a table that the points of a load
// share, and each sample keeps an index into it with its two levels: 8
// bytes instead of 48. Reading a sample gives back the whole CDataSsd, equal
// to the one added.

#include "model/SampleRecord.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <mutex>
#include <vector>

namespace tarvo {

// Distinct sample identities (a CDataSsd with rssi and level2 0). Entries
// are appended and never move, so that reading one needs no lock while
// another thread appends to the same table; appending takes a lock.
class CSampleIdentities {
public:
    CSampleIdentities() = default;
    ~CSampleIdentities();
    CSampleIdentities(const CSampleIdentities&) = delete;
    CSampleIdentities& operator=(const CSampleIdentities&) = delete;

    // The index of the sample's identity, appended when the table does not
    // hold it yet. Throws std::length_error past 2^32 - 1 identities.
    std::uint32_t Intern(const CDataSsd& sample);
    // An index that Intern returned.
    const CDataSsd& At(std::uint32_t index) const;
    std::uint32_t Size() const { return size_.load(std::memory_order_acquire); }

    // Whether a sample has the identity at index.
    static bool SameIdentity(const CDataSsd& a, const CDataSsd& b) {
        return a.channel == b.channel && a.bssid == b.bssid && a.ssid == b.ssid;
    }

private:
    // Segment s holds kFirstSegment << s entries, so 32 segments cover every
    // 32-bit index without ever moving an entry.
    static constexpr std::uint32_t kFirstSegment = 8;
    static constexpr int kSegments = 32;

    static int SegmentOf(std::uint32_t index, std::uint32_t& offset);
    static std::uint64_t Hash(const CDataSsd& identity);
    void Rehash(std::size_t slotCount);

    std::array<std::atomic<CDataSsd*>, kSegments> segments_{};
    std::atomic<std::uint32_t> size_{0};
    std::mutex appendMutex_;
    std::vector<std::uint32_t> slots_; // open addressing: index + 1, 0 when free
};

// The samples of one point, in the order added; used like the CArray that
// holds other records (bounds-checked indexing throws
// std::invalid_argument), except that elements are read as values.
class CPointSamples {
public:
    using value_type = CDataSsd;

    class const_iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = CDataSsd;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = CDataSsd;

        const_iterator() = default;
        const_iterator(const CPointSamples* list, std::size_t index) : list_(list), index_(index) {}
        CDataSsd operator*() const { return list_->Get(index_); }
        const_iterator& operator++() {
            ++index_;
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator was = *this;
            ++index_;
            return was;
        }
        bool operator==(const const_iterator& other) const { return index_ == other.index_; }

    private:
        const CPointSamples* list_ = nullptr;
        std::size_t index_ = 0;
    };

    CPointSamples() = default;
    CPointSamples(std::initializer_list<CDataSsd> samples);
    // An empty list whose identities go into (and come from) a table shared
    // with other lists, such as every point of one survey load.
    explicit CPointSamples(std::shared_ptr<CSampleIdentities> identities);

    // Appends a sample; returns its index. `likely` may name the identity
    // the caller expects (such as the previous location's sample at the same
    // place): when the sample has it, the table is not searched.
    int Add(const CDataSsd& sample, std::uint32_t likely = kNoIdentity);

    CDataSsd operator[](std::ptrdiff_t index) const { return Get(Checked(index)); }
    CDataSsd At(std::ptrdiff_t index) const { return Get(Checked(index)); }

    int GetSize() const { return static_cast<int>(entries_.size()); }
    std::size_t size() const { return entries_.size(); }
    bool IsEmpty() const { return entries_.empty(); }
    void Reserve(std::size_t capacity) { entries_.reserve(capacity); }
    void RemoveAll() { entries_.clear(); }

    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, entries_.size()}; }

    // The identity table and each sample's parts, for callers that group
    // many samples by AP without rebuilding each one (unchecked indices).
    // The table is null while nothing was ever added.
    const CSampleIdentities* Identities() const { return identities_.get(); }
    std::uint32_t IdentityAt(std::size_t index) const { return entries_[index].identity; }
    std::int16_t RssiAt(std::size_t index) const { return entries_[index].rssi; }
    std::int16_t Level2At(std::size_t index) const { return entries_[index].level2; }

    static constexpr std::uint32_t kNoIdentity = 0xFFFFFFFFu;

    bool operator==(const CPointSamples& other) const;

private:
    struct CEntry {
        std::uint32_t identity;
        std::int16_t rssi;
        std::int16_t level2;
    };

    CDataSsd Get(std::size_t index) const {
        const CEntry& e = entries_[index];
        CDataSsd sample = identities_->At(e.identity);
        sample.rssi = e.rssi;
        sample.level2 = e.level2;
        return sample;
    }
    std::size_t Checked(std::ptrdiff_t index) const;

    std::shared_ptr<CSampleIdentities> identities_;
    std::vector<CEntry> entries_;
};

} // namespace tarvo
