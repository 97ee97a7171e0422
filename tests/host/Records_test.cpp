#include <gtest/gtest.h>

#include <string>
#include <type_traits>

#include "engine/pure/OXI_Records.h"

using namespace orvex;

namespace {

const std::string kLong = std::string(255, 'a') + "TAIL";
const std::string kCut = std::string(255, 'a');

}  // namespace

TEST(RecordsText, EveryNameCutsAt255) {
    TProcessInfo p;
    p.Name = kLong;
    p.UserName = std::string_view(kLong);
    EXPECT_EQ(p.Name.str(), kCut);
    EXPECT_EQ(p.UserName.str(), kCut);

    TModuleInfo m;
    m.Name = kLong;
    EXPECT_EQ(m.Name.size(), 255u);

    TServiceInfo s;
    for (TShortString* f : {&s.DependOnService, &s.DisplayName, &s.Name, &s.ObjectName, &s.Group, &s.Description}) {
        *f = kLong;
        EXPECT_EQ(f->str(), kCut);
    }

    THandleInfo h;
    h.TypeName = kLong;
    EXPECT_EQ(h.TypeName.str(), kCut);

    TWindowInfo w;
    w.ClassName = kLong;
    w.Text = kLong;
    EXPECT_EQ(w.ClassName.str(), kCut);
    EXPECT_EQ(w.Text.str(), kCut);

    TPrivilegeInfo pr;
    pr.Name = kLong;
    pr.DisplayName = kLong;
    EXPECT_EQ(pr.Name.str(), kCut);
    EXPECT_EQ(pr.DisplayName.str(), kCut);

    TTokenGroupInfo g;
    g.SID = kLong;
    g.Domain = kLong;
    g.Name = kLong;
    EXPECT_EQ(g.SID.str(), kCut);
    EXPECT_EQ(g.Domain.str(), kCut);
    EXPECT_EQ(g.Name.str(), kCut);
}

// A cut path is a wrong path: path fields keep every path a program can be
// started from (259 characters of up to 3 bytes each) and cut only beyond.
TEST(RecordsText, PathsKeepEveryStartablePath) {
    const std::string longest(3 * 259, 'p');
    const std::string longer = longest + "TAIL";
    TProcessInfo p;
    TModuleInfo m;
    TDriverInfo d;
    TServiceInfo s;
    THandleInfo h;
    for (TPathString* f : {&p.ImageName, &m.ImageName, &d.Name, &s.ImageName, &h.Name}) {
        *f = kLong;
        EXPECT_EQ(f->str(), kLong);
        *f = longer.c_str();
        EXPECT_EQ(f->str(), longest);
    }
}

TEST(RecordsText, ShortAndExactLengthsStayWhole) {
    TProcessInfo p;
    p.Name = std::string(255, 'x');
    EXPECT_EQ(p.Name.size(), 255u);
    p.Name = "calc.exe";
    EXPECT_EQ(p.Name, "calc.exe");
    p.Name = static_cast<const char*>(nullptr);
    EXPECT_TRUE(p.Name.empty());
}

TEST(RecordsDefaults, RecordsStartZeroFilled) {
    const TProcessInfo p;
    EXPECT_EQ(p.PID, 0u);
    EXPECT_TRUE(p.Name.empty());
    EXPECT_EQ(p.CreateTime, 0);
    EXPECT_EQ(p.HeapID, 0u);
    EXPECT_EQ(p.VMCounters, TVMCounters{});
    EXPECT_EQ(p.IOCounters, TIOCounters{});
    EXPECT_TRUE(p.Threads.empty() && p.Modules.empty() && p.Privileges.empty() && p.Groups.empty());

    const TThreadInfo t;
    EXPECT_EQ(t.KernelTime, 0);
    EXPECT_EQ(t.StartAddress, 0u);
    EXPECT_EQ(t.ThreadState, 0u);
    EXPECT_EQ(t.WaitReason, 0u);

    const TServiceInfo s;
    EXPECT_EQ(s.Status, 0);
    EXPECT_TRUE(s.DependOnService.empty());

    const TWindowInfo w;
    EXPECT_FALSE(w.Visible);
    EXPECT_EQ(w.Rect, TRect{});
    EXPECT_TRUE(w.StyleNames.empty());
}

// Address-like fields follow the pointer width of the build.
static_assert(sizeof(TThreadInfo{}.StartAddress) == sizeof(void*));
static_assert(sizeof(TModuleInfo{}.Base) == sizeof(void*));
static_assert(sizeof(TModuleInfo{}.EntryPoint) == sizeof(void*));
static_assert(sizeof(TDriverInfo{}.Base) == sizeof(void*));
static_assert(sizeof(THandleInfo{}.ObjectAddress) == sizeof(void*));
static_assert(sizeof(TWindowInfo{}.Handle) == sizeof(void*));
static_assert(sizeof(TWindowInfo{}.WndProc) == sizeof(void*));
static_assert(sizeof(TWindowInfo{}.Icon) == sizeof(void*));
static_assert(sizeof(TVMCounters{}.WorkingSetSize) == sizeof(void*));
static_assert(sizeof(TDriverInfo{}.Size) == 8);
static_assert(sizeof(TIOCounters) == 48);
static_assert(std::is_copy_constructible_v<TProcessInfo> && std::is_copy_assignable_v<TWindowInfo>);

