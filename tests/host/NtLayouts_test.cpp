// The buffer readers against buffers built here by hand, in the 32-bit and
// the 64-bit layout. The offsets below are the platform's, written out
// independently of the readers.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/pure/Orvex_NtLayouts.h"
#include "tests/FuzzSeeds.h"

using namespace orvex::nt;

namespace {

struct TOffsets {
    std::size_t ptr;
    // process entry
    std::size_t proc, nameLen, nameBuf, basePri, pid, ppid, handles, session, vm, io;
    // thread entry
    std::size_t thr, tStart, tPid, tTid, tPrio, tBase, tSwitches, tState, tWait;
    // kernel module table
    std::size_t modHeader, modEntry, modMapped, modImage, modSize, modFlags, modLoadOrder, modLoadCount, modNameOff,
        modPath;
    // handle tables
    std::size_t hHeader, hEntry, hObject, hAccess;
    std::size_t xHeader, xEntry, xPid, xHandle, xAccess, xType, xAttr;
};

const TOffsets k32{4,   184, 56, 60, 64, 68, 72, 76, 80, 88, 136, 64, 28, 32, 36, 40, 44, 48, 52, 56, 4,
                   284, 4,   8,  12, 16, 20, 24, 26, 28, 4,  16,  8,  12, 8,  28, 4,  8,  12, 18, 20};
const TOffsets k64{8,   256, 56, 64, 72, 80, 88, 96, 100, 112, 208, 80, 32, 40, 48, 56, 60, 64, 68, 72, 8,
                   296, 8,   16, 24, 28, 32, 36, 38, 40,  8,   24,  8,  16, 16, 40, 8,  16, 24, 30, 32};

// A byte buffer with little-endian writers. What the tests built is kept as
// seeds of the fuzz target of its width.
class TBuf {
public:
    TBuf(TWidth w, std::size_t size) : w_(w), b_(size, 0) {}
    ~TBuf() {
        orvex::test::KeepFuzzSeed(w_ == TWidth::Bits64 ? "nt_layouts_64" : "nt_layouts_32", b_.data(), b_.size());
    }
    TBuf(const TBuf&) = delete;
    TBuf& operator=(const TBuf&) = delete;
    void u8(std::size_t off, std::uint8_t v) { b_.at(off) = v; }
    void u16(std::size_t off, std::uint16_t v) { put(off, v, 2); }
    void u32(std::size_t off, std::uint32_t v) { put(off, v, 4); }
    void u64(std::size_t off, std::uint64_t v) { put(off, v, 8); }
    void ptr(std::size_t off, std::uint64_t v) { put(off, v, w_ == TWidth::Bits64 ? 8 : 4); }
    void text16(std::size_t off, const std::u16string& s) {
        for (std::size_t i = 0; i < s.size(); ++i) u16(off + 2 * i, s[i]);
    }
    void text8(std::size_t off, const std::string& s) {
        for (std::size_t i = 0; i < s.size(); ++i) u8(off + i, static_cast<std::uint8_t>(s[i]));
    }
    const std::uint8_t* data() const { return b_.data(); }
    std::size_t size() const { return b_.size(); }

private:
    void put(std::size_t off, std::uint64_t v, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) b_.at(off + i) = static_cast<std::uint8_t>(v >> (8 * i));
    }
    TWidth w_;
    std::vector<std::uint8_t> b_;
};

class NtLayouts : public ::testing::TestWithParam<TWidth> {
protected:
    TWidth w() const { return GetParam(); }
    bool is64() const { return w() == TWidth::Bits64; }
    const TOffsets& o() const { return is64() ? k64 : k32; }
    // The address the constructed buffers pretend to live at.
    std::uint64_t base() const { return is64() ? 0x7FF612340000ull : 0x00A40000ull; }
    std::uint64_t bigPtr(std::uint64_t low) const { return is64() ? 0xFFFFF80000000000ull | low : low; }

    // Writes one process entry at off with the given threads; returns the
    // entry's size (header plus threads).
    std::size_t writeProcess(TBuf& b, std::size_t off, std::uint32_t next, std::uint32_t pid,
                             const std::vector<std::uint32_t>& tids) const {
        const TOffsets& k = o();
        b.u32(off, next);
        b.u32(off + 4, static_cast<std::uint32_t>(tids.size()));
        b.u64(off + 32, 1000 + pid);  // create time
        b.u64(off + 40, 2000 + pid);  // user time
        b.u64(off + 48, 3000 + pid);  // kernel time
        b.u32(off + k.basePri, 8);
        b.ptr(off + k.pid, pid);
        b.ptr(off + k.ppid, pid + 1);
        b.u32(off + k.handles, 10 + pid);
        b.u32(off + k.session, 1);
        for (std::size_t i = 0; i < tids.size(); ++i) {
            const std::size_t t = off + k.proc + i * k.thr;
            b.u64(t, 11 + i);
            b.u64(t + 8, 22 + i);
            b.u64(t + 16, 33 + i);
            b.u32(t + 24, 44);
            b.ptr(t + k.tStart, bigPtr(0x401000 + i));
            b.ptr(t + k.tPid, pid);
            b.ptr(t + k.tTid, tids[i]);
            b.u32(t + k.tPrio, 9);
            b.u32(t + k.tBase, 8);
            b.u32(t + k.tSwitches, 500 + static_cast<std::uint32_t>(i));
            b.u32(t + k.tState, 5);
            b.u32(t + k.tWait, 6);
        }
        return k.proc + tids.size() * k.thr;
    }
    void writeName(TBuf& b, std::size_t entry, std::size_t at, const std::u16string& name) const {
        b.u16(entry + o().nameLen, static_cast<std::uint16_t>(name.size() * 2));
        b.u16(entry + o().nameLen + 2, static_cast<std::uint16_t>(name.size() * 2 + 2));
        b.ptr(entry + o().nameBuf, base() + at);
        b.text16(at, name);
    }
};

