#include "platform/pure/Orvex_NtLayouts.h"

namespace orvex::nt {
namespace {

// Little-endian reads that never leave [data, data + size).
class TReader {
public:
    TReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(data ? size : 0) {}

    std::size_t size() const { return size_; }
    bool fits(std::size_t offset, std::size_t length) const { return offset <= size_ && length <= size_ - offset; }
    std::uint8_t u8(std::size_t off) const { return fits(off, 1) ? data_[off] : 0; }
    std::uint16_t u16(std::size_t off) const { return static_cast<std::uint16_t>(le(off, 2)); }
    std::uint32_t u32(std::size_t off) const { return static_cast<std::uint32_t>(le(off, 4)); }
    std::int32_t i32(std::size_t off) const { return static_cast<std::int32_t>(u32(off)); }
    std::uint64_t u64(std::size_t off) const { return le(off, 8); }
    std::int64_t i64(std::size_t off) const { return static_cast<std::int64_t>(u64(off)); }
    std::uint64_t ptr(TWidth w, std::size_t off) const { return w == TWidth::Bits64 ? u64(off) : u32(off); }
    const std::uint8_t* at(std::size_t off) const { return data_ + off; }

private:
    std::uint64_t le(std::size_t off, std::size_t n) const {
        if (!fits(off, n)) return 0;
        std::uint64_t v = 0;
        for (std::size_t i = 0; i < n; ++i) v |= static_cast<std::uint64_t>(data_[off + i]) << (8 * i);
        return v;
    }
    const std::uint8_t* data_;
    std::size_t size_;
};

bool Is64(TWidth w) { return w == TWidth::Bits64; }

// Offsets inside one process entry.
struct TProcessOffsets {
    std::size_t ImageName, BasePriority, ProcessId, ParentProcessId, HandleCount, SessionId, VMCounters, IOCounters;
};
TProcessOffsets ProcessOffsets(TWidth w) {
    if (Is64(w)) return {56, 72, 80, 88, 96, 100, 112, 208};
    return {56, 64, 68, 72, 76, 80, 88, 136};
}

TVMCountersBlock ReadVMCounters(TWidth w, const TReader& r, std::size_t base) {
    TVMCountersBlock v;
    const std::size_t p = Is64(w) ? 8 : 4;
    // PageFaultCount is 32-bit; on the 64-bit layout it is padded to 8 bytes.
    v.PeakVirtualSize = r.ptr(w, base);
    v.VirtualSize = r.ptr(w, base + p);
    v.PageFaultCount = r.u32(base + 2 * p);
    const std::size_t rest = base + 3 * p;
    v.PeakWorkingSetSize = r.ptr(w, rest);
    v.WorkingSetSize = r.ptr(w, rest + p);
    v.QuotaPeakPagedPoolUsage = r.ptr(w, rest + 2 * p);
    v.QuotaPagedPoolUsage = r.ptr(w, rest + 3 * p);
    v.QuotaPeakNonPagedPoolUsage = r.ptr(w, rest + 4 * p);
    v.QuotaNonPagedPoolUsage = r.ptr(w, rest + 5 * p);
    v.PagefileUsage = r.ptr(w, rest + 6 * p);
    v.PeakPagefileUsage = r.ptr(w, rest + 7 * p);
    return v;
}

TIOCountersBlock ReadIOCounters(const TReader& r, std::size_t base) {
    TIOCountersBlock c;
    c.ReadOperationCount = r.u64(base);
    c.WriteOperationCount = r.u64(base + 8);
    c.OtherOperationCount = r.u64(base + 16);
    c.ReadTransferCount = r.u64(base + 24);
    c.WriteTransferCount = r.u64(base + 32);
    c.OtherTransferCount = r.u64(base + 40);
    return c;
}

TThreadBlock ReadThread(TWidth w, const TReader& r, std::size_t base) {
    TThreadBlock t;
    t.KernelTime = r.i64(base);
    t.UserTime = r.i64(base + 8);
    t.CreateTime = r.i64(base + 16);
    t.WaitTime = r.u32(base + 24);
    if (Is64(w)) {
        t.StartAddress = r.u64(base + 32);
        t.ProcessId = r.u64(base + 40);
        t.ThreadId = r.u64(base + 48);
        t.Priority = r.i32(base + 56);
        t.BasePriority = r.i32(base + 60);
        t.ContextSwitches = r.u32(base + 64);
        t.ThreadState = r.u32(base + 68);
        t.WaitReason = r.u32(base + 72);
    } else {
        t.StartAddress = r.u32(base + 28);
        t.ProcessId = r.u32(base + 32);
        t.ThreadId = r.u32(base + 36);
        t.Priority = r.i32(base + 40);
        t.BasePriority = r.i32(base + 44);
        t.ContextSwitches = r.u32(base + 48);
        t.ThreadState = r.u32(base + 52);
        t.WaitReason = r.u32(base + 56);
    }
    return t;
}

TCountedString ReadCountedString(TWidth w, const TReader& r, std::size_t off) {
    TCountedString s;
    s.Length = r.u16(off);
    s.MaximumLength = r.u16(off + 2);
    s.Buffer = r.ptr(w, off + (Is64(w) ? 8 : 4));
    return s;
}

std::u16string ReadUtf16(const TReader& r, std::size_t off, std::size_t chars) {
    std::u16string out;
    out.reserve(chars);
    for (std::size_t i = 0; i < chars; ++i) out.push_back(static_cast<char16_t>(r.u16(off + 2 * i)));
    return out;
}

// The text of a counted string whose characters lie in the buffer.
std::u16string TextInBuffer(const TCountedString& s, const TReader& r, std::uint64_t bufferAddress) {
    if (s.Length == 0 || s.Buffer < bufferAddress) return {};
    const std::uint64_t off = s.Buffer - bufferAddress;
    const std::size_t bytes = s.Length & ~std::size_t{1};
    if (off > r.size() || !r.fits(static_cast<std::size_t>(off), bytes)) return {};
    return ReadUtf16(r, static_cast<std::size_t>(off), bytes / 2);
}

// How many entries of entrySize after a header of headerSize the buffer holds,
// at most count.
std::size_t EntriesThatFit(const TReader& r, std::size_t headerSize, std::size_t entrySize, std::uint64_t count) {
    if (!r.fits(0, headerSize)) return 0;
    const std::uint64_t room = (r.size() - headerSize) / entrySize;
    return static_cast<std::size_t>(count < room ? count : room);
}

}  // namespace

std::size_t PebReadSize(TWidth width) noexcept {
    const TLayoutSizes s = LayoutSizes(width);
    return s.PebProcessParameters + (Is64(width) ? 8 : 4);
}

std::size_t ParamsReadSize(TWidth width) noexcept {
    const TLayoutSizes s = LayoutSizes(width);
    return s.ParamsCommandLine + s.CountedString;
}

std::vector<TProcessBlock> ParseSystemProcesses(TWidth width, const std::uint8_t* data, std::size_t size,
                                                std::uint64_t bufferAddress) {
    std::vector<TProcessBlock> out;
    const TReader r(data, size);
    const TLayoutSizes sizes = LayoutSizes(width);
    const TProcessOffsets po = ProcessOffsets(width);
    std::size_t entry = 0;
    while (r.fits(entry, sizes.ProcessBlock)) {
        const std::uint32_t next = r.u32(entry);
        TProcessBlock p;
        p.ThreadCount = r.u32(entry + 4);
        p.CreateTime = r.i64(entry + 32);
        p.UserTime = r.i64(entry + 40);
        p.KernelTime = r.i64(entry + 48);
        p.ImageName = TextInBuffer(ReadCountedString(width, r, entry + po.ImageName), r, bufferAddress);
        p.BasePriority = r.i32(entry + po.BasePriority);
        p.ProcessId = r.ptr(width, entry + po.ProcessId);
        p.ParentProcessId = r.ptr(width, entry + po.ParentProcessId);
        p.HandleCount = r.u32(entry + po.HandleCount);
        p.SessionId = r.u32(entry + po.SessionId);
        p.VMCounters = ReadVMCounters(width, r, entry + po.VMCounters);
        p.IOCounters = ReadIOCounters(r, entry + po.IOCounters);

        // The thread entries follow the header and end where the next
        // process entry (or the buffer) begins.
        std::size_t end = r.size();
        if (next >= sizes.ProcessBlock && next <= r.size() - entry) end = entry + next;
        const std::size_t first = entry + sizes.ProcessBlock;
        const std::size_t room = end > first ? (end - first) / sizes.ThreadBlock : 0;
        const std::size_t threads = p.ThreadCount < room ? p.ThreadCount : room;
        p.Threads.reserve(threads);
        for (std::size_t i = 0; i < threads; ++i)
            p.Threads.push_back(ReadThread(width, r, first + i * sizes.ThreadBlock));
        out.push_back(std::move(p));

        // A next offset inside this entry's header, or beyond the buffer,
        // cannot start another entry.
        if (next < sizes.ProcessBlock || next > r.size() - entry) break;
        entry += next;
    }
    return out;
}

std::vector<TProcessBlock> ParseSystemProcesses(const std::uint8_t* data, std::size_t size) {
    return ParseSystemProcesses(NativeWidth, data, size, AddressOf(data));
}

std::vector<TKernelModuleEntry> ParseKernelModules(TWidth width, const std::uint8_t* data, std::size_t size) {
    std::vector<TKernelModuleEntry> out;
    const TReader r(data, size);
    const TLayoutSizes sizes = LayoutSizes(width);
    const std::size_t n = EntriesThatFit(r, sizes.KernelModuleHeader, sizes.KernelModuleEntry, r.u32(0));
    out.reserve(n);
    const bool w64 = Is64(width);
    const std::size_t p = w64 ? 8 : 4;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t e = sizes.KernelModuleHeader + i * sizes.KernelModuleEntry;
        TKernelModuleEntry m;
        m.Section = r.ptr(width, e);
        m.MappedBase = r.ptr(width, e + p);
        m.ImageBase = r.ptr(width, e + 2 * p);
        const std::size_t f = e + 3 * p;
        m.ImageSize = r.u32(f);
        m.Flags = r.u32(f + 4);
        m.LoadOrderIndex = r.u16(f + 8);
        m.InitOrderIndex = r.u16(f + 10);
        m.LoadCount = r.u16(f + 12);
        m.FileNameOffset = r.u16(f + 14);
        const std::size_t path = f + 16;
        std::size_t len = 0;
        while (len < 256 && r.u8(path + len) != 0) ++len;
        m.FullPath.assign(reinterpret_cast<const char*>(r.at(path)), len);
        out.push_back(std::move(m));
    }
    return out;
}

