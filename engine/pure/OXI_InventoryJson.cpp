#include "engine/pure/OXI_InventoryJson.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>

#include "engine/pure/OXI_IsoTime.h"
#include "engine/pure/OXI_RecordFields.h"
#include "platform/pure/Orvex_Utf8.h"

namespace orvex {

namespace {

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

template <typename TRecord>
void Object(TJsonWriter& w, const TRecord& r) {
    w.BeginObject();
    Members(w, r);
    w.EndObject();
}

template <typename TRecord>
void Array(TJsonWriter& w, const char* name, const std::vector<TRecord>& list) {
    w.BeginArray(name);
    for (const TRecord& r : list) Object(w, r);
    w.EndArray();
}

void Header(TJsonWriter& w, const char* name, const TStorageInfoRecord& h, const std::string* viewLimit = nullptr) {
    w.BeginObject(name);
    Members(w, h);
    if (viewLimit) w.Text("viewLimit", *viewLimit);
    w.EndObject();
}

void Process(TJsonWriter& w, const TProcessInfo& p, bool live) {
    w.BeginObject();
    Members(w, p);
    if (live) {
        Array(w, "threads", p.Threads);
        Array(w, "modules", p.Modules);
    }
    w.EndObject();
}

}  // namespace

std::string InventoryJson(const TInventory& inventory, const TTextToUtf8& toUtf8) {
    TJsonWriter w(toUtf8);
    w.BeginObject();
    Header(w, "header", inventory.Info, &inventory.ViewLimit);
    w.Bool("live", inventory.Live);
    w.BeginArray("processes");
    for (const TProcessInfo& p : inventory.Processes) Process(w, p, inventory.Live);
    w.EndArray();
    Array(w, "drivers", inventory.Drivers);
    Array(w, "services", inventory.Services);
    w.EndObject();
    return w.Take();
}

std::string DiffJson(const std::vector<TDiffRow>& rows, const TStorageInfoRecord& before,
                     const TStorageInfoRecord& after, const TTextToUtf8& toUtf8) {
    TJsonWriter w(toUtf8);
    w.BeginObject();
    Header(w, "before", before);
    Header(w, "after", after);
    w.BeginArray("differences");
    for (const TDiffRow& r : rows) {
        w.BeginObject();
        w.Ascii("kind", DiffKindText(r.Kind));
        w.Text("key", r.Key);
        w.Ascii("change", DiffChangeText(r.Change));
        w.Ascii("field", r.Field);
        w.Text("oldValue", r.OldValue);
        w.Text("newValue", r.NewValue);
        w.EndObject();
    }
    w.EndArray();
    w.EndObject();
    return w.Take();
}

}  // namespace orvex
