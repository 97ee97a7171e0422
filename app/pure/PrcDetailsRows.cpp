#include "app/pure/PrcDetailsRows.h"

#include <limits>

#include "platform/pure/Orvex_Datetime.h"

namespace orvex {

namespace {

// Sum of two non-negative durations, held at the largest count instead of
// overflowing.
std::int64_t AddDurations(std::int64_t a, std::int64_t b) noexcept {
    if (a < 0) a = 0;
    if (b < 0) b = 0;
    const std::int64_t max = std::numeric_limits<std::int64_t>::max();
    return a > max - b ? max : a + b;
}

TPropertyRow CounterRow(std::string caption, std::string current, std::string peak = "-") {
    return {TRowStyle::Plain, std::move(caption), {std::move(current), std::move(peak)}};
}

TPropertyRow CounterHeading(std::string caption) { return {TRowStyle::Heading, std::move(caption), {}}; }

}  // namespace

TPropertyRows ProcessGeneralRows(const TProcessInfo& p, const TVersionInfo& version, const std::string& commandLine,
                                 bool nt) {
    TPropertyRows rows;
    AddVersionRows(rows, version);
    rows.push_back(HeadingRow("PID", FormatProcessId(p.PID, nt)));
    rows.push_back(PlainRow("Parent PID", FormatProcessId(p.ParentPID, nt)));
    rows.push_back(PlainRow("Image name", p.ImageName));
    rows.push_back(PlainRow("Command line", commandLine));
    rows.push_back(SeparatorRow());
    if (nt) rows.push_back(HeadingRow("User Name", p.UserName));
    TPropertyRow priority = PlainRow("Priority", FormatDec(p.Priority));
    if (nt) priority.Style = TRowStyle::Heading;
    rows.push_back(std::move(priority));
    rows.push_back(PlainRow("Thread Count", FormatUDec(p.ThreadCount)));
    if (nt)
        rows.push_back(PlainRow("Handle Count", FormatUDec(p.HandleCount)));
    else
        rows.push_back(PlainRow("Process Usage", FormatUDec(p.Usage)));
    AddImageCheckRows(rows, p.Signer, p.Sha256);
    return rows;
}

TPropertyRows ProcessCounterRows(const TProcessInfo& p) {
    const TIOCounters& io = p.IOCounters;
    const TVMCounters& vm = p.VMCounters;
    return {
        CounterHeading("CPU Times"),
        CounterRow("Kernel Time", FormatCpuTime(p.KernelTime)),
        CounterRow("User Time", FormatCpuTime(p.UserTime)),
        CounterRow("Total Time", FormatCpuTime(AddDurations(p.KernelTime, p.UserTime))),
        SeparatorRow(),
        CounterHeading("I/O Counters"),
        CounterRow("Read Operation Count", FormatUDec(io.ReadOperationCount)),
        CounterRow("Write Operation Count", FormatUDec(io.WriteOperationCount)),
        CounterRow("Other Operation Count", FormatUDec(io.OtherOperationCount)),
        CounterRow("Read Transfer Count", FormatUDec(io.ReadTransferCount)),
        CounterRow("Write Transfer Count", FormatUDec(io.WriteTransferCount)),
        CounterRow("Other Transfer Count", FormatUDec(io.OtherTransferCount)),
        SeparatorRow(),
        CounterHeading("Virtual Memory Counters"),
        CounterRow("Page Fault Count", FormatUDec(vm.PageFaultCount)),
        CounterRow("Virtual Size", FormatByteCount(vm.VirtualSize), FormatByteCount(vm.PeakVirtualSize)),
        CounterRow("Working Set Size", FormatByteCount(vm.WorkingSetSize), FormatByteCount(vm.PeakWorkingSetSize)),
        CounterRow("Quota Peak Paged Pool Usage", FormatByteCount(vm.QuotaPagedPoolUsage),
                   FormatByteCount(vm.QuotaPeakPagedPoolUsage)),
        CounterRow("Quota Peak Non Paged Pool Usage", FormatByteCount(vm.QuotaNonPagedPoolUsage),
                   FormatByteCount(vm.QuotaPeakNonPagedPoolUsage)),
        CounterRow("Pagefile Usage", FormatByteCount(vm.PagefileUsage), FormatByteCount(vm.PeakPagefileUsage)),
    };
}

TPropertyRows StoredCounterRows(const TProcessInfo& process) {
    TPropertyRows rows = ProcessCounterRows(process);
    // Everything after the processor times' separator is a counter.
    bool counters = false;
    for (TPropertyRow& row : rows) {
        if (row.Style == TRowStyle::Separator) counters = true;
        if (counters)
            for (std::string& value : row.Values) value.clear();
    }
    return rows;
}

}  // namespace orvex
