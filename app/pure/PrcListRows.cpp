#include "app/pure/PrcListRows.h"

#include <unordered_map>

#include "platform/pure/Orvex_Datetime.h"
#include "platform/pure/Orvex_NameTables.h"

namespace orvex {

namespace {

std::string Counted(const char* word, std::uint64_t count) {
    return std::string(" ") + word + " (" + FormatUDec(count) + ") ";
}

}  // namespace

std::string ModulesCaption(std::size_t count) { return Counted("Modules", count); }
std::string ThreadsCaption(std::uint32_t count) { return Counted("Threads", count); }
std::string ChildProcsCaption(std::size_t count) { return Counted("Child Procs", count); }
std::string HandlesCaption(std::size_t count) { return Counted("Handles", count); }
std::string WindowsCaption(std::size_t count) { return Counted("Windows", count); }

TListRows ModuleRows(const TModuleList& modules) {
    TListRows rows;
    rows.reserve(modules.size());
    for (const TModuleInfo& m : modules)
        rows.push_back(
            {m.Name, FormatUDec(m.Size), FormatHex0x(m.Base), FormatHex0x(m.EntryPoint), m.ImageName, m.Signer});
    return rows;
}

std::array<int, ThreadColumnCount> ThreadColumnWidths(bool nt) {
    std::array<int, ThreadColumnCount> widths{};
    for (std::size_t i = 0; i < ThreadColumnCount; ++i) widths[i] = ThreadColumns[i].Width;
    if (!nt) widths = {80, 0, widths[2], widths[3], 0, 0, 0, 0};
    return widths;
}

std::string ThreadStateText(std::uint32_t threadState, std::uint32_t waitReason) {
    std::string text = ThreadStateName(threadState);
    if (threadState == ThreadStateWait) text += ":" + WaitReasonName(waitReason);
    return text;
}

TListRows ThreadRows(const TThreadList& threads, bool nt) {
    TListRows rows;
    rows.reserve(threads.size());
    for (const TThreadInfo& t : threads)
        rows.push_back({FormatPrefixedId(t.TID, nt), "0x" + FormatPointer(t.StartAddress), FormatDec(t.BasePriority),
                        FormatDec(t.Priority), ThreadStateText(t.ThreadState, t.WaitReason),
                        FormatUDec(t.ContextSwitches), FormatCpuTime(t.KernelTime), FormatCpuTime(t.UserTime)});
    return rows;
}

TListRows ChildProcessRows(const TProcList& processes, std::uint32_t pid, bool nt) {
    TListRows rows;
    for (const TProcessInfo& p : processes)
        if (p.ParentPID == pid) rows.push_back({FormatProcessId(p.PID, nt), p.Name});
    return rows;
}

std::string GroupCaption(const TTokenGroupInfo& group) {
    if (group.Name.empty()) return group.SID;
    if (!group.Domain.empty()) return group.Domain.str() + "\\" + group.Name.str();
    return group.Name;
}

TPropertyRows SecurityRows(const TTokenGroupList& groups, const TPrivilegeList& privileges) {
    constexpr std::uint32_t PrivilegeEnabled = 0x2;
    TPropertyRows rows;
    rows.push_back({TRowStyle::Heading, "Groups", {}});
    for (const TTokenGroupInfo& g : groups) rows.push_back(PlainRow(GroupCaption(g), FormatHex0x(g.Attributes)));
    rows.push_back(SeparatorRow());
    rows.push_back({TRowStyle::Heading, "Privileges", {}});
    for (const TPrivilegeInfo& p : privileges)
        rows.push_back(CheckBoxRow(p.Name, (p.Attributes & PrivilegeEnabled) != 0));
    return rows;
}

TListRows HandleRows(const THandleList& handles, std::uint32_t pid) {
    TListRows rows;
    for (const THandleInfo& h : handles)
        if (h.ProcessID == pid)
            rows.push_back({FormatHex0x(h.Handle), h.TypeName, FormatHex0x(h.GrantedAccess), h.Name});
    return rows;
}

std::string WindowNodeText(const TWindowInfo& w) {
    return "(" + FormatHex0x(w.Handle) + ") \"" + w.Text.str() + "\": " + w.ClassName.str();
}

std::vector<TWindowNode> WindowTreeNodes(const TWindowList& windows, std::uint32_t pid) {
    std::vector<TWindowNode> nodes;
    std::unordered_map<std::uintptr_t, int> firstNode;  // window handle -> its first node
    for (const TWindowInfo& w : windows) {
        if (w.ProcessID != pid) continue;
        int parent = -1;
        if (auto it = firstNode.find(w.ParentWindow); it != firstNode.end()) parent = it->second;
        const int index = static_cast<int>(nodes.size());
        nodes.push_back({w.Handle, parent, WindowNodeText(w), w.Visible ? 1 : 0});
        firstNode.emplace(w.Handle, index);
    }
    return nodes;
}

}  // namespace orvex
