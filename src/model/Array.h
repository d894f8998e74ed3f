#pragma once
// Typed dynamic array of values: every record collection of the document.
// Indexing outside 0..size-1 throws std::invalid_argument; callers do not
// catch it, so a bad index ends the operation as a programming error.

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

namespace tarvo {

template <typename T> class CArray {
public:
    using value_type = T;

    CArray() = default;
    CArray(std::initializer_list<T> items) : items_(items) {}

    // Appends a copy and returns its index.
    int Add(const T& item) {
        items_.push_back(item);
        return static_cast<int>(items_.size()) - 1;
    }
    int Add(T&& item) {
        items_.push_back(std::move(item));
        return static_cast<int>(items_.size()) - 1;
    }

    T& operator[](std::ptrdiff_t index) { return items_[Checked(index)]; }
    const T& operator[](std::ptrdiff_t index) const { return items_[Checked(index)]; }
    T& At(std::ptrdiff_t index) { return items_[Checked(index)]; }
    const T& At(std::ptrdiff_t index) const { return items_[Checked(index)]; }

    int GetSize() const { return static_cast<int>(items_.size()); }
    bool IsEmpty() const { return items_.empty(); }
    void SetSize(std::ptrdiff_t size) {
        if (size < 0)
            throw std::invalid_argument("CArray::SetSize: negative size");
        items_.resize(static_cast<std::size_t>(size));
    }
    void RemoveAt(std::ptrdiff_t index) { items_.erase(items_.begin() + Checked(index)); }
    void RemoveAll() { items_.clear(); }
    void Reserve(std::size_t capacity) { items_.reserve(capacity); }

    T* data() { return items_.data(); }
    const T* data() const { return items_.data(); }
    std::size_t size() const { return items_.size(); }
    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

    std::vector<T>& Vector() { return items_; }
    const std::vector<T>& Vector() const { return items_; }

    bool operator==(const CArray&) const = default;

private:
    std::size_t Checked(std::ptrdiff_t index) const {
        if (index < 0 || static_cast<std::size_t>(index) >= items_.size())
            throw std::invalid_argument("CArray: index " + std::to_string(index) + " outside 0.." +
                                        std::to_string(items_.size()));
        return static_cast<std::size_t>(index);
    }

    std::vector<T> items_;
};

} // namespace tarvo
