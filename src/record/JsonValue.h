#pragma once
// A small JSON reader for the reports of helper programs (iperf3 -J): the
// whole text read into a tree. Strict about the grammar; nesting deeper
// than kMostJsonDepth is refused rather than followed, so no input can
// exhaust the stack.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvo {

constexpr int kMostJsonDepth = 64;

struct CJsonValue {
    enum class Kind { Null, Bool, Number, String, Array, Object };

    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0.0;
    std::string text; // strings, with escapes decoded to UTF-8
    // An array's items, or an object's member values; names[i] is the name
    // of items[i] in an object. In text order.
    std::vector<CJsonValue> items;
    std::vector<std::string> names;

    // The first member named key of an object, nullptr otherwise.
    const CJsonValue* Find(std::string_view key) const;
    // Members along a path of keys ("end", "sum", "bits_per_second").
    const CJsonValue* At(std::initializer_list<std::string_view> path) const;
    // The number when this is a finite number.
    std::optional<double> Number() const;
};

// The value of a whole text (blanks around it allowed), or nothing with
// the reason and its byte offset in *error.
std::optional<CJsonValue> ParseJson(std::string_view text, std::string* error = nullptr);

} // namespace tarvo
