// The property tables of the report's items. Texts are cut to 255
// characters by the record fields themselves; integers are stored as 64-bit
// values, unsigned 32-bit fields zero-extended and signed ones sign-extended,
// and read back from their low 32 bits (pointer-width fields from as many
// bits as a pointer has).
#include <cstdint>

#include "engine/OXI_ReportParts.h"

namespace orvex {

namespace {

std::int64_t Zero32(std::uint32_t v) { return static_cast<std::int64_t>(v); }
// A signed field stored as its 32-bit pattern, zero-extended.
std::int64_t Zero32(std::int32_t v) { return static_cast<std::int64_t>(static_cast<std::uint32_t>(v)); }
std::int64_t Sign32(std::int32_t v) { return v; }
std::int64_t Sign32(std::uint32_t v) { return static_cast<std::int32_t>(v); }
std::int64_t Pointer(std::uintptr_t v) { return static_cast<std::int64_t>(static_cast<std::uint64_t>(v)); }

std::uint32_t U32(std::int64_t v) { return static_cast<std::uint32_t>(v); }
std::int32_t I32(std::int64_t v) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(v)); }
std::uintptr_t Ptr(std::int64_t v) { return static_cast<std::uintptr_t>(static_cast<std::uint64_t>(v)); }

}  // namespace

void WriteItem(IPropertyStorage* set, const TProcessInfo& p) {
    WriteIntProp(set, "PID", Zero32(p.PID));
    WriteStrProp(set, "Name", p.Name);
    WriteStrProp(set, "ImageName", p.ImageName);
    WriteStrProp(set, "UserName", p.UserName);
    WriteIntProp(set, "Priority", Zero32(p.Priority));
    WriteIntProp(set, "Usage", Zero32(p.Usage));
    WriteIntProp(set, "ParentPID", Zero32(p.ParentPID));
    WriteIntProp(set, "HandleCount", Zero32(p.HandleCount));
    WriteIntProp(set, "ThreadCount", Zero32(p.ThreadCount));
    WriteIntProp(set, "HeapID", Pointer(p.HeapID));
    WriteIntProp(set, "ModuleID", Zero32(p.ModuleID));
    WriteIntProp(set, "CreateTime", p.CreateTime);
    WriteIntProp(set, "UserTime", p.UserTime);
    WriteIntProp(set, "KernelTime", p.KernelTime);
}

void WriteItem(IPropertyStorage* set, const TDriverInfo& d) {
    WriteStrProp(set, "Name", d.Name);
    WriteIntProp(set, "LoadCount", Zero32(d.LoadCount));
    WriteIntProp(set, "Flags", Zero32(d.Flags));
    WriteIntProp(set, "Base", Pointer(d.Base));
    WriteIntProp(set, "Size", d.Size);
}

void WriteItem(IPropertyStorage* set, const TServiceInfo& s) {
    WriteStrProp(set, "Name", s.Name);
    WriteStrProp(set, "DisplayName", s.DisplayName);
    WriteStrProp(set, "ImageName", s.ImageName);
    WriteStrProp(set, "ObjectName", s.ObjectName);
    WriteStrProp(set, "Description", s.Description);
    WriteStrProp(set, "Group", s.Group);
    WriteStrProp(set, "DependOnService", s.DependOnService);
    WriteIntProp(set, "Startup", Sign32(s.Startup));
    WriteIntProp(set, "Status", Sign32(s.Status));
    WriteIntProp(set, "Tag", Sign32(s.Tag));
    WriteIntProp(set, "ErrCtrl", Sign32(s.ErrCtrl));
    WriteIntProp(set, "Typ", Sign32(s.Typ));
}

void ReadItem(IPropertyStorage* set, TProcessInfo& p) {
    p.PID = U32(ReadIntProp(set, "PID"));
    p.Name = ReadStrProp(set, "Name");
    p.ImageName = ReadStrProp(set, "ImageName");
    p.UserName = ReadStrProp(set, "UserName");
    p.Priority = I32(ReadIntProp(set, "Priority"));
    p.Usage = U32(ReadIntProp(set, "Usage"));
    p.ParentPID = U32(ReadIntProp(set, "ParentPID"));
    p.HandleCount = U32(ReadIntProp(set, "HandleCount"));
    p.ThreadCount = U32(ReadIntProp(set, "ThreadCount"));
    p.HeapID = Ptr(ReadIntProp(set, "HeapID"));
    p.ModuleID = U32(ReadIntProp(set, "ModuleID"));
    p.CreateTime = ReadIntProp(set, "CreateTime");
    p.UserTime = ReadIntProp(set, "UserTime");
    p.KernelTime = ReadIntProp(set, "KernelTime");
}

void ReadItem(IPropertyStorage* set, TDriverInfo& d) {
    d.Name = ReadStrProp(set, "Name");
    d.LoadCount = U32(ReadIntProp(set, "LoadCount"));
    d.Flags = U32(ReadIntProp(set, "Flags"));
    d.Base = Ptr(ReadIntProp(set, "Base"));
    d.Size = ReadIntProp(set, "Size");
}

void ReadItem(IPropertyStorage* set, TServiceInfo& s) {
    s.Name = ReadStrProp(set, "Name");
    s.DisplayName = ReadStrProp(set, "DisplayName");
    s.ImageName = ReadStrProp(set, "ImageName");
    s.ObjectName = ReadStrProp(set, "ObjectName");
    s.Description = ReadStrProp(set, "Description");
    s.Group = ReadStrProp(set, "Group");
    s.DependOnService = ReadStrProp(set, "DependOnService");
    s.Startup = I32(ReadIntProp(set, "Startup"));
    s.Status = I32(ReadIntProp(set, "Status"));
    s.Tag = U32(ReadIntProp(set, "Tag"));
    s.ErrCtrl = U32(ReadIntProp(set, "ErrCtrl"));
    s.Typ = I32(ReadIntProp(set, "Typ"));
}

}  // namespace orvex