INSTANTIATE_TEST_SUITE_P(BothWidths, NtLayouts, ::testing::Values(TWidth::Bits32, TWidth::Bits64),
                         [](const auto& info) { return info.param == TWidth::Bits64 ? "W64" : "W32"; });

// ---- process and thread list -------------------------------------------

TEST_P(NtLayouts, ProcessChainWithThreadsAndNames) {
    const TOffsets& k = o();
    TBuf b(w(), 4096);
    // entry 0: the idle process, no name, one thread
    std::size_t e0 = 0;
    std::size_t len0 = writeProcess(b, e0, 0, 0, {0});
    // entry 1: two threads, named, counters filled
    std::size_t e1 = len0 + 16;
    std::size_t len1 = writeProcess(b, e1, 0, 1234, {100, 104});
    writeName(b, e1, e1 + len1, u"helper.exe");
    for (int i = 0; i < 11; ++i) {
        // VM counters: the 64-bit layout pads the page fault count to 8 bytes
        std::size_t off = e1 + k.vm + (i < 3 ? i * k.ptr : 3 * k.ptr + (i - 3) * k.ptr);
        if (i == 2)
            b.u32(off, 77);
        else
            b.ptr(off, 0x1000u * (i + 1));
    }
    for (int i = 0; i < 6; ++i) b.u64(e1 + k.io + 8 * i, 0x100000000ull + i);
    // entry 2: the last one, three threads
    std::size_t e2 = e1 + len1 + 32;
    writeProcess(b, e2, 0, 4, {8, 12, 16});
    b.u32(e0, static_cast<std::uint32_t>(e1 - e0));
    b.u32(e1, static_cast<std::uint32_t>(e2 - e1));

    const auto list = ParseSystemProcesses(w(), b.data(), b.size(), base());
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].ProcessId, 0u);
    EXPECT_TRUE(list[0].ImageName.empty());
    ASSERT_EQ(list[0].Threads.size(), 1u);

    const TProcessBlock& p = list[1];
    EXPECT_EQ(p.ProcessId, 1234u);
    EXPECT_EQ(p.ParentProcessId, 1235u);
    EXPECT_EQ(p.ThreadCount, 2u);
    EXPECT_EQ(p.HandleCount, 1244u);
    EXPECT_EQ(p.SessionId, 1u);
    EXPECT_EQ(p.BasePriority, 8);
    EXPECT_EQ(p.CreateTime, 2234);
    EXPECT_EQ(p.UserTime, 3234);
    EXPECT_EQ(p.KernelTime, 4234);
    EXPECT_EQ(p.ImageName, u"helper.exe");
    EXPECT_EQ(p.VMCounters.PeakVirtualSize, 0x1000u);
    EXPECT_EQ(p.VMCounters.VirtualSize, 0x2000u);
    EXPECT_EQ(p.VMCounters.PageFaultCount, 77u);
    EXPECT_EQ(p.VMCounters.PeakWorkingSetSize, 0x4000u);
    EXPECT_EQ(p.VMCounters.WorkingSetSize, 0x5000u);
    EXPECT_EQ(p.VMCounters.QuotaNonPagedPoolUsage, 0x9000u);
    EXPECT_EQ(p.VMCounters.PeakPagefileUsage, 0xB000u);
    EXPECT_EQ(p.IOCounters.ReadOperationCount, 0x100000000ull);
    EXPECT_EQ(p.IOCounters.OtherTransferCount, 0x100000005ull);
    ASSERT_EQ(p.Threads.size(), 2u);
    const TThreadBlock& t = p.Threads[1];
    EXPECT_EQ(t.KernelTime, 12);
    EXPECT_EQ(t.UserTime, 23);
    EXPECT_EQ(t.CreateTime, 34);
    EXPECT_EQ(t.WaitTime, 44u);
    EXPECT_EQ(t.StartAddress, bigPtr(0x401001));
    EXPECT_EQ(t.ProcessId, 1234u);
    EXPECT_EQ(t.ThreadId, 104u);
    EXPECT_EQ(t.Priority, 9);
    EXPECT_EQ(t.BasePriority, 8);
    EXPECT_EQ(t.ContextSwitches, 501u);
    EXPECT_EQ(t.ThreadState, 5u);
    EXPECT_EQ(t.WaitReason, 6u);

    ASSERT_EQ(list[2].Threads.size(), 3u);
    EXPECT_EQ(list[2].ProcessId, 4u);
    EXPECT_EQ(list[2].Threads[2].ThreadId, 16u);
}

