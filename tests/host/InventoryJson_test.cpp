#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/pure/OXI_InventoryJson.h"

using namespace orvex;

namespace {

// A strict RFC 8259 reader written for the test. Numbers keep their text;
// strings are checked to be well-formed UTF-8 and decoded.
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
        if (i_ >= s_.size()) ok = Fail(false, "value expected");
        else if (s_[i_] == '{') ok = ObjectValue(v);
        else if (s_[i_] == '[') ok = ArrayValue(v);
        else if (s_[i_] == '"') { v.Type = TJson::String; ok = StringValue(v.Text); }
        else if (s_[i_] == 't') { v.Type = TJson::Bool; v.B = true; ok = Literal("true"); }
        else if (s_[i_] == 'f') { v.Type = TJson::Bool; ok = Literal("false"); }
        else if (s_[i_] == 'n') { ok = Literal("null"); }
        else ok = NumberValue(v);
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
            if (i_ < s_.size() && s_[i_] == ',') { ++i_; continue; }
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
            if (i_ < s_.size() && s_[i_] == ',') { ++i_; continue; }
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
        if (i_ < s_.size() && s_[i_] == '0') ++i_;
        else if (!digits()) return Fail(false, "digit expected");
        if (i_ < s_.size() && s_[i_] == '.') { ++i_; if (!digits()) return Fail(false, "fraction digits"); }
        if (i_ < s_.size() && (s_[i_] == 'e' || s_[i_] == 'E')) {
            ++i_;
            if (i_ < s_.size() && (s_[i_] == '+' || s_[i_] == '-')) ++i_;
            if (!digits()) return Fail(false, "exponent digits");
        }
        v.Text = s_.substr(start, i_ - start);
        return true;
    }
    static void Put(std::string& out, std::uint32_t c) {
        if (c < 0x80) out += char(c);
        else if (c < 0x800) { out += char(0xC0 | c >> 6); out += char(0x80 | (c & 0x3F)); }
        else if (c < 0x10000) { out += char(0xE0 | c >> 12); out += char(0x80 | (c >> 6 & 0x3F)); out += char(0x80 | (c & 0x3F)); }
        else { out += char(0xF0 | c >> 18); out += char(0x80 | (c >> 12 & 0x3F)); out += char(0x80 | (c >> 6 & 0x3F)); out += char(0x80 | (c & 0x3F)); }
    }
    bool Hex4(std::uint32_t& c) {
        if (i_ + 4 > s_.size()) return Fail(false, "short \\u escape");
        c = 0;
        for (int k = 0; k < 4; ++k) {
            const char h = s_[i_++];
            c <<= 4;
            if (h >= '0' && h <= '9') c |= h - '0';
            else if (h >= 'a' && h <= 'f') c |= h - 'a' + 10;
            else if (h >= 'A' && h <= 'F') c |= h - 'A' + 10;
            else return Fail(false, "bad hex digit");
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
                    case '"': out += '"'; break;
                    case '\\': out += '\\'; break;
                    case '/': out += '/'; break;
                    case 'b': out += '\b'; break;
                    case 'f': out += '\f'; break;
                    case 'n': out += '\n'; break;
                    case 'r': out += '\r'; break;
                    case 't': out += '\t'; break;
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
                    default: return Fail(false, "bad escape");
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

TJson ParseJson(const std::string& text) {
    TJson v;
    TJsonReader reader(text);
    EXPECT_TRUE(reader.Parse(v)) << reader.Error() << "\n" << text.substr(0, 400);
    return v;
}

// Latin-1 to UTF-8, standing in for the system's code page.
std::string Latin1ToUtf8(std::string_view s) {
    std::string out;
    for (char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x80) out += c;
        else { out += char(0xC0 | u >> 6); out += char(0x80 | (u & 0x3F)); }
    }
    return out;
}

TInventory Sample(bool live) {
    TInventory inv;
    inv.Live = live;
    inv.Info.Machine = "HOST-1";
    inv.Info.OSName = "Windows \"NT\" \\ 4.0";
    inv.Info.Platform = 2;
    inv.Info.BuildNumber = 1381;
    inv.Info.Timestamp = 25'569.5;
    inv.Info.Rights = "Admin";
    inv.Info.VMWare = true;
    TProcessInfo p;
    p.PID = 4242;
    p.Name = "caf\xE9.exe";
    p.ImageName = "C:\\dir\\caf\xE9.exe";
    p.UserName = "line1\nline2\x01\x1F";
    p.Priority = -2;
    p.CreateTime = 125'963'012'967'890'000;
    p.UserTime = 9'007'199'254'740'993;  // 2^53 + 1
    TThreadInfo t;
    t.TID = 7;
    t.OwnerPID = 4242;
    t.StartAddress = 0x7FF612340000ull & UINTPTR_MAX;
    p.Threads = {t};
    TModuleInfo m;
    m.Name = "ntdll.dll";
    m.Base = 0x77000000;
    p.Modules = {m};
    inv.Processes = {p};
    TDriverInfo d;
    d.Name = "\\SystemRoot\\a.sys";
    d.Base = 0xF7A30000;
    d.Size = 4096;
    inv.Drivers = {d};
    TServiceInfo s;
    s.Name = "Svc";
    s.DisplayName = "Tab\there";
    s.Startup = 4;
    s.Status = -1;
    s.Typ = 4;
    inv.Services = {s};
    return inv;
}

}  // namespace

