#include "record/JsonValue.h"

#include <charconv>
#include <cmath>
#include <string>

namespace tarvo {

namespace {

class CJsonParser {
public:
    explicit CJsonParser(std::string_view text) : text_(text) {}

    std::optional<CJsonValue> Document(std::string* error) {
        CJsonValue value;
        SkipBlanks();
        if (Value(value, 0)) {
            SkipBlanks();
            if (at_ == text_.size())
                return value;
            Fail("text after the value");
        }
        if (error)
            *error = reason_ + " at byte " + std::to_string(at_);
        return std::nullopt;
    }

private:
    bool Fail(const char* reason) {
        if (reason_.empty())
            reason_ = reason;
        return false;
    }
    void SkipBlanks() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' ||
                                      text_[at_] == '\n' || text_[at_] == '\r'))
            ++at_;
    }
    bool Take(char c) {
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }
    bool Word(std::string_view word) {
        if (text_.substr(at_, word.size()) != word)
            return Fail("unknown word");
        at_ += word.size();
        return true;
    }

    bool Value(CJsonValue& value, int depth) {
        if (depth >= kMostJsonDepth)
            return Fail("nested too deeply");
        if (at_ >= text_.size())
            return Fail("a value is missing");
        switch (text_[at_]) {
        case '{':
            return Object(value, depth);
        case '[':
            return Array(value, depth);
        case '"':
            value.kind = CJsonValue::Kind::String;
            return String(value.text);
        case 't':
            value.kind = CJsonValue::Kind::Bool;
            value.boolean = true;
            return Word("true");
        case 'f':
            value.kind = CJsonValue::Kind::Bool;
            return Word("false");
        case 'n':
            return Word("null");
        default:
            return NumberValue(value);
        }
    }

    bool Object(CJsonValue& value, int depth) {
        value.kind = CJsonValue::Kind::Object;
        ++at_;
        SkipBlanks();
        if (Take('}'))
            return true;
        while (true) {
            SkipBlanks();
            std::string key;
            if (at_ >= text_.size() || text_[at_] != '"')
                return Fail("a member name is missing");
            if (!String(key))
                return false;
            SkipBlanks();
            if (!Take(':'))
                return Fail("':' is missing");
            SkipBlanks();
            CJsonValue member;
            if (!Value(member, depth + 1))
                return false;
            value.names.push_back(std::move(key));
            value.items.push_back(std::move(member));
            SkipBlanks();
            if (Take('}'))
                return true;
            if (!Take(','))
                return Fail("',' or '}' is missing");
        }
    }

    bool Array(CJsonValue& value, int depth) {
        value.kind = CJsonValue::Kind::Array;
        ++at_;
        SkipBlanks();
        if (Take(']'))
            return true;
        while (true) {
            SkipBlanks();
            CJsonValue item;
            if (!Value(item, depth + 1))
                return false;
            value.items.push_back(std::move(item));
            SkipBlanks();
            if (Take(']'))
                return true;
            if (!Take(','))
                return Fail("',' or ']' is missing");
        }
    }

    bool Hex4(unsigned& code) {
        if (at_ + 4 > text_.size())
            return Fail("a \\u escape is cut short");
        code = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = text_[at_++];
            code <<= 4;
            if (c >= '0' && c <= '9')
                code |= static_cast<unsigned>(c - '0');
            else if (c >= 'a' && c <= 'f')
                code |= static_cast<unsigned>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                code |= static_cast<unsigned>(c - 'A' + 10);
            else
                return Fail("a \\u escape is not hexadecimal");
        }
        return true;
    }

    static void AppendUtf8(std::string& out, unsigned code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    bool String(std::string& out) {
        ++at_; // the opening quote
        while (at_ < text_.size()) {
            const char c = text_[at_++];
            if (c == '"')
                return true;
            if (static_cast<unsigned char>(c) < 0x20)
                return Fail("a control character in a string");
            if (c != '\\') {
                out += c;
                continue;
            }
            if (at_ >= text_.size())
                break;
            const char e = text_[at_++];
            switch (e) {
            case '"':
            case '\\':
            case '/':
                out += e;
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u': {
                unsigned code = 0;
                if (!Hex4(code))
                    return false;
                // A surrogate pair makes one character; a lone half is kept
                // as the replacement character.
                if (code >= 0xD800 && code < 0xDC00 && text_.substr(at_, 2) == "\\u") {
                    at_ += 2;
                    unsigned low = 0;
                    if (!Hex4(low))
                        return false;
                    code = low >= 0xDC00 && low < 0xE000
                               ? 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00)
                               : 0xFFFD;
                } else if (code >= 0xD800 && code < 0xE000) {
                    code = 0xFFFD;
                }
                AppendUtf8(out, code);
                break;
            }
            default:
                return Fail("an unknown escape in a string");
            }
        }
        return Fail("a string is not closed");
    }

    bool NumberValue(CJsonValue& value) {
        const std::size_t start = at_;
        Take('-');
        auto digits = [this] {
            const std::size_t first = at_;
            while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9')
                ++at_;
            return at_ > first;
        };
        if (at_ < text_.size() && text_[at_] == '0')
            ++at_;
        else if (!digits())
            return Fail("not a value");
        if (Take('.') && !digits())
            return Fail("a fraction without digits");
        if (Take('e') || Take('E')) {
            if (!Take('+'))
                Take('-');
            if (!digits())
                return Fail("an exponent without digits");
        }
        value.kind = CJsonValue::Kind::Number;
        // from_chars reads the C locale's form whatever locale a program
        // set. Out of range: a negative exponent gives 0, else infinity
        // (which Number() treats as no number).
        const std::string_view digitsText = text_.substr(start, at_ - start);
        const auto result =
            std::from_chars(digitsText.data(), digitsText.data() + digitsText.size(), value.number);
        if (result.ec == std::errc::result_out_of_range) {
            const bool tiny = digitsText.find("e-") != std::string_view::npos ||
                              digitsText.find("E-") != std::string_view::npos;
            value.number = tiny ? 0.0 : (text_[start] == '-' ? -HUGE_VAL : HUGE_VAL);
        }
        return true;
    }

    std::string_view text_;
    std::size_t at_ = 0;
    std::string reason_;
};

} // namespace

const CJsonValue* CJsonValue::Find(std::string_view key) const {
    if (kind != Kind::Object)
        return nullptr;
    for (std::size_t i = 0; i < names.size() && i < items.size(); ++i)
        if (names[i] == key)
            return &items[i];
    return nullptr;
}

const CJsonValue* CJsonValue::At(std::initializer_list<std::string_view> path) const {
    const CJsonValue* value = this;
    for (std::string_view key : path) {
        value = value->Find(key);
        if (!value)
            return nullptr;
    }
    return value;
}

std::optional<double> CJsonValue::Number() const {
    if (kind != Kind::Number || !std::isfinite(number))
        return std::nullopt;
    return number;
}

std::optional<CJsonValue> ParseJson(std::string_view text, std::string* error) {
    return CJsonParser(text).Document(error);
}

} // namespace tarvo