TEST_P(NtLayouts, LastEntryEndsTheWalkWhateverFollows) {
    TBuf b(w(), 2048);
    writeProcess(b, 0, 0, 8, {12});
    writeProcess(b, 1024, 0, 9, {13});  // never reached: entry 0 says it is the last
    const auto list = ParseSystemProcesses(w(), b.data(), b.size(), base());
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].ProcessId, 8u);
    ASSERT_EQ(list[0].Threads.size(), 1u);
    EXPECT_EQ(list[0].Threads[0].ThreadId, 12u);
}

TEST_P(NtLayouts, NextOffsetOutsideTheBufferEndsTheWalk) {
    TBuf b(w(), 1024);
    writeProcess(b, 0, 0x7FFFFFF0, 8, {12});
    auto list = ParseSystemProcesses(w(), b.data(), b.size(), base());
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].Threads.size(), 1u);

    // the next entry starts inside the buffer but its header does not fit
    TBuf c(w(), 1024);
    writeProcess(c, 0, static_cast<std::uint32_t>(1024 - o().proc / 2), 8, {12});
    list = ParseSystemProcesses(w(), c.data(), c.size(), base());
    EXPECT_EQ(list.size(), 1u);

    // a next offset smaller than a header cannot start an entry
    TBuf d(w(), 1024);
    writeProcess(d, 0, 8, 8, {});
    list = ParseSystemProcesses(w(), d.data(), d.size(), base());
    EXPECT_EQ(list.size(), 1u);
}

TEST_P(NtLayouts, EmptyAndShortBuffers) {
    EXPECT_TRUE(ParseSystemProcesses(w(), nullptr, 0, 0).empty());
    TBuf b(w(), o().proc - 1);
    EXPECT_TRUE(ParseSystemProcesses(w(), b.data(), 0, base()).empty());
    EXPECT_TRUE(ParseSystemProcesses(w(), b.data(), b.size(), base()).empty());
}

TEST_P(NtLayouts, TruncatedThreadArrayKeepsTheWholeBlocks) {
    const TOffsets& k = o();
    // five threads announced, room for two and a half
    TBuf full(w(), k.proc + 5 * k.thr);
    writeProcess(full, 0, 0, 77, {1, 2, 3, 4, 5});
    const std::size_t cut = k.proc + 2 * k.thr + k.thr / 2;
    auto list = ParseSystemProcesses(w(), full.data(), cut, base());
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].ThreadCount, 5u);
    ASSERT_EQ(list[0].Threads.size(), 2u);
    EXPECT_EQ(list[0].Threads[1].ThreadId, 2u);

    // three threads announced but the next entry begins after the first
    TBuf b(w(), 2048);
    writeProcess(b, 0, 0, 77, {1, 2, 3});
    const std::size_t next = k.proc + k.thr;
    writeProcess(b, next, 0, 78, {9});
    b.u32(0, static_cast<std::uint32_t>(next));
    list = ParseSystemProcesses(w(), b.data(), b.size(), base());
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].Threads.size(), 1u);
    EXPECT_EQ(list[1].ProcessId, 78u);
    ASSERT_EQ(list[1].Threads.size(), 1u);
    EXPECT_EQ(list[1].Threads[0].ThreadId, 9u);
}

TEST_P(NtLayouts, ImageNameLengthOddOversizedOrOutside) {
    const TOffsets& k = o();
    TBuf b(w(), 1024);
    writeProcess(b, 0, 0, 5, {});
    writeName(b, 0, 600, u"abcd");
    b.u16(k.nameLen, 7);  // an odd byte count drops the half character
    EXPECT_EQ(ParseSystemProcesses(w(), b.data(), b.size(), base())[0].ImageName, u"abc");

    b.u16(k.nameLen, 0xFFFE);  // runs past the end of the buffer
    EXPECT_TRUE(ParseSystemProcesses(w(), b.data(), b.size(), base())[0].ImageName.empty());

    b.u16(k.nameLen, 8);
    b.ptr(k.nameBuf, base() + 1024 - 4);  // starts inside, ends outside
    EXPECT_TRUE(ParseSystemProcesses(w(), b.data(), b.size(), base())[0].ImageName.empty());

    b.ptr(k.nameBuf, base() - 2);  // before the buffer
    EXPECT_TRUE(ParseSystemProcesses(w(), b.data(), b.size(), base())[0].ImageName.empty());

    b.ptr(k.nameBuf, base() + 0x100000);  // far beyond it
    EXPECT_TRUE(ParseSystemProcesses(w(), b.data(), b.size(), base())[0].ImageName.empty());

    b.ptr(k.nameBuf, base() + 1024 - 8);  // exactly the last bytes
    b.text16(1024 - 8, u"wxyz");
    EXPECT_EQ(ParseSystemProcesses(w(), b.data(), b.size(), base())[0].ImageName, u"wxyz");
}

