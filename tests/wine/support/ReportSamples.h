// Records, components and raw property access for the report tests.
#pragma once

#include <windows.h>
#include <propidl.h>

#include <cstdint>
#include <string>

#include "engine/OXI_Processes.h"
#include "platform/Orvex_Resources.h"
#include "storage/Orvex_ComError.h"
#include "tests/wine/support/RaisedCode.h"

namespace orvex::test {

// Records whose every stored field differs from one index to the next.
inline TProcessInfo SampleProcess(int i) {
    TProcessInfo p;
    p.PID = 1000 + static_cast<std::uint32_t>(i);
    p.Name = "proc" + std::to_string(i) + ".exe";
    p.ImageName = "C:\\Programs\\proc" + std::to_string(i) + ".exe";
    p.UserName = "DOMAIN/user" + std::to_string(i);
    p.Priority = 8 + i;
    p.Usage = static_cast<std::uint32_t>(i);
    p.ParentPID = 4 + static_cast<std::uint32_t>(i);
    p.HandleCount = 30 + static_cast<std::uint32_t>(i);
    p.ThreadCount = 2 + static_cast<std::uint32_t>(i);
    p.HeapID = static_cast<std::uintptr_t>(0x00150000u + static_cast<unsigned>(i));
    p.ModuleID = 7 + static_cast<std::uint32_t>(i);
    p.CreateTime = 133'000'000'000'000'000LL + i;
    p.UserTime = 1'234'567LL * i;
    p.KernelTime = 7'654'321LL * i;
    return p;
}

inline TDriverInfo SampleDriver(int i) {
    TDriverInfo d;
    d.Name = "\\SystemRoot\\System32\\drivers\\drv" + std::to_string(i) + ".sys";
    d.LoadCount = static_cast<std::uint32_t>(i);
    d.Flags = 0x9000u + static_cast<std::uint32_t>(i);
    d.Base = static_cast<std::uintptr_t>(0xF0000000u + 0x1000u * static_cast<unsigned>(i));
    d.Size = 0x20000 + i;
    return d;
}

inline TServiceInfo SampleService(int i) {
    TServiceInfo s;
    s.Name = "svc" + std::to_string(i);
    s.DisplayName = "Service number " + std::to_string(i);
    s.ImageName = "C:\\Windows\\system32\\svc" + std::to_string(i) + ".exe -k";
    s.ObjectName = "LocalSystem";
    s.Description = "Does thing " + std::to_string(i);
    s.Group = "Group" + std::to_string(i % 3);
    s.DependOnService = i % 2 ? "RpcSs EventLog" : "";
    s.Startup = i % 5;
    s.Status = 1 + i % 7;
    s.Tag = static_cast<std::uint32_t>(i);
    s.ErrCtrl = static_cast<std::uint32_t>(i % 4);
    s.Typ = i % 7;
    return s;
}

// Adds Processes, Drivers and Services sample records to Component.
inline void AddSamples(TOrvex_ProcessList& component, int processes, int drivers, int services) {
    for (int i = 0; i < processes; ++i) component.AddProcess(SampleProcess(i));
    for (int i = 0; i < drivers; ++i) component.AddDriver(SampleDriver(i));
    for (int i = 0; i < services; ++i) component.AddService(SampleService(i));
}

// The stored fields of a process (the report keeps no counters or lists).
inline bool SameStoredFields(const TProcessInfo& a, const TProcessInfo& b) {
    return a.PID == b.PID && a.Name == b.Name && a.ImageName == b.ImageName && a.UserName == b.UserName &&
           a.Priority == b.Priority && a.Usage == b.Usage && a.ParentPID == b.ParentPID &&
           a.HandleCount == b.HandleCount && a.ThreadCount == b.ThreadCount && a.HeapID == b.HeapID &&
           a.ModuleID == b.ModuleID && a.CreateTime == b.CreateTime && a.UserTime == b.UserTime &&
           a.KernelTime == b.KernelTime;
}

// Raw property access, for values of other types than the report's own.
inline HRESULT WriteRaw(IPropertyStorage* set, const wchar_t* name, const PROPVARIANT& value) {
    PROPSPEC spec{};
    spec.ulKind = PRSPEC_LPWSTR;
    spec.lpwstr = const_cast<wchar_t*>(name);
    return set->WriteMultiple(1, &spec, &value, 2);
}

inline HRESULT WriteRawId(IPropertyStorage* set, PROPID id, const PROPVARIANT& value) {
    PROPSPEC spec{};
    spec.ulKind = PRSPEC_PROPID;
    spec.propid = id;
    return set->WriteMultiple(1, &spec, &value, 2);
}

inline HRESULT ReadRaw(IPropertyStorage* set, const wchar_t* name, TPropVariant& value) {
    PROPSPEC spec{};
    spec.ulKind = PRSPEC_LPWSTR;
    spec.lpwstr = const_cast<wchar_t*>(name);
    return set->ReadMultiple(1, &spec, value.get());
}

inline HRESULT ReadRawId(IPropertyStorage* set, PROPID id, TPropVariant& value) {
    PROPSPEC spec{};
    spec.ulKind = PRSPEC_PROPID;
    spec.propid = id;
    return set->ReadMultiple(1, &spec, value.get());
}

inline PROPVARIANT I4Value(std::int32_t v) {
    PROPVARIANT var;
    PropVariantInit(&var);
    var.vt = VT_I4;
    var.lVal = v;
    return var;
}

inline PROPVARIANT FileTimeValue(std::uint32_t low) {
    PROPVARIANT var{};
    var.vt = VT_FILETIME;
    var.filetime.dwLowDateTime = low;
    return var;
}

inline PROPVARIANT I8Value(std::int64_t v) {
    PROPVARIANT var;
    PropVariantInit(&var);
    var.vt = VT_I8;
    var.hVal.QuadPart = v;
    return var;
}

// The variant points into Text, which must outlive it.
inline PROPVARIANT WideValue(std::wstring& text) {
    PROPVARIANT var;
    PropVariantInit(&var);
    var.vt = VT_LPWSTR;
    var.pwszVal = text.data();
    return var;
}

inline PROPVARIANT AnsiValue(std::string& text) {
    PROPVARIANT var;
    PropVariantInit(&var);
    var.vt = VT_LPSTR;
    var.pszVal = text.data();
    return var;
}

// The file's bytes; empty when it cannot be read.
inline std::string ReadWholeFile(const std::string& name) {
    const THandle file(CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return {};
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    return bytes;
}

}  // namespace orvex::test