std::vector<THandleEntry> ParseHandleTable(TWidth width, const std::uint8_t* data, std::size_t size) {
    std::vector<THandleEntry> out;
    const TReader r(data, size);
    const TLayoutSizes sizes = LayoutSizes(width);
    const std::size_t n = EntriesThatFit(r, sizes.HandleHeader, sizes.HandleEntry, r.u32(0));
    out.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t e = sizes.HandleHeader + i * sizes.HandleEntry;
        THandleEntry h;
        h.ProcessId = r.u32(e);
        h.ObjectTypeIndex = r.u8(e + 4);
        h.HandleAttributes = r.u8(e + 5);
        h.HandleValue = r.u16(e + 6);
        h.Object = r.ptr(width, e + 8);
        h.GrantedAccess = r.u32(e + (Is64(width) ? 16 : 12));
        out.push_back(h);
    }
    return out;
}

std::vector<THandleEntry> ParseExtendedHandleTable(TWidth width, const std::uint8_t* data, std::size_t size) {
    std::vector<THandleEntry> out;
    const TReader r(data, size);
    const TLayoutSizes sizes = LayoutSizes(width);
    const std::size_t n = EntriesThatFit(r, sizes.ExtHandleHeader, sizes.ExtHandleEntry, r.ptr(width, 0));
    out.reserve(n);
    const std::size_t p = Is64(width) ? 8 : 4;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t e = sizes.ExtHandleHeader + i * sizes.ExtHandleEntry;
        THandleEntry h;
        h.Object = r.ptr(width, e);
        h.ProcessId = r.ptr(width, e + p);
        h.HandleValue = r.ptr(width, e + 2 * p);
        const std::size_t f = e + 3 * p;
        h.GrantedAccess = r.u32(f);
        h.ObjectTypeIndex = r.u16(f + 6);
        h.HandleAttributes = r.u32(f + 8);
        out.push_back(h);
    }
    return out;
}

