// Process and thread records from a process entry of the system-process
// list, built by hand in the 32-bit and in the 64-bit layout.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/pure/OXI_NativeRecords.h"

using namespace orvex;
using nt::TWidth;

namespace {

void Put(std::vector<std::uint8_t>& b, std::size_t off, std::uint64_t v, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) b.at(off + i) = static_cast<std::uint8_t>(v >> (8 * i));
}

struct TLayout {
    std::size_t ptr, header, thread;
    std::size_t basePri, pid, ppid, handles, vm, io;
    std::size_t tStart, tPid, tTid, tPrio, tBase, tSwitches, tState, tWait;
};
const TLayout L32{4, 184, 64, 64, 68, 72, 76, 88, 136, 28, 32, 36, 40, 44, 48, 52, 56};
const TLayout L64{8, 256, 80, 72, 80, 88, 96, 112, 208, 32, 40, 48, 56, 60, 64, 68, 72};

// One process entry (the last of its chain) with two threads.
std::vector<std::uint8_t> Entry(TWidth w) {
    const TLayout& k = w == TWidth::Bits64 ? L64 : L32;
    std::vector<std::uint8_t> b(k.header + 2 * k.thread, 0);
    Put(b, 4, 2, 4);                       // number of threads
    Put(b, 32, 0x01D0000000000001ull, 8);  // creation time
    Put(b, 40, 222, 8);                    // user time
    Put(b, 48, 333, 8);                    // kernel time
    Put(b, k.basePri, 13, 4);
    Put(b, k.pid, 0x1234, k.ptr);
    Put(b, k.ppid, 0x0FF0, k.ptr);
    Put(b, k.handles, 77, 4);
    // memory counters: each pointer-width value n * 0x1000, the fault count 3
    Put(b, k.vm, 0x1000, k.ptr);
    Put(b, k.vm + k.ptr, 0x2000, k.ptr);
    Put(b, k.vm + 2 * k.ptr, 3, 4);
    for (std::size_t i = 0; i < 8; ++i) Put(b, k.vm + 3 * k.ptr + i * k.ptr, (4 + i) * 0x1000, k.ptr);
    for (std::size_t i = 0; i < 6; ++i) Put(b, k.io + 8 * i, 100 + i, 8);
    for (std::size_t i = 0; i < 2; ++i) {
        const std::size_t t = k.header + i * k.thread;
        Put(b, t, 10 + i, 8);
        Put(b, t + 8, 20 + i, 8);
        Put(b, t + 16, 30 + i, 8);
        Put(b, t + 24, 40 + i, 4);
        Put(b, t + k.tStart, 0x77001000 + i, k.ptr);
        Put(b, t + k.tPid, 0x1234, k.ptr);
        Put(b, t + k.tTid, 0x2000 + i, k.ptr);
        Put(b, t + k.tPrio, 10 + i, 4);
        Put(b, t + k.tBase, 8, 4);
        Put(b, t + k.tSwitches, 900 + i, 4);
        Put(b, t + k.tState, 5, 4);
        Put(b, t + k.tWait, 6 + i, 4);
    }
    return b;
}

class NativeRecords : public ::testing::TestWithParam<TWidth> {};
INSTANTIATE_TEST_SUITE_P(BothWidths, NativeRecords, ::testing::Values(TWidth::Bits32, TWidth::Bits64),
                         [](const auto& info) { return info.param == TWidth::Bits64 ? "W64" : "W32"; });

}  // namespace

