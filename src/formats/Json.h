#pragma once
// A small streaming JSON writer: the tool's machine-readable output and the
// truth of the sample studies.

#include <cmath>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace tarvo {

class CJsonWriter {
public:
    explicit CJsonWriter(std::ostream& out) : out_(out) {}

    CJsonWriter& BeginObject();
    CJsonWriter& EndObject();
    CJsonWriter& BeginArray();
    CJsonWriter& EndArray();
    CJsonWriter& Key(const std::string& key);
    CJsonWriter& Value(const std::string& text);
    CJsonWriter& Value(const char* text) { return Value(std::string(text)); }
    CJsonWriter& Value(bool flag);
    CJsonWriter& Value(std::int64_t number);
    CJsonWriter& Value(int number) { return Value(static_cast<std::int64_t>(number)); }
    CJsonWriter& Value(unsigned number) { return Value(static_cast<std::int64_t>(number)); }
    // Non-finite numbers are written as null: JSON has no NaN.
    CJsonWriter& Value(double number);
    CJsonWriter& Null();

    template <typename T> CJsonWriter& Field(const std::string& key, const T& value) {
        Key(key);
        return Value(value);
    }

    static std::string Escape(const std::string& text);

private:
    void Separate();

    std::ostream& out_;
    std::vector<bool> first_; // one entry per open container
    bool afterKey_ = false;
};

} // namespace tarvo