std::optional<TVMCountersBlock> ParseVMCounters(TWidth width, const std::uint8_t* data, std::size_t size) {
    const TReader r(data, size);
    if (!r.fits(0, LayoutSizes(width).VMCounters)) return std::nullopt;
    return ReadVMCounters(width, r, 0);
}

std::optional<TIOCountersBlock> ParseIOCounters(const std::uint8_t* data, std::size_t size) {
    const TReader r(data, size);
    if (!r.fits(0, 48)) return std::nullopt;
    return ReadIOCounters(r, 0);
}

std::optional<TKernelUserTimes> ParseKernelUserTimes(const std::uint8_t* data, std::size_t size) {
    const TReader r(data, size);
    if (!r.fits(0, 32)) return std::nullopt;
    return TKernelUserTimes{r.i64(0), r.i64(8), r.i64(16), r.i64(24)};
}

std::optional<TProcessBasicInfo> ParseProcessBasicInfo(TWidth width, const std::uint8_t* data, std::size_t size) {
    const TReader r(data, size);
    if (!r.fits(0, LayoutSizes(width).ProcessBasicInfo)) return std::nullopt;
    const std::size_t p = Is64(width) ? 8 : 4;
    TProcessBasicInfo b;
    b.ExitStatus = r.u32(0);
    b.PebBaseAddress = r.ptr(width, p);
    b.AffinityMask = r.ptr(width, 2 * p);
    b.BasePriority = r.i32(3 * p);
    b.ProcessId = r.ptr(width, 4 * p);
    b.ParentProcessId = r.ptr(width, 5 * p);
    return b;
}