TEST_P(NativeRecords, ProcessFieldsFromTheEntry) {
    const auto buf = Entry(GetParam());
    const auto blocks = nt::ParseSystemProcesses(GetParam(), buf.data(), buf.size(), 0);
    ASSERT_EQ(blocks.size(), 1u);
    TProcessInfo p;
    p.Name = "kept";
    FillFromProcessBlock(blocks[0], p);
    EXPECT_EQ(p.PID, 0x1234u);
    EXPECT_EQ(p.ParentPID, 0x0FF0u);
    EXPECT_EQ(p.Priority, 13);
    EXPECT_EQ(p.ThreadCount, 2u);
    EXPECT_EQ(p.HandleCount, 77u);
    EXPECT_EQ(p.CreateTime, 0x01D0000000000001ll);
    EXPECT_EQ(p.UserTime, 222);
    EXPECT_EQ(p.KernelTime, 333);
    EXPECT_EQ(p.Name, "kept");
    EXPECT_TRUE(p.Threads.empty());

    EXPECT_EQ(p.VMCounters.PeakVirtualSize, 0x1000u);
    EXPECT_EQ(p.VMCounters.VirtualSize, 0x2000u);
    EXPECT_EQ(p.VMCounters.PageFaultCount, 3u);
    EXPECT_EQ(p.VMCounters.PeakWorkingSetSize, 0x4000u);
    EXPECT_EQ(p.VMCounters.WorkingSetSize, 0x5000u);
    EXPECT_EQ(p.VMCounters.QuotaPeakPagedPoolUsage, 0x6000u);
    EXPECT_EQ(p.VMCounters.QuotaPagedPoolUsage, 0x7000u);
    EXPECT_EQ(p.VMCounters.QuotaPeakNonPagedPoolUsage, 0x8000u);
    EXPECT_EQ(p.VMCounters.QuotaNonPagedPoolUsage, 0x9000u);
    EXPECT_EQ(p.VMCounters.PagefileUsage, 0xA000u);
    EXPECT_EQ(p.VMCounters.PeakPagefileUsage, 0xB000u);

    EXPECT_EQ(p.IOCounters.ReadOperationCount, 100u);
    EXPECT_EQ(p.IOCounters.WriteOperationCount, 101u);
    EXPECT_EQ(p.IOCounters.OtherOperationCount, 102u);
    EXPECT_EQ(p.IOCounters.ReadTransferCount, 103u);
    EXPECT_EQ(p.IOCounters.WriteTransferCount, 104u);
    EXPECT_EQ(p.IOCounters.OtherTransferCount, 105u);
}

TEST_P(NativeRecords, ThreadsFromTheEntryInOrder) {
    const auto buf = Entry(GetParam());
    const auto blocks = nt::ParseSystemProcesses(GetParam(), buf.data(), buf.size(), 0);
    ASSERT_EQ(blocks.size(), 1u);
    const TThreadList threads = ThreadsFromBlock(blocks[0]);
    ASSERT_EQ(threads.size(), 2u);
    for (std::uint32_t i = 0; i < 2; ++i) {
        const TThreadInfo& t = threads[i];
        EXPECT_EQ(t.KernelTime, 10 + i);
        EXPECT_EQ(t.UserTime, 20 + i);
        EXPECT_EQ(t.CreateTime, 30 + i);
        EXPECT_EQ(t.WaitTime, 40 + i);
        EXPECT_EQ(t.StartAddress, 0x77001000u + i);
        EXPECT_EQ(t.OwnerPID, 0x1234u);
        EXPECT_EQ(t.TID, 0x2000u + i);
        EXPECT_EQ(t.Priority, static_cast<std::int32_t>(10 + i));
        EXPECT_EQ(t.BasePriority, 8);
        EXPECT_EQ(t.ContextSwitches, 900 + i);
        EXPECT_EQ(t.ThreadState, 5u);
        EXPECT_EQ(t.WaitReason, 6 + i);
    }
}

TEST_P(NativeRecords, EntryCutShortGivesOnlyTheThreadsInside) {
    auto buf = Entry(GetParam());
    buf.resize(buf.size() - 1);  // the second thread no longer fits
    const auto blocks = nt::ParseSystemProcesses(GetParam(), buf.data(), buf.size(), 0);
    ASSERT_EQ(blocks.size(), 1u);
    TProcessInfo p;
    FillFromProcessBlock(blocks[0], p);
    EXPECT_EQ(p.ThreadCount, 2u);  // as the entry says
    const TThreadList threads = ThreadsFromBlock(blocks[0]);
    ASSERT_EQ(threads.size(), 1u);
    EXPECT_EQ(threads[0].TID, 0x2000u);
}
