// A JSON text (RFC 8259) written one value at a time, and the members of a
// record as its field table names them: what the inventory's JSON and its
// lines share.
#pragma once

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "engine/pure/OXI_InventoryJson.h"
#include "engine/pure/OXI_IsoTime.h"
#include "engine/pure/OXI_RecordFields.h"
#include "platform/pure/Orvex_Utf8.h"

namespace orvex {

// Writes one JSON value at a time; commas between members and elements come
// by themselves.
class TJsonWriter {
public:
    explicit TJsonWriter(const TTextToUtf8& toUtf8) : toUtf8_(toUtf8) {}

    void BeginObject(const char* name = nullptr) { Open(name, '{'); }
    void EndObject() { Close('}'); }
    void BeginArray(const char* name = nullptr) { Open(name, '['); }
    void EndArray() { Close(']'); }

    void Text(const char* name, std::string_view value) {
        Name(name);
        Quoted(ValidUtf8(toUtf8_ ? toUtf8_(value) : std::string(value)));
    }
    // A text that is ASCII already (numbers, times, names of this program).
    void Ascii(const char* name, std::string_view value) {
        Name(name);
        Quoted(value);
    }
    void Number(const char* name, std::int64_t value) {
        Name(name);
        out_ += std::to_string(value);
    }
    void Bool(const char* name, bool value) {
        Name(name);
        out_ += value ? "true" : "false";
    }
    void Address(const char* name, std::uint64_t value) {
        char text[24];
        std::snprintf(text, sizeof text, "0x%" PRIX64, value);
        Ascii(name, text);
    }
    void Time(const char* name, std::int64_t hundredNs) {
        Ascii(name, IsoTimeFromFileTime(hundredNs));
        Ascii((std::string(name) + "Raw").c_str(), std::to_string(hundredNs));
    }

    // Ends one value of a sequence of lines (JSON Lines): LF, then the next
    // value starts afresh.
    void EndLine() {
        out_ += '\n';
        needComma_ = false;
    }

    std::string Take() { return std::move(out_); }

private:
    void Name(const char* name) {
        if (needComma_) out_ += ',';
        needComma_ = true;
        if (name) {
            Quoted(name);
            out_ += ':';
        }
    }
    void Open(const char* name, char bracket) {
        Name(name);
        out_ += bracket;
        needComma_ = false;
    }
    void Close(char bracket) {
        out_ += bracket;
        needComma_ = true;
    }
    void Quoted(std::string_view utf8) {
        out_ += '"';
        for (char c : utf8) {
            const auto u = static_cast<unsigned char>(c);
            if (c == '"' || c == '\\') {
                out_ += '\\';
                out_ += c;
            } else if (u < 0x20) {
                char esc[8];
                std::snprintf(esc, sizeof esc, "\\u%04X", u);
                out_ += esc;
            } else {
                out_ += c;
            }
        }
        out_ += '"';
    }

    const TTextToUtf8& toUtf8_;
    std::string out_;
    bool needComma_ = false;
};

// The members of one record, as its field table names them.
template <typename TRecord>
void Members(TJsonWriter& w, const TRecord& r) {
    for (const TField<TRecord>& f : FieldsOf<TRecord>()) {
        if (!f.Json || f.Unknown(r)) continue;
        switch (f.Show) {
        case TShow::Text:
            w.Text(f.Json, f.Text(r));
            break;
        case TShow::Address:
            w.Address(f.Json, static_cast<std::uint64_t>(f.Number(r)));
            break;
        case TShow::Time:
            w.Time(f.Json, f.Number(r));
            break;
        case TShow::DateTime:
            w.Ascii(f.Json, IsoTimeFromDateTime(f.Real(r)));
            break;
        case TShow::Bool:
            w.Bool(f.Json, f.Number(r) != 0);
            break;
        case TShow::ServiceState:
        case TShow::ServiceStartType:
        case TShow::ServiceType:
            w.Ascii(f.Json, ShownValue(f, r));
            break;
        default:
            w.Number(f.Json, f.Number(r));
            break;
        }
    }
}

}  // namespace orvex