TEST(NtLayoutsNative, ProcessNamesAtTheBuffersOwnAddress) {
    const TOffsets& k = NativeWidth == TWidth::Bits64 ? k64 : k32;
    TBuf b(NativeWidth, 1024);
    b.u32(k.pid, 321);  // the 32-bit half of a pointer-width field is enough here
    b.u16(k.nameLen, 6);
    b.ptr(k.nameBuf, AddressOf(b.data()) + 700);
    b.text16(700, u"abc");
    const auto list = ParseSystemProcesses(b.data(), b.size());
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].ProcessId, 321u);
    EXPECT_EQ(list[0].ImageName, u"abc");
}

// ---- kernel modules ----------------------------------------------------

TEST_P(NtLayouts, KernelModules) {
    const TOffsets& k = o();
    TBuf b(w(), k.modHeader + 3 * k.modEntry);
    b.u32(0, 3);
    const std::string paths[] = {"\\SystemRoot\\system32\\ntoskrnl.exe", "\\??\\C:\\drv\\x.sys", std::string(256, 'p')};
    for (std::uint32_t i = 0; i < 3; ++i) {
        const std::size_t e = k.modHeader + i * k.modEntry;
        b.ptr(e, 0);
        b.ptr(e + k.modMapped, bigPtr(0x10000 * (i + 1)));
        b.ptr(e + k.modImage, bigPtr(0x80000000u + i));
        b.u32(e + k.modSize, 0x2000 + i);
        b.u32(e + k.modFlags, 0x8804000 + i);
        b.u16(e + k.modLoadOrder, static_cast<std::uint16_t>(i));
        b.u16(e + k.modLoadOrder + 2, static_cast<std::uint16_t>(10 + i));
        b.u16(e + k.modLoadCount, static_cast<std::uint16_t>(20 + i));
        b.u16(e + k.modNameOff, 21);
        b.text8(e + k.modPath, paths[i]);
    }
    const auto list = ParseKernelModules(w(), b.data(), b.size());
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].FullPath, paths[0]);
    EXPECT_EQ(list[0].FullPath.substr(list[0].FileNameOffset), "ntoskrnl.exe");
    EXPECT_EQ(list[1].MappedBase, bigPtr(0x20000));
    EXPECT_EQ(list[1].ImageBase, bigPtr(0x80000001u));
    EXPECT_EQ(list[1].ImageSize, 0x2001u);
    EXPECT_EQ(list[1].Flags, 0x8804001u);
    EXPECT_EQ(list[1].LoadOrderIndex, 1u);
    EXPECT_EQ(list[1].InitOrderIndex, 11u);
    EXPECT_EQ(list[1].LoadCount, 21u);
    EXPECT_EQ(list[2].FullPath.size(), 256u);  // no terminator: the field's 256 bytes
}

TEST_P(NtLayouts, KernelModuleCountBeyondTheBuffer) {
    const TOffsets& k = o();
    TBuf b(w(), k.modHeader + 2 * k.modEntry + k.modEntry / 2);
    b.u32(0, 1000000);
    b.u16(k.modHeader + k.modEntry + k.modLoadCount, 42);
    auto list = ParseKernelModules(w(), b.data(), b.size());
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1].LoadCount, 42u);
    EXPECT_TRUE(ParseKernelModules(w(), b.data(), 0).empty());
    EXPECT_TRUE(ParseKernelModules(w(), b.data(), 3).empty());
    b.u32(0, 0);
    EXPECT_TRUE(ParseKernelModules(w(), b.data(), b.size()).empty());
}

// ---- handle tables -----------------------------------------------------

TEST_P(NtLayouts, HandleTable) {
    const TOffsets& k = o();
    TBuf b(w(), k.hHeader + 2 * k.hEntry);
    b.u32(0, 2);
    for (std::uint32_t i = 0; i < 2; ++i) {
        const std::size_t e = k.hHeader + i * k.hEntry;
        b.u32(e, 0x10000 + i);  // identifiers above 16 bits survive
        b.u8(e + 4, static_cast<std::uint8_t>(26 + i));
        b.u8(e + 5, static_cast<std::uint8_t>(i));
        b.u16(e + 6, static_cast<std::uint16_t>(0xFFFC - 4 * i));
        b.ptr(e + k.hObject, bigPtr(0x8100000u + i));
        b.u32(e + k.hAccess, 0x1F0003);
    }
    const auto list = ParseHandleTable(w(), b.data(), b.size());
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].ProcessId, 0x10000u);
    EXPECT_EQ(list[0].ObjectTypeIndex, 26u);
    EXPECT_EQ(list[0].HandleAttributes, 0u);
    EXPECT_EQ(list[0].HandleValue, 0xFFFCu);
    EXPECT_EQ(list[1].ObjectTypeIndex, 27u);
    EXPECT_EQ(list[1].HandleAttributes, 1u);
    EXPECT_EQ(list[1].HandleValue, 0xFFF8u);
    EXPECT_EQ(list[1].Object, bigPtr(0x8100001u));
    EXPECT_EQ(list[1].GrantedAccess, 0x1F0003u);
}

