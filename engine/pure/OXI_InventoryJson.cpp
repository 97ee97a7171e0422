#include "engine/pure/OXI_InventoryJson.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>

#include "engine/pure/OXI_IsoTime.h"
#include "platform/pure/Orvex_ServiceNames.h"
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

void Header(TJsonWriter& w, const char* name, const TStorageInfoRecord& h, const std::string* viewLimit = nullptr) {
    w.BeginObject(name);
    w.Text("machine", h.Machine);
    w.Text("application", h.Application);
    w.Text("osName", h.OSName);
    w.Number("platform", h.Platform);
    w.Number("majorVersion", h.MajorVersion);
    w.Number("minorVersion", h.MinorVersion);
    w.Number("buildNumber", h.BuildNumber);
    w.Text("csdVersion", h.CSDVersion);
    w.Ascii("timestamp", IsoTimeFromDateTime(h.Timestamp));
    w.Text("rights", h.Rights);
    w.Text("loggedUser", h.LoggedUser);
    w.Text("account", h.Account);
    w.Bool("vmware", h.VMWare);
    w.Bool("vpc", h.VPC);
    if (viewLimit) w.Text("viewLimit", *viewLimit);
    w.EndObject();
}

void Thread(TJsonWriter& w, const TThreadInfo& t) {
    w.BeginObject();
    w.Number("tid", t.TID);
    w.Number("ownerPid", t.OwnerPID);
    w.Number("priority", t.Priority);
    w.Number("basePriority", t.BasePriority);
    w.Time("createTime", t.CreateTime);
    w.Number("kernelTime", t.KernelTime);
    w.Number("userTime", t.UserTime);
    w.Number("waitTime", t.WaitTime);
    w.Address("startAddress", t.StartAddress);
    w.Number("contextSwitches", t.ContextSwitches);
    w.Number("threadState", t.ThreadState);
    w.Number("waitReason", t.WaitReason);
    w.EndObject();
}

void Module(TJsonWriter& w, const TModuleInfo& m) {
    w.BeginObject();
    w.Text("name", m.Name);
    w.Text("imageName", m.ImageName);
    w.Number("size", m.Size);
    w.Address("entryPoint", m.EntryPoint);
    w.Address("base", m.Base);
    w.EndObject();
}

void Process(TJsonWriter& w, const TProcessInfo& p, bool live) {
    w.BeginObject();
    w.Number("pid", p.PID);
    w.Text("name", p.Name);
    w.Text("imageName", p.ImageName);
    w.Text("userName", p.UserName);
    w.Number("priority", p.Priority);
    w.Number("usage", p.Usage);
    w.Number("parentPid", p.ParentPID);
    w.Number("handleCount", p.HandleCount);
    w.Number("threadCount", p.ThreadCount);
    w.Address("heapId", p.HeapID);
    w.Number("moduleId", p.ModuleID);
    w.Time("createTime", p.CreateTime);
    w.Number("userTime", p.UserTime);
    w.Number("kernelTime", p.KernelTime);
    if (live) {
        w.BeginArray("threads");
        for (const TThreadInfo& t : p.Threads) Thread(w, t);
        w.EndArray();
        w.BeginArray("modules");
        for (const TModuleInfo& m : p.Modules) Module(w, m);
        w.EndArray();
    }
    w.EndObject();
}

void Driver(TJsonWriter& w, const TDriverInfo& d) {
    w.BeginObject();
    w.Text("name", d.Name);
    w.Number("loadCount", d.LoadCount);
    w.Number("flags", d.Flags);
    w.Address("base", d.Base);
    w.Number("size", d.Size);
    w.EndObject();
}

void Service(TJsonWriter& w, const TServiceInfo& s) {
    w.BeginObject();
    w.Text("name", s.Name);
    w.Text("displayName", s.DisplayName);
    w.Text("imageName", s.ImageName);
    w.Text("objectName", s.ObjectName);
    w.Text("description", s.Description);
    w.Text("group", s.Group);
    w.Text("dependOnService", s.DependOnService);
    w.Number("startup", s.Startup);
    w.Ascii("startupName", ServiceStartTypeName(s.Startup));
    w.Number("status", s.Status);
    w.Ascii("statusName", ServiceStateName(s.Status));
    w.Number("tag", s.Tag);
    w.Number("errCtrl", s.ErrCtrl);
    w.Number("typ", s.Typ);
    w.Ascii("typeName", ServiceTypeName(s.Typ));
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
    w.BeginArray("drivers");
    for (const TDriverInfo& d : inventory.Drivers) Driver(w, d);
    w.EndArray();
    w.BeginArray("services");
    for (const TServiceInfo& s : inventory.Services) Service(w, s);
    w.EndArray();
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
