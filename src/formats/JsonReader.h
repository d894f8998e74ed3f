#pragma once
// A small strict JSON reader (RFC 8259) for the few JSON files the program
// reads, such as the true AP positions of a survey. The whole text is read
// into a tree of values; anything that is not JSON is refused with the
// place and the reason, and nesting is bounded so that a hostile file
// cannot exhaust the stack; the tree takes memory in proportion to the text.

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvo {

class CJsonValue {
public:
    enum class Kind { Null, Bool, Number, String, Array, Object };

    Kind kind = Kind::Null;
    bool flag = false;
    double number = 0.0;
    std::string text;                          // a string, UTF-8
    std::vector<CJsonValue> items;             // an array's elements
    std::map<std::string, CJsonValue> members; // an object's members (a repeated key: the last)

    bool IsNumber() const { return kind == Kind::Number; }
    bool IsString() const { return kind == Kind::String; }
    bool IsArray() const { return kind == Kind::Array; }
    bool IsObject() const { return kind == Kind::Object; }

    // The member `key` of an object, or nullptr (also for a non-object).
    const CJsonValue* Find(const std::string& key) const;
};

struct CJsonParse {
    std::optional<CJsonValue> value; // nullopt when the text is not JSON
    std::string error;               // "line L, column C: reason" when refused
};

// Nesting deeper than this is refused.
constexpr int kMaxJsonDepth = 64;

// Parses one JSON text (leading and trailing white space allowed).
CJsonParse ParseJson(std::string_view text);

} // namespace tarvo