TEST(InventoryJson, OneValidObjectWithEveryPart) {
    const TJson doc = ParseJson(InventoryJson(Sample(false), Latin1ToUtf8));
    ASSERT_EQ(doc.Type, TJson::Object);
    const TJson& h = doc["header"];
    EXPECT_EQ(h["machine"].Text, "HOST-1");
    EXPECT_EQ(h["osName"].Text, "Windows \"NT\" \\ 4.0");
    EXPECT_EQ(h["platform"].Text, "2");
    EXPECT_EQ(h["buildNumber"].Text, "1381");
    EXPECT_EQ(h["timestamp"].Text, "1970-01-01T12:00:00");
    EXPECT_EQ(h["rights"].Text, "Admin");
    EXPECT_TRUE(h["vmware"].B);
    EXPECT_EQ(h["vpc"].Type, TJson::Bool);
    EXPECT_FALSE(h["vpc"].B);
    EXPECT_EQ(doc["live"].Type, TJson::Bool);
    EXPECT_FALSE(doc["live"].B);

    ASSERT_EQ(doc["processes"].Items.size(), 1u);
    const TJson& p = doc["processes"].Items[0];
    EXPECT_EQ(p["pid"].Text, "4242");
    EXPECT_EQ(p["name"].Text, "caf\xC3\xA9.exe");
    EXPECT_EQ(p["imageName"].Text, "C:\\dir\\caf\xC3\xA9.exe");
    EXPECT_EQ(p["userName"].Text, "line1\nline2\x01\x1F");
    EXPECT_EQ(p["priority"].Text, "-2");
    EXPECT_EQ(p["createTime"].Text, "2000-02-29T12:34:56.789Z");
    EXPECT_EQ(p["createTimeRaw"].Text, "125963012967890000");
    EXPECT_EQ(p["userTime"].Text, "9007199254740993");
    EXPECT_FALSE(p.Has("threads"));  // reports hold no threads or modules
    EXPECT_FALSE(p.Has("modules"));

    ASSERT_EQ(doc["drivers"].Items.size(), 1u);
    EXPECT_EQ(doc["drivers"].Items[0]["name"].Text, "\\SystemRoot\\a.sys");
    EXPECT_EQ(doc["drivers"].Items[0]["base"].Text, "0xF7A30000");
    EXPECT_EQ(doc["drivers"].Items[0]["size"].Text, "4096");
    ASSERT_EQ(doc["services"].Items.size(), 1u);
    const TJson& s = doc["services"].Items[0];
    EXPECT_EQ(s["displayName"].Text, "Tab\there");
    EXPECT_EQ(s["startup"].Text, "4");
    EXPECT_EQ(s["startupName"].Text, "Disabled");
    EXPECT_EQ(s["status"].Text, "-1");
    EXPECT_EQ(s["typeName"].Text, "Own Process");
}

TEST(InventoryJson, LiveProcessesHoldThreadsAndModules) {
    const TJson doc = ParseJson(InventoryJson(Sample(true), Latin1ToUtf8));
    EXPECT_TRUE(doc["live"].B);
    const TJson& p = doc["processes"].Items.at(0);
    ASSERT_EQ(p["threads"].Items.size(), 1u);
    EXPECT_EQ(p["threads"].Items[0]["tid"].Text, "7");
    EXPECT_EQ(p["threads"].Items[0]["createTime"].Text, "");
    EXPECT_EQ(p["threads"].Items[0]["createTimeRaw"].Text, "0");
    ASSERT_EQ(p["modules"].Items.size(), 1u);
    EXPECT_EQ(p["modules"].Items[0]["name"].Text, "ntdll.dll");
    EXPECT_EQ(p["modules"].Items[0]["base"].Text, "0x77000000");
}

TEST(InventoryJson, EmptyInventoryAndTextsThatAreNotUtf8) {
    const TJson empty = ParseJson(InventoryJson(TInventory{}, Latin1ToUtf8));
    EXPECT_EQ(empty["processes"].Type, TJson::Array);
    EXPECT_TRUE(empty["processes"].Items.empty());
    EXPECT_EQ(empty["header"]["timestamp"].Text, "");
    // A converter that hands back bytes that are no UTF-8 still gives valid JSON.
    TInventory inv = Sample(false);
    const auto passThrough = [](std::string_view s) { return std::string(s); };
    const TJson doc = ParseJson(InventoryJson(inv, passThrough));
    EXPECT_EQ(doc["processes"].Items.at(0)["name"].Text, "caf\xEF\xBF\xBD.exe");
}

TEST(InventoryJson, DifferencesWithBothHeaders) {
    TStorageInfoRecord before, after;
    before.Machine = "A";
    after.Machine = "B";
    const std::vector<TDiffRow> rows{
        {TDiffKind::Service, "Svc\"1\"", TDiffChange::Changed, "start type", "Manual", "Disabled"},
        {TDiffKind::Process, "C:\\x\xE9.exe", TDiffChange::Added, "", "", "1"},
    };
    const TJson doc = ParseJson(DiffJson(rows, before, after, Latin1ToUtf8));
    EXPECT_EQ(doc["before"]["machine"].Text, "A");
    EXPECT_EQ(doc["after"]["machine"].Text, "B");
    const TJson& d = doc["differences"];
    ASSERT_EQ(d.Items.size(), 2u);
    EXPECT_EQ(d.Items[0]["kind"].Text, "service");
    EXPECT_EQ(d.Items[0]["key"].Text, "Svc\"1\"");
    EXPECT_EQ(d.Items[0]["change"].Text, "changed");
    EXPECT_EQ(d.Items[0]["field"].Text, "start type");
    EXPECT_EQ(d.Items[0]["oldValue"].Text, "Manual");
    EXPECT_EQ(d.Items[0]["newValue"].Text, "Disabled");
    EXPECT_EQ(d.Items[1]["key"].Text, "C:\\x\xC3\xA9.exe");
    EXPECT_EQ(d.Items[1]["change"].Text, "added");
    EXPECT_TRUE(ParseJson(DiffJson({}, before, after, Latin1ToUtf8))["differences"].Items.empty());
}