TEST_P(NtLayouts, HandleTableCountBeyondTheBuffer) {
    const TOffsets& k = o();
    TBuf b(w(), k.hHeader + 3 * k.hEntry - 1);
    b.u32(0, 0xFFFFFFFF);
    EXPECT_EQ(ParseHandleTable(w(), b.data(), b.size()).size(), 2u);
    EXPECT_TRUE(ParseHandleTable(w(), b.data(), 0).empty());
    EXPECT_TRUE(ParseHandleTable(w(), nullptr, 0).empty());
}

TEST_P(NtLayouts, ExtendedHandleTable) {
    const TOffsets& k = o();
    TBuf b(w(), k.xHeader + 2 * k.xEntry);
    b.ptr(0, 2);
    for (std::uint32_t i = 0; i < 2; ++i) {
        const std::size_t e = k.xHeader + i * k.xEntry;
        b.ptr(e, bigPtr(0x9000000u + i));
        b.ptr(e + k.xPid, 0x12345 + i);
        b.ptr(e + k.xHandle, 0x123454 + 4 * i);
        b.u32(e + k.xAccess, 0x100000 + i);
        b.u16(e + k.xType, static_cast<std::uint16_t>(0x1234 + i));
        b.u32(e + k.xAttr, 2);
    }
    const auto list = ParseExtendedHandleTable(w(), b.data(), b.size());
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1].Object, bigPtr(0x9000001u));
    EXPECT_EQ(list[1].ProcessId, 0x12346u);
    EXPECT_EQ(list[1].HandleValue, 0x123458u);
    EXPECT_EQ(list[1].GrantedAccess, 0x100001u);
    EXPECT_EQ(list[1].ObjectTypeIndex, 0x1235u);
    EXPECT_EQ(list[1].HandleAttributes, 2u);

    TBuf c(w(), k.xHeader + k.xEntry + 4);
    c.ptr(0, is64() ? 0x100000000ull : 0xFFFFFFFFull);  // a count no buffer can hold
    EXPECT_EQ(ParseExtendedHandleTable(w(), c.data(), c.size()).size(), 1u);
    EXPECT_TRUE(ParseExtendedHandleTable(w(), c.data(), k.xHeader - 1).empty());
}

// ---- fixed blocks ------------------------------------------------------

TEST_P(NtLayouts, ProcessAndThreadBasicInformation) {
    const std::size_t p = o().ptr;
    TBuf b(w(), 6 * p);
    b.u32(0, 0x103);
    b.ptr(p, bigPtr(0x7FFDE000));
    b.ptr(2 * p, 3);
    b.u32(3 * p, 8);
    b.ptr(4 * p, 4242);
    b.ptr(5 * p, 4);
    const auto pbi = ParseProcessBasicInfo(w(), b.data(), b.size());
    ASSERT_TRUE(pbi);
    EXPECT_EQ(pbi->ExitStatus, 0x103u);
    EXPECT_EQ(pbi->PebBaseAddress, bigPtr(0x7FFDE000));
    EXPECT_EQ(pbi->AffinityMask, 3u);
    EXPECT_EQ(pbi->BasePriority, 8);
    EXPECT_EQ(pbi->ProcessId, 4242u);
    EXPECT_EQ(pbi->ParentProcessId, 4u);
    EXPECT_FALSE(ParseProcessBasicInfo(w(), b.data(), b.size() - 1));
    if (!is64()) {
        EXPECT_EQ(b.size(), 24u);  // identifier at offset 16 of 24 bytes
    }

    TBuf t(w(), is64() ? 48 : 28);
    t.ptr(p, bigPtr(0x7FFDF000));
    t.ptr(2 * p, 4242);
    t.ptr(3 * p, 4300);
    t.ptr(4 * p, 1);
    t.u32(5 * p, 10);
    t.u32(5 * p + 4, 8);
    const auto tbi = ParseThreadBasicInfo(w(), t.data(), t.size());
    ASSERT_TRUE(tbi);
    EXPECT_EQ(tbi->TebBaseAddress, bigPtr(0x7FFDF000));
    EXPECT_EQ(tbi->ProcessId, 4242u);
    EXPECT_EQ(tbi->ThreadId, 4300u);
    EXPECT_EQ(tbi->Priority, 10);
    EXPECT_EQ(tbi->BasePriority, 8);
    EXPECT_FALSE(ParseThreadBasicInfo(w(), t.data(), t.size() - 1));
}