TEST(RecordsCopy, ProcessCopyIsIndependent) {
    TProcessInfo a;
    a.PID = 42;
    a.Name = "one.exe";
    a.Threads.push_back(TThreadInfo{});
    a.Threads[0].TID = 7;
    a.Modules.push_back(TModuleInfo{});
    a.Modules[0].Name = "one.dll";
    a.Privileges.push_back(TPrivilegeInfo{"SeDebugPrivilege", "Debug programs", 2});
    a.Groups.push_back(TTokenGroupInfo{"S-1-1-0", "", "Everyone", 7});

    TProcessInfo b = a;
    b.Name = "two.exe";
    b.Threads[0].TID = 8;
    b.Threads.push_back(TThreadInfo{});
    b.Modules[0].Name = "two.dll";
    b.Privileges[0].Attributes = 0;
    b.Groups.clear();

    EXPECT_EQ(a.Name, "one.exe");
    ASSERT_EQ(a.Threads.size(), 1u);
    EXPECT_EQ(a.Threads[0].TID, 7u);
    EXPECT_EQ(a.Modules[0].Name, "one.dll");
    EXPECT_EQ(a.Privileges[0].Attributes, 2u);
    EXPECT_EQ(a.Groups.size(), 1u);
    EXPECT_EQ(b.Threads.size(), 2u);
}

TEST(RecordsCopy, WindowCopyOwnsItsNameLists) {
    TWindowList list(1);
    list[0].Handle = 0x1234;
    list[0].StyleNames = {"WS_BORDER", "WS_VISIBLE"};
    list[0].ExStyleNames = {"WS_EX_LEFT"};
    list[0].ClassStyleNames = {"CS_DBLCLKS"};

    TWindowInfo copy = list[0];
    EXPECT_EQ(copy, list[0]);
    list.clear();  // a refresh empties the list; the copy keeps its names
    ASSERT_EQ(copy.StyleNames.size(), 2u);
    EXPECT_EQ(copy.StyleNames[1], "WS_VISIBLE");
    EXPECT_EQ(copy.ExStyleNames[0], "WS_EX_LEFT");
    EXPECT_EQ(copy.ClassStyleNames[0], "CS_DBLCLKS");

    TWindowInfo other = copy;
    other.StyleNames.push_back("WS_CHILD");
    EXPECT_EQ(copy.StyleNames.size(), 2u);
    EXPECT_NE(other, copy);
}

TEST(DetectionRange, OrdinalsAndBits) {
    EXPECT_EQ(static_cast<int>(dtProcesses), 0);
    EXPECT_EQ(static_cast<int>(dtServices), 1);
    EXPECT_EQ(static_cast<int>(dtDrivers), 2);
    EXPECT_EQ(static_cast<int>(dtHandles), 3);
    EXPECT_EQ(static_cast<int>(dtWindows), 4);
    EXPECT_EQ((TDetectionRange{dtProcesses, dtDrivers}).bits(), 0x05);
    EXPECT_EQ((TDetectionRange{dtWindows}).bits(), 0x10);
    EXPECT_EQ(TDetectionRange::All().bits(), 0x1F);
    EXPECT_EQ(TDetectionRange().bits(), 0);
}

TEST(DetectionRange, InsertEraseContains) {
    TDetectionRange r{dtProcesses, dtServices};
    EXPECT_TRUE(r.contains(dtProcesses));
    EXPECT_TRUE(r.contains(dtServices));
    EXPECT_FALSE(r.contains(dtHandles));
    r.insert(dtHandles).insert(dtHandles);
    EXPECT_TRUE(r.contains(dtHandles));
    EXPECT_EQ(r.bits(), 0x0B);
    r.erase(dtProcesses);
    EXPECT_FALSE(r.contains(dtProcesses));
    r.erase(dtProcesses);  // erasing an absent member changes nothing
    EXPECT_EQ(r.bits(), 0x0A);
    r.erase(dtServices).erase(dtHandles);
    EXPECT_TRUE(r.empty());
}

TEST(DetectionRange, EqualityAndStoredByte) {
    const TDetectionRange a{dtProcesses, dtDrivers, dtServices, dtWindows};
    const TDetectionRange b{dtWindows, dtServices, dtDrivers, dtProcesses, dtProcesses};
    EXPECT_EQ(a, b);
    EXPECT_NE(a, TDetectionRange::All());
    EXPECT_EQ(TDetectionRange::FromBits(a.bits()), a);
    EXPECT_EQ(TDetectionRange::FromBits(0xFF), TDetectionRange::All());  // unknown bits are dropped
    static_assert(TDetectionRange{dtHandles}.contains(dtHandles));
    static_assert(sizeof(TDetectionRange) == 1);
}