std::optional<TThreadBasicInfo> ParseThreadBasicInfo(TWidth width, const std::uint8_t* data, std::size_t size) {
    const TReader r(data, size);
    if (!r.fits(0, LayoutSizes(width).ThreadBasicInfo)) return std::nullopt;
    const std::size_t p = Is64(width) ? 8 : 4;
    TThreadBasicInfo t;
    t.ExitStatus = r.u32(0);
    t.TebBaseAddress = r.ptr(width, p);
    t.ProcessId = r.ptr(width, 2 * p);
    t.ThreadId = r.ptr(width, 3 * p);
    t.AffinityMask = r.ptr(width, 4 * p);
    t.Priority = r.i32(5 * p);
    t.BasePriority = r.i32(5 * p + 4);
    return t;
}

std::optional<TCountedString> ParseCountedString(TWidth width, const std::uint8_t* data, std::size_t size,
                                                 std::size_t offset) {
    const TReader r(data, size);
    if (!r.fits(offset, LayoutSizes(width).CountedString)) return std::nullopt;
    return ReadCountedString(width, r, offset);
}

std::u16string CountedStringText(const TCountedString& s, const std::uint8_t* data, std::size_t size,
                                 std::uint64_t bufferAddress) {
    return TextInBuffer(s, TReader(data, size), bufferAddress);
}

std::u16string ParseObjectInfoName(TWidth width, const std::uint8_t* data, std::size_t size,
                                   std::uint64_t bufferAddress) {
    const auto s = ParseCountedString(width, data, size, 0);
    return s ? CountedStringText(*s, data, size, bufferAddress) : std::u16string();
}

std::vector<TObjectTypeEntry> ParseObjectTypes(TWidth width, const std::uint8_t* data, std::size_t size,
                                               std::uint64_t bufferAddress) {
    std::vector<TObjectTypeEntry> out;
    const TReader r(data, size);
    const TObjectTypeLayout layout = ObjectTypeLayout(width);
    if (!r.fits(0, layout.Header)) return out;
    const std::uint32_t count = r.u32(0);
    const std::size_t align = Is64(width) ? 8 : 4;
    std::size_t entry = layout.Header;
    for (std::uint32_t i = 0; i < count && r.fits(entry, layout.Entry); ++i) {
        const TCountedString name = ReadCountedString(width, r, entry);
        TObjectTypeEntry& t = out.emplace_back();
        t.Name = TextInBuffer(name, r, bufferAddress);
        t.TypeIndex = r.u8(entry + layout.TypeIndex);
        const std::size_t next = entry + layout.Entry + name.MaximumLength;
        entry = (next + align - 1) / align * align;
    }
    return out;
}