TEST_P(NtLayouts, CounterBlocks) {
    const std::size_t p = o().ptr;
    const std::size_t vmSize = is64() ? 88 : 44;
    TBuf b(w(), vmSize);
    b.ptr(0, 1);
    b.ptr(p, 2);
    b.u32(2 * p, 3);
    for (int i = 0; i < 8; ++i) b.ptr(3 * p + i * p, 4 + i);
    const auto vm = ParseVMCounters(w(), b.data(), b.size());
    ASSERT_TRUE(vm);
    EXPECT_EQ(vm->VirtualSize, 2u);
    EXPECT_EQ(vm->PageFaultCount, 3u);
    EXPECT_EQ(vm->PeakWorkingSetSize, 4u);
    EXPECT_EQ(vm->QuotaPagedPoolUsage, 7u);
    EXPECT_EQ(vm->PeakPagefileUsage, 11u);
    EXPECT_FALSE(ParseVMCounters(w(), b.data(), vmSize - 1));

    TBuf io(w(), 48);
    for (int i = 0; i < 6; ++i) io.u64(8 * i, 0xA00000000ull + i);
    const auto ioc = ParseIOCounters(io.data(), io.size());
    ASSERT_TRUE(ioc);
    EXPECT_EQ(ioc->WriteOperationCount, 0xA00000001ull);
    EXPECT_EQ(ioc->WriteTransferCount, 0xA00000004ull);
    EXPECT_FALSE(ParseIOCounters(io.data(), 47));

    TBuf times(w(), 32);
    for (int i = 0; i < 4; ++i) times.u64(8 * i, 100 + i);
    const auto kut = ParseKernelUserTimes(times.data(), times.size());
    ASSERT_TRUE(kut);
    EXPECT_EQ(kut->CreateTime, 100);
    EXPECT_EQ(kut->ExitTime, 101);
    EXPECT_EQ(kut->KernelTime, 102);
    EXPECT_EQ(kut->UserTime, 103);
    EXPECT_FALSE(ParseKernelUserTimes(times.data(), 31));
}

// The platform's structure sizes, as its SDK declares them for each width
// (the Windows build checks the same numbers against the SDK's own
// declarations). A query given any other length than these fails on the
// real system.
struct TPlatformSizes {
    std::size_t processBasic, ioCounters, vmCounters, kernelUserTimes, handleCount, threadBasic;
    std::size_t processEntry, threadEntry, countedString, moduleEntry, handleEntry, extHandleEntry;
};
constexpr TPlatformSizes kSizes32{24, 48, 44, 32, 4, 28, 184, 64, 8, 284, 16, 28};
constexpr TPlatformSizes kSizes64{48, 48, 88, 32, 4, 48, 256, 80, 16, 296, 24, 40};

TEST_P(NtLayouts, QueryLengthsAreThePlatformsStructureSizes) {
    const TPlatformSizes& k = is64() ? kSizes64 : kSizes32;
    const TLayoutSizes s = LayoutSizes(w());
    EXPECT_EQ(s.ProcessBasicInfo, k.processBasic);
    EXPECT_EQ(s.IOCounters, k.ioCounters);
    EXPECT_EQ(s.VMCounters, k.vmCounters);
    EXPECT_EQ(s.KernelUserTimes, k.kernelUserTimes);
    EXPECT_EQ(s.HandleCount, k.handleCount);
    EXPECT_EQ(s.ThreadBasicInfo, k.threadBasic);
    EXPECT_EQ(s.ProcessBlock, k.processEntry);
    EXPECT_EQ(s.ThreadBlock, k.threadEntry);
    EXPECT_EQ(s.CountedString, k.countedString);
    EXPECT_EQ(s.KernelModuleEntry, k.moduleEntry);
    EXPECT_EQ(s.HandleEntry, k.handleEntry);
    EXPECT_EQ(s.ExtHandleEntry, k.extHandleEntry);

    // the length each query class is asked with
    EXPECT_EQ(ProcessQueryLength(w(), 0), k.processBasic);
    EXPECT_EQ(ProcessQueryLength(w(), 2), k.ioCounters);
    EXPECT_EQ(ProcessQueryLength(w(), 3), k.vmCounters);
    EXPECT_EQ(ProcessQueryLength(w(), 4), k.kernelUserTimes);
    EXPECT_EQ(ProcessQueryLength(w(), 20), k.handleCount);
    EXPECT_EQ(ProcessQueryLength(w(), 26), o().ptr);
    EXPECT_EQ(ThreadQueryLength(w(), 0), k.threadBasic);
    for (std::uint32_t other : {1u, 5u, 7u, 19u, 21u, 25u, 27u}) EXPECT_EQ(ProcessQueryLength(w(), other), 0u) << other;
    EXPECT_EQ(ThreadQueryLength(w(), 1), 0u);
    EXPECT_EQ(ThreadQueryLength(w(), 9), 0u);
    for (std::size_t length : {k.processBasic, k.ioCounters, k.vmCounters, k.kernelUserTimes, k.threadBasic})
        EXPECT_LE(length, MaxQueryLength);

    // each block is read whole from a buffer of exactly that length
    const std::vector<std::uint8_t> exact(k.threadBasic > k.processBasic ? k.threadBasic : k.processBasic);
    EXPECT_TRUE(ParseProcessBasicInfo(w(), exact.data(), k.processBasic));
    EXPECT_TRUE(ParseThreadBasicInfo(w(), exact.data(), k.threadBasic));
    EXPECT_FALSE(ParseThreadBasicInfo(w(), exact.data(), k.threadBasic - 1));
}

