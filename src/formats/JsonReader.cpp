#include "formats/JsonReader.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace tarvo {

namespace {

class CParser {
public:
    explicit CParser(std::string_view text) : text_(text) {}

    CJsonParse Run() {
        CJsonParse result;
        CJsonValue value;
        SkipSpace();
        if (Value(value, 0)) {
            SkipSpace();
            if (at_ == text_.size()) {
                result.value = std::move(value);
                return result;
            }
            Fail("unexpected text after the value");
        }
        result.error = error_;
        return result;
    }

private:
    bool Fail(const std::string& reason) {
        if (!error_.empty())
            return false;
        std::size_t line = 1, column = 1;
        for (std::size_t i = 0; i < at_ && i < text_.size(); ++i) {
            if (text_[i] == '\n') {
                ++line;
                column = 1;
            } else {
                ++column;
            }
        }
        error_ =
            "line " + std::to_string(line) + ", column " + std::to_string(column) + ": " + reason;
        return false;
    }

    bool AtEnd() const { return at_ >= text_.size(); }
    char Peek() const { return AtEnd() ? '\0' : text_[at_]; }

    void SkipSpace() {
        while (!AtEnd() && (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n' ||
                            text_[at_] == '\r'))
            ++at_;
    }

    bool Literal(std::string_view word) {
        if (text_.substr(at_, word.size()) != word)
            return Fail("unknown word");
        at_ += word.size();
        return true;
    }

    bool Value(CJsonValue& out, int depth) {
        if (depth > kMaxJsonDepth)
            return Fail("nested too deeply");
        switch (Peek()) {
        case '{':
            return Object(out, depth);
        case '[':
            return Array(out, depth);
        case '"':
            out.kind = CJsonValue::Kind::String;
            return String(out.text);
        case 't':
            out.kind = CJsonValue::Kind::Bool;
            out.flag = true;
            return Literal("true");
        case 'f':
            out.kind = CJsonValue::Kind::Bool;
            out.flag = false;
            return Literal("false");
        case 'n':
            out.kind = CJsonValue::Kind::Null;
            return Literal("null");
        default:
            return Number(out);
        }
    }

    bool Object(CJsonValue& out, int depth) {
        out.kind = CJsonValue::Kind::Object;
        ++at_; // '{'
        SkipSpace();
        if (Peek() == '}') {
            ++at_;
            return true;
        }
        for (;;) {
            SkipSpace();
            if (Peek() != '"')
                return Fail("a member name must be a string");
            std::string key;
            if (!String(key))
                return false;
            SkipSpace();
            if (Peek() != ':')
                return Fail("':' expected after a member name");
            ++at_;
            SkipSpace();
            CJsonValue member;
            if (!Value(member, depth + 1))
                return false;
            out.members[key] = std::move(member);
            SkipSpace();
            if (Peek() == ',') {
                ++at_;
                continue;
            }
            if (Peek() == '}') {
                ++at_;
                return true;
            }
            return Fail("',' or '}' expected");
        }
    }

    bool Array(CJsonValue& out, int depth) {
        out.kind = CJsonValue::Kind::Array;
        ++at_; // '['
        SkipSpace();
        if (Peek() == ']') {
            ++at_;
            return true;
        }
        for (;;) {
            SkipSpace();
            CJsonValue item;
            if (!Value(item, depth + 1))
                return false;
            out.items.push_back(std::move(item));
            SkipSpace();
            if (Peek() == ',') {
                ++at_;
                continue;
            }
            if (Peek() == ']') {
                ++at_;
                return true;
            }
            return Fail("',' or ']' expected");
        }
    }

    static int HexDigit(char c) {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

    bool Hex4(unsigned& code) {
        code = 0;
        for (int i = 0; i < 4; ++i) {
            const int d = HexDigit(Peek());
            if (d < 0)
                return Fail("four hexadecimal digits expected after \\u");
            code = code * 16 + static_cast<unsigned>(d);
            ++at_;
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
        ++at_; // '"'
        for (;;) {
            if (AtEnd())
                return Fail("unterminated string");
            const char c = text_[at_++];
            if (c == '"')
                return true;
            if (static_cast<unsigned char>(c) < 0x20)
                return Fail("control character in a string");
            if (c != '\\') {
                out += c;
                continue;
            }
            const char e = Peek();
            ++at_;
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
                if (code >= 0xD800 && code < 0xDC00) {
                    // A high surrogate must be followed by a low one.
                    unsigned low = 0;
                    if (Peek() != '\\' || text_.substr(at_ + 1, 1) != "u")
                        return Fail("unpaired surrogate");
                    at_ += 2;
                    if (!Hex4(low))
                        return false;
                    if (low < 0xDC00 || low >= 0xE000)
                        return Fail("unpaired surrogate");
                    code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                } else if (code >= 0xDC00 && code < 0xE000) {
                    return Fail("unpaired surrogate");
                }
                AppendUtf8(out, code);
                break;
            }
            default:
                --at_;
                return Fail("unknown escape");
            }
        }
    }

    bool Number(CJsonValue& out) {
        const std::size_t start = at_;
        const auto digits = [&] {
            const std::size_t from = at_;
            while (!AtEnd() && text_[at_] >= '0' && text_[at_] <= '9')
                ++at_;
            return at_ > from;
        };
        if (Peek() == '-')
            ++at_;
        if (Peek() == '0') {
            ++at_;
        } else if (!digits()) {
            return Fail("a value expected");
        }
        if (Peek() == '.') {
            ++at_;
            if (!digits())
                return Fail("digits expected after '.'");
        }
        if (Peek() == 'e' || Peek() == 'E') {
            ++at_;
            if (Peek() == '+' || Peek() == '-')
                ++at_;
            if (!digits())
                return Fail("digits expected in the exponent");
        }
        out.kind = CJsonValue::Kind::Number;
        // from_chars reads the C format whatever the locale; it takes no '+'.
        const char* first = text_.data() + start;
        const auto [end, status] = std::from_chars(first, text_.data() + at_, out.number);
        if (status != std::errc() || end != text_.data() + at_ || !std::isfinite(out.number))
            return Fail("number out of range");
        return true;
    }

    std::string_view text_;
    std::size_t at_ = 0;
    std::string error_;
};

} // namespace

const CJsonValue* CJsonValue::Find(const std::string& key) const {
    if (kind != Kind::Object)
        return nullptr;
    const auto it = members.find(key);
    return it == members.end() ? nullptr : &it->second;
}

CJsonParse ParseJson(std::string_view text) {
    return CParser(text).Run();
}

} // namespace tarvo
