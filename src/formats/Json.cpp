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

namespace {

// Length of the well-formed UTF-8 sequence at text[i], or 0 when the bytes
// there are not one (overlong forms, surrogates and code points past
// U+10FFFF included).
std::size_t Utf8SequenceLength(const std::string& text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (text.size() - i < length)
        return 0;
    if (byte(i + 1) < low || byte(i + 1) > high)
        return 0;
    for (std::size_t k = 2; k < length; ++k)
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF)
            return 0;
    return length;
}

} // namespace

std::string CJsonWriter::Escape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            // File names and titles are UTF-8 and pass through; SSIDs and old
            // file names may hold other bytes, which become U+FFFD so that
            // the output always parses.
            const std::size_t length = Utf8SequenceLength(text, i);
            if (length == 0) {
                out += "\\ufffd";
                ++i;
            } else {
                out.append(text, i, length);
                i += length;
            }
            continue;
        }
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
            if (c < 0x20) {
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                out += buffer;
            } else {
                out += static_cast<char>(c);
            }
        }
        ++i;
    }
    return out;
}

} // namespace tarvo