// ---- environment block and counted strings -----------------------------

// The loader data's address in the PEB and one load-order entry: the next
// entry, base, entry point, image size and the full path's counted string.
TEST_P(NtLayouts, LoaderDataAndItsEntries) {
    const std::size_t pebLdr = is64() ? 0x18 : 0x0C;
    TBuf peb(w(), PebReadSize(w()));
    peb.ptr(pebLdr, bigPtr(0x30000));
    const auto ldr = ParsePebLoaderData(w(), peb.data(), peb.size());
    ASSERT_TRUE(ldr);
    EXPECT_EQ(*ldr, bigPtr(0x30000));
    EXPECT_FALSE(ParsePebLoaderData(w(), peb.data(), peb.size() - 1));
    EXPECT_EQ(LoaderLayout(w()).LoadOrderHead, is64() ? 0x10u : 0x0Cu);

    struct TFields {
        std::size_t base, entry, image, name, nameBuf, size;
    };
    const TFields f = is64() ? TFields{0x30, 0x38, 0x40, 0x48, 0x50, 0x58}
                             : TFields{0x18, 0x1C, 0x20, 0x24, 0x28, 0x2C};
    TBuf e(w(), f.size);
    EXPECT_EQ(LoaderEntryReadSize(w()), f.size);
    e.ptr(0, bigPtr(0x31000));
    e.ptr(o().ptr, bigPtr(0x30010));  // the previous entry: not read
    e.ptr(f.base, bigPtr(0x400000));
    e.ptr(f.entry, bigPtr(0x401234));
    e.u32(f.image, 0x6000);
    e.u16(f.name, 38);
    e.u16(f.name + 2, 40);
    e.ptr(f.nameBuf, bigPtr(0x32000));
    const auto entry = ParseLoaderEntry(w(), e.data(), e.size());
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->Next, bigPtr(0x31000));
    EXPECT_EQ(entry->DllBase, bigPtr(0x400000));
    EXPECT_EQ(entry->EntryPoint, bigPtr(0x401234));
    EXPECT_EQ(entry->SizeOfImage, 0x6000u);
    EXPECT_EQ(entry->FullName.Length, 38u);
    EXPECT_EQ(entry->FullName.MaximumLength, 40u);
    EXPECT_EQ(entry->FullName.Buffer, bigPtr(0x32000));
    EXPECT_FALSE(ParseLoaderEntry(w(), e.data(), e.size() - 1));
}

TEST_P(NtLayouts, EnvironmentBlockAndParameters) {
    const std::size_t pebParams = is64() ? 0x20 : 0x10;
    const std::size_t imagePath = is64() ? 0x60 : 0x38;
    const std::size_t cmdLine = is64() ? 0x70 : 0x40;
    const std::size_t bufField = is64() ? 8 : 4;

    TBuf peb(w(), pebParams + o().ptr);
    peb.ptr(pebParams, bigPtr(0x20000));
    EXPECT_EQ(PebReadSize(w()), peb.size());
    const auto params = ParsePebProcessParameters(w(), peb.data(), peb.size());
    ASSERT_TRUE(params);
    EXPECT_EQ(*params, bigPtr(0x20000));
    EXPECT_FALSE(ParsePebProcessParameters(w(), peb.data(), peb.size() - 1));

    TBuf pp(w(), ParamsReadSize(w()));
    EXPECT_EQ(pp.size(), cmdLine + (is64() ? 16 : 8));  // 72 bytes on the 32-bit layout
    pp.u16(imagePath, 40);
    pp.u16(imagePath + 2, 42);
    pp.ptr(imagePath + bufField, bigPtr(0x20500));
    pp.u16(cmdLine, 60);
    pp.u16(cmdLine + 2, 62);
    pp.ptr(cmdLine + bufField, bigPtr(0x20600));
    const auto cl = ParseParamsCommandLine(w(), pp.data(), pp.size());
    ASSERT_TRUE(cl);
    EXPECT_EQ(cl->Length, 60u);
    EXPECT_EQ(cl->MaximumLength, 62u);
    EXPECT_EQ(cl->Buffer, bigPtr(0x20600));
    const auto ip = ParseParamsImagePath(w(), pp.data(), pp.size());
    ASSERT_TRUE(ip);
    EXPECT_EQ(ip->Length, 40u);
    EXPECT_EQ(ip->Buffer, bigPtr(0x20500));
    EXPECT_FALSE(ParseParamsCommandLine(w(), pp.data(), pp.size() - 1));
}

TEST_P(NtLayouts, ObjectInformationName) {
    const std::size_t header = is64() ? 16 : 8;
    TBuf b(w(), header + 64);
    const std::u16string name = u"\\BaseNamedObjects\\M";
    b.u16(0, static_cast<std::uint16_t>(name.size() * 2));
    b.u16(2, static_cast<std::uint16_t>(name.size() * 2 + 2));
    b.ptr(header / 2, base() + header);  // characters right after the header
    b.text16(header, name);
    EXPECT_EQ(ParseObjectInfoName(w(), b.data(), b.size(), base()), name);
    b.u16(0, 200);  // longer than the buffer
    EXPECT_TRUE(ParseObjectInfoName(w(), b.data(), b.size(), base()).empty());
    b.u16(0, 0);
    EXPECT_TRUE(ParseObjectInfoName(w(), b.data(), b.size(), base()).empty());
    EXPECT_TRUE(ParseObjectInfoName(w(), b.data(), header - 1, base()).empty());
}