namespace {

bool SameAsciiText(const std::u16string& a, const std::u16string& b) {
    const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; };
    if (a.size() != b.size()) return false;
    for (std::size_t k = 0; k < a.size(); ++k)
        if (lower(a[k]) != lower(b[k])) return false;
    return true;
}

}  // namespace

std::optional<std::uint16_t> FirstObjectTypeNumber(const std::vector<TObjectTypeEntry>& types,
                                                   const TKnownObjectType& known) {
    for (std::size_t i = 0; i < types.size() && i <= known.Number; ++i)
        if (SameAsciiText(types[i].Name, known.Name)) return static_cast<std::uint16_t>(known.Number - i);
    return std::nullopt;
}

std::vector<std::uint16_t> ObjectTypeNumbers(const std::vector<TObjectTypeEntry>& types, std::uint16_t guessedFirst,
                                             const std::optional<TKnownObjectType>& known) {
    bool filled = false;
    for (const TObjectTypeEntry& t : types) filled = filled || t.TypeIndex != 0;
    if (filled && known) {
        bool agrees = false;
        for (const TObjectTypeEntry& t : types)
            if (SameAsciiText(t.Name, known->Name)) agrees = t.TypeIndex == known->Number;
        filled = agrees;
    }
    std::uint16_t first = guessedFirst;
    if (!filled && known) first = FirstObjectTypeNumber(types, *known).value_or(guessedFirst);
    std::vector<std::uint16_t> numbers;
    numbers.reserve(types.size());
    for (std::size_t i = 0; i < types.size(); ++i)
        numbers.push_back(filled ? types[i].TypeIndex : static_cast<std::uint16_t>(first + i));
    return numbers;
}

std::optional<std::uint64_t> ParsePebProcessParameters(TWidth width, const std::uint8_t* data, std::size_t size) {
    const TReader r(data, size);
    if (!r.fits(0, PebReadSize(width))) return std::nullopt;
    return r.ptr(width, LayoutSizes(width).PebProcessParameters);
}

std::size_t LoaderEntryReadSize(TWidth width) noexcept {
    return LoaderLayout(width).EntryFullName + LayoutSizes(width).CountedString;
}

std::optional<std::uint64_t> ParsePebLoaderData(TWidth width, const std::uint8_t* data, std::size_t size) {
    const TReader r(data, size);
    if (!r.fits(0, PebReadSize(width))) return std::nullopt;
    return r.ptr(width, LoaderLayout(width).PebLoaderData);
}

std::optional<TLoaderEntry> ParseLoaderEntry(TWidth width, const std::uint8_t* data, std::size_t size) {
    const TReader r(data, size);
    if (!r.fits(0, LoaderEntryReadSize(width))) return std::nullopt;
    const TLoaderLayout l = LoaderLayout(width);
    TLoaderEntry e;
    e.Next = r.ptr(width, 0);
    e.DllBase = r.ptr(width, l.EntryDllBase);
    e.EntryPoint = r.ptr(width, l.EntryPoint);
    e.SizeOfImage = r.u32(l.EntrySizeOfImage);
    const auto name = ParseCountedString(width, data, size, l.EntryFullName);
    if (!name) return std::nullopt;
    e.FullName = *name;
    return e;
}

std::optional<TCountedString> ParseParamsCommandLine(TWidth width, const std::uint8_t* data, std::size_t size) {
    return ParseCountedString(width, data, size, LayoutSizes(width).ParamsCommandLine);
}

std::optional<TCountedString> ParseParamsImagePath(TWidth width, const std::uint8_t* data, std::size_t size) {
    return ParseCountedString(width, data, size, LayoutSizes(width).ParamsImagePathName);
}

std::u16string Utf16UpToZero(const std::uint8_t* data, std::size_t size) {
    const TReader r(data, size);
    std::u16string out;
    for (std::size_t off = 0; r.fits(off, 2); off += 2) {
        const char16_t c = static_cast<char16_t>(r.u16(off));
        if (c == 0) break;
        out.push_back(c);
    }
    return out;
}

}  // namespace orvex::nt
