// A strict JSON (RFC 8259) reader of the tests' own, independent of the
// program's writer: numbers keep their text, strings are checked to be
// well-formed UTF-8 and decoded. ParseJson fails the running test on a fault.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace orvex::test {

struct TJson {
    enum TType { Null, Bool, Number, String, Array, Object } Type = Null;
    bool B = false;
    std::string Text;  // number text or decoded string
    std::vector<TJson> Items;
    std::vector<std::pair<std::string, TJson>> Members;

    const TJson& operator[](const std::string& name) const {
        for (const auto& m : Members)
            if (m.first == name) return m.second;
        static const TJson missing{};
        ADD_FAILURE() << "no member " << name;
        return missing;
    }
    bool Has(const std::string& name) const {
        for (const auto& m : Members)
            if (m.first == name) return true;
        return false;
    }
};

class TJsonReader {
public:
    explicit TJsonReader(const std::string& s) : s_(s) {}

    bool Parse(TJson& out) {
        Ws();
        if (!Value(out)) return false;
        Ws();
        return Fail(i_ == s_.size(), "text after the value");
    }
    std::string Error() const { return error_ + " at " + std::to_string(i_); }

private:
    bool Fail(bool ok, const char* what) {
        if (!ok && error_.empty()) error_ = what;
        return ok;
    }
    void Ws() {
        while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == '\n' || s_[i_] == '\r')) ++i_;
    }
    bool Literal(const char* word) {
        const std::string w = word;
        if (s_.compare(i_, w.size(), w) != 0) return Fail(false, "bad literal");
        i_ += w.size();
        return true;
    }
    bool Value(TJson& v) {
        if (++depth_ > 64) return Fail(false, "too deep");
        bool ok = false;
        if (i_ >= s_.size())
            ok = Fail(false, "value expected");
        else if (s_[i_] == '{')
            ok = ObjectValue(v);
        else if (s_[i_] == '[')
            ok = ArrayValue(v);
        else if (s_[i_] == '"') {
            v.Type = TJson::String;
            ok = StringValue(v.Text);
        } else if (s_[i_] == 't') {
            v.Type = TJson::Bool;
            v.B = true;
            ok = Literal("true");
        } else if (s_[i_] == 'f') {
            v.Type = TJson::Bool;
            ok = Literal("false");
        } else if (s_[i_] == 'n') {
            ok = Literal("null");
        } else
            ok = NumberValue(v);
        --depth_;
        return ok;
    }
    bool ObjectValue(TJson& v) {
        v.Type = TJson::Object;
        ++i_;
        Ws();
        if (i_ < s_.size() && s_[i_] == '}') return ++i_, true;
        for (;;) {
            std::string name;
            Ws();
            if (i_ >= s_.size() || s_[i_] != '"') return Fail(false, "member name expected");
            if (!StringValue(name)) return false;
            Ws();
            if (i_ >= s_.size() || s_[i_] != ':') return Fail(false, "colon expected");
            ++i_;
            Ws();
            TJson member;
            if (!Value(member)) return false;
            for (const auto& m : v.Members)
                if (m.first == name) return Fail(false, "duplicate member");
            v.Members.emplace_back(name, std::move(member));
            Ws();
            if (i_ < s_.size() && s_[i_] == ',') {
                ++i_;
                continue;
            }
            if (i_ < s_.size() && s_[i_] == '}') return ++i_, true;
            return Fail(false, "comma or } expected");
        }
    }
    bool ArrayValue(TJson& v) {
        v.Type = TJson::Array;
        ++i_;
        Ws();
        if (i_ < s_.size() && s_[i_] == ']') return ++i_, true;
        for (;;) {
            Ws();
            TJson item;
            if (!Value(item)) return false;
            v.Items.push_back(std::move(item));
            Ws();
            if (i_ < s_.size() && s_[i_] == ',') {
                ++i_;
                continue;
            }
            if (i_ < s_.size() && s_[i_] == ']') return ++i_, true;
            return Fail(false, "comma or ] expected");
        }
    }
    bool NumberValue(TJson& v) {
        v.Type = TJson::Number;
        const std::size_t start = i_;
        auto digits = [&] {
            const std::size_t d = i_;
            while (i_ < s_.size() && s_[i_] >= '0' && s_[i_] <= '9') ++i_;
            return i_ > d;
        };
        if (i_ < s_.size() && s_[i_] == '-') ++i_;
        if (i_ < s_.size() && s_[i_] == '0')
            ++i_;
        else if (!digits())
            return Fail(false, "digit expected");
        if (i_ < s_.size() && s_[i_] == '.') {
            ++i_;
            if (!digits()) return Fail(false, "fraction digits");
        }
        if (i_ < s_.size() && (s_[i_] == 'e' || s_[i_] == 'E')) {
            ++i_;
            if (i_ < s_.size() && (s_[i_] == '+' || s_[i_] == '-')) ++i_;
            if (!digits()) return Fail(false, "exponent digits");
        }
        v.Text = s_.substr(start, i_ - start);
        return true;
    }
    static void Put(std::string& out, std::uint32_t c) {
        if (c < 0x80)
            out += char(c);
        else if (c < 0x800) {
            out += char(0xC0 | c >> 6);
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | c >> 12);
            out += char(0x80 | (c >> 6 & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | c >> 18);
            out += char(0x80 | (c >> 12 & 0x3F));
            out += char(0x80 | (c >> 6 & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    bool Hex4(std::uint32_t& c) {
        if (i_ + 4 > s_.size()) return Fail(false, "short \\u escape");
        c = 0;
        for (int k = 0; k < 4; ++k) {
            const char h = s_[i_++];
            c <<= 4;
            if (h >= '0' && h <= '9')
                c |= h - '0';
            else if (h >= 'a' && h <= 'f')
                c |= h - 'a' + 10;
            else if (h >= 'A' && h <= 'F')
                c |= h - 'A' + 10;
            else
                return Fail(false, "bad hex digit");
        }
        return true;
    }
    bool StringValue(std::string& out) {
        ++i_;
        for (;;) {
            if (i_ >= s_.size()) return Fail(false, "unterminated string");
            const auto u = static_cast<unsigned char>(s_[i_]);
            if (u == '"') return ++i_, true;
            if (u < 0x20) return Fail(false, "raw control character");
            if (u == '\\') {
                if (++i_ >= s_.size()) return Fail(false, "cut escape");
                const char e = s_[i_++];
                switch (e) {
                case '"':
                    out += '"';
                    break;
                case '\\':
                    out += '\\';
                    break;
                case '/':
                    out += '/';
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
                    std::uint32_t c;
                    if (!Hex4(c)) return false;
                    if (c >= 0xD800 && c <= 0xDBFF) {
                        std::uint32_t lo;
                        if (s_.compare(i_, 2, "\\u") != 0) return Fail(false, "lone surrogate");
                        i_ += 2;
                        if (!Hex4(lo) || lo < 0xDC00 || lo > 0xDFFF) return Fail(false, "bad low surrogate");
                        c = 0x10000 + ((c - 0xD800) << 10) + (lo - 0xDC00);
                    } else if (c >= 0xDC00 && c <= 0xDFFF) {
                        return Fail(false, "lone low surrogate");
                    }
                    Put(out, c);
                    break;
                }
                default:
                    return Fail(false, "bad escape");
                }
                continue;
            }
            // One UTF-8 sequence, checked by decoding it.
            std::size_t n = u < 0x80 ? 1 : (u >> 5) == 6 ? 2 : (u >> 4) == 14 ? 3 : (u >> 3) == 30 ? 4 : 0;
            if (n == 0 || i_ + n > s_.size()) return Fail(false, "bad UTF-8 lead byte");
            std::uint32_t c = n == 1 ? u : u & (0x7F >> n);
            for (std::size_t k = 1; k < n; ++k) {
                const auto b = static_cast<unsigned char>(s_[i_ + k]);
                if ((b & 0xC0) != 0x80) return Fail(false, "bad UTF-8 continuation");
                c = c << 6 | (b & 0x3F);
            }
            const std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
            if (c < least[n] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return Fail(false, "bad UTF-8 value");
            out.append(s_, i_, n);
            i_ += n;
        }
    }

    const std::string& s_;
    std::size_t i_ = 0;
    int depth_ = 0;
    std::string error_;
};

inline TJson ParseJson(const std::string& text) {
    TJson v;
    TJsonReader reader(text);
    EXPECT_TRUE(reader.Parse(v)) << reader.Error() << "\n" << text.substr(0, 400);
    return v;
}

// JSON lines: each line of text parsed on its own; every line ends in LF
// alone, the last one too.
inline std::vector<TJson> ParseJsonLines(const std::string& text) {
    std::vector<TJson> lines;
    EXPECT_EQ(text.find('\r'), std::string::npos) << "lines end in LF alone";
    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
        lines.push_back(ParseJson(text.substr(start, end - start)));
        start = end + 1;
    }
    EXPECT_EQ(start, text.size()) << "text after the last line";
    return lines;
}

}  // namespace orvex::test
