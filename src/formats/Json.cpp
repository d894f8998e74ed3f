#include "formats/Json.h"

#include <cstdio>

namespace tarvo {

void CJsonWriter::Separate() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!first_.empty()) {
        if (!first_.back())
            out_ << ',';
        first_.back() = false;
    }
}

CJsonWriter& CJsonWriter::BeginObject() {
    Separate();
    out_ << '{';
    first_.push_back(true);
    return *this;
}

CJsonWriter& CJsonWriter::EndObject() {
    first_.pop_back();
    out_ << '}';
    if (first_.empty())
        out_ << '\n';
    return *this;
}

CJsonWriter& CJsonWriter::BeginArray() {
    Separate();
    out_ << '[';
    first_.push_back(true);
    return *this;
}

CJsonWriter& CJsonWriter::EndArray() {
    first_.pop_back();
    out_ << ']';
    return *this;
}

CJsonWriter& CJsonWriter::Key(const std::string& key) {
    Separate();
    out_ << '"' << Escape(key) << "\":";
    afterKey_ = true;
    return *this;
}

CJsonWriter& CJsonWriter::Value(const std::string& text) {
    Separate();
    out_ << '"' << Escape(text) << '"';
    return *this;
}

CJsonWriter& CJsonWriter::Value(bool flag) {
    Separate();
    out_ << (flag ? "true" : "false");
    return *this;
}

CJsonWriter& CJsonWriter::Value(std::int64_t number) {
    Separate();
    out_ << number;
    return *this;
}

CJsonWriter& CJsonWriter::Value(double number) {
    Separate();
    if (!std::isfinite(number)) {
        out_ << "null";
        return *this;
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.17g", number);
    out_ << buffer;
    return *this;
}

CJsonWriter& CJsonWriter::Null() {
    Separate();
    out_ << "null";
    return *this;
}

std::string CJsonWriter::Escape(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20 || c >= 0x80) {
                // Survey texts are bytes of unknown encoding: keep them
                // readable and the output valid by escaping as Latin-1.
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                out += buffer;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out;
}

} // namespace tarvo