// The object type table: each entry followed by its name, the next entry at
// the pointer width's alignment.
TEST_P(NtLayouts, ObjectTypeTable) {
    const std::size_t header = is64() ? 8 : 4, entry = is64() ? 104 : 96, typeIndex = is64() ? 90 : 82;
    const std::size_t align = is64() ? 8 : 4, bufField = is64() ? 8 : 4;
    const std::u16string names[] = {u"Type", u"Directory", u"File"};
    TBuf b(w(), 1024);
    b.u32(0, 3);
    std::size_t at = header;
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < 3; ++i) {
        starts.push_back(at);
        const std::size_t chars = at + entry;
        b.u16(at, static_cast<std::uint16_t>(names[i].size() * 2));
        b.u16(at + 2, static_cast<std::uint16_t>(names[i].size() * 2 + 2));
        b.ptr(at + bufField, base() + chars);
        b.text16(chars, names[i]);
        at = (chars + names[i].size() * 2 + 2 + align - 1) / align * align;
    }
    auto types = ParseObjectTypes(w(), b.data(), b.size(), base());
    ASSERT_EQ(types.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(types[i].Name, names[i]);
        EXPECT_EQ(types[i].TypeIndex, 0);
    }
    // Before 8.1: numbers by position from the system's first index.
    EXPECT_EQ(ObjectTypeNumbers(types, 2), (std::vector<std::uint16_t>{2, 3, 4}));
    EXPECT_EQ(ObjectTypeNumbers(types, 1), (std::vector<std::uint16_t>{1, 2, 3}));
    // One handle of a known type and number tells the first number.
    EXPECT_EQ(FirstObjectTypeNumber(types, {4, u"file"}), std::optional<std::uint16_t>(2));
    EXPECT_EQ(FirstObjectTypeNumber(types, {1, u"Directory"}), std::optional<std::uint16_t>(0));
    EXPECT_FALSE(FirstObjectTypeNumber(types, {1, u"File"}));  // would be below 0
    EXPECT_FALSE(FirstObjectTypeNumber(types, {9, u"Mutant"}));
    EXPECT_EQ(ObjectTypeNumbers(types, 2, TKnownObjectType{17, u"File"}), (std::vector<std::uint16_t>{15, 16, 17}));
    EXPECT_EQ(ObjectTypeNumbers(types, 2, TKnownObjectType{9, u"Mutant"}), (std::vector<std::uint16_t>{2, 3, 4}));
    // Filled type numbers win over positions.
    b.u8(starts[0] + typeIndex, 2);
    b.u8(starts[1] + typeIndex, 3);
    b.u8(starts[2] + typeIndex, 37);
    types = ParseObjectTypes(w(), b.data(), b.size(), base());
    ASSERT_EQ(types.size(), 3u);
    EXPECT_EQ(types[2].TypeIndex, 37);
    EXPECT_EQ(ObjectTypeNumbers(types, 2), (std::vector<std::uint16_t>{2, 3, 37}));
    EXPECT_EQ(ObjectTypeNumbers(types, 2, TKnownObjectType{37, u"File"}), (std::vector<std::uint16_t>{2, 3, 37}));
    // Filled numbers that the known handle contradicts give way to positions.
    EXPECT_EQ(ObjectTypeNumbers(types, 2, TKnownObjectType{1, u"Directory"}), (std::vector<std::uint16_t>{0, 1, 2}));

    // A count larger than the buffer holds ends at the last whole entry; a
    // cut-off name is empty.
    b.u32(0, 50);
    EXPECT_EQ(ParseObjectTypes(w(), b.data(), at, base()).size(), 3u);
    types = ParseObjectTypes(w(), b.data(), starts[2] + entry + 2, base());
    ASSERT_EQ(types.size(), 3u);
    EXPECT_TRUE(types[2].Name.empty());
    EXPECT_EQ(types[1].Name, u"Directory");
    EXPECT_TRUE(ParseObjectTypes(w(), b.data(), header - 1, base()).empty());
}

TEST(NtLayoutsText, Utf16UpToZero) {
    TBuf b(TWidth::Bits32, 12);
    b.text16(0, u"ab\u00e9");
    EXPECT_EQ(Utf16UpToZero(b.data(), b.size()), u"ab\u00e9");
    b.text16(0, u"abcdef");  // no terminator: up to the end
    EXPECT_EQ(Utf16UpToZero(b.data(), b.size()), u"abcdef");
    EXPECT_EQ(Utf16UpToZero(b.data(), 5), u"ab");  // the odd last byte is dropped
    EXPECT_TRUE(Utf16UpToZero(nullptr, 0).empty());
}

}  // namespace
