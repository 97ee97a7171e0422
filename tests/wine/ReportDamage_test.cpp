// Damaged and hostile report files: they never crash the reader, and a file
// that cannot be read leaves the component's inventory as it was.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "engine/OXI_Processes.h"
#include "engine/OXI_Report.h"
#include "platform/Orvex_WideText.h"
#include "storage/Orvex_SS.h"
#include "tests/FuzzSeeds.h"
#include "tests/wine/support/ReportFileTest.h"

using namespace orvex;
using namespace orvex::test;

namespace {

// A component holding known data, to see that a failed load keeps it.
class TKeptInventory {
public:
    TKeptInventory() {
        AddSamples(component, 3, 2, 1);
        component.StorageFileName = "earlier.ivs";
        component.StorageInfo.Machine = "EARLIER";
    }
    void expectUnchanged() const {
        EXPECT_EQ(component.ProcessCount(), 3);
        EXPECT_EQ(component.DriverCount(), 2);
        EXPECT_EQ(component.ServiceCount(), 1);
        TProcessInfo p;
        component.GetProcess(2, p);
        EXPECT_TRUE(SameStoredFields(p, SampleProcess(2)));
        EXPECT_EQ(component.StorageFileName, "earlier.ivs");
        EXPECT_EQ(component.StorageInfo.Machine, "EARLIER");
        EXPECT_TRUE(component.LiveData());
    }
    TOrvex_ProcessList component;
};

void Put32(std::string& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<char>(v >> (8 * i)));
}

// A property-set stream of one section with the given property table and
// value bytes (offsets from the section start).
std::string SetStream(REFFMTID fmtid, std::uint32_t count, const std::string& table, const std::string& values) {
    std::string s;
    Put32(s, 0x0000FFFE);  // byte order mark, format 0
    Put32(s, 0x00020106);
    s.append(16, '\0');
    Put32(s, 1);
    s.append(reinterpret_cast<const char*>(&fmtid), 16);
    Put32(s, 48);
    Put32(s, static_cast<std::uint32_t>(8 + table.size() + values.size()));
    Put32(s, count);
    return s + table + values;
}

// One property of id 2 whose value is Type followed by Payload.
std::string OneValueSet(REFFMTID fmtid, std::uint32_t type, const std::string& payload) {
    std::string table;
    Put32(table, 2);
    Put32(table, 16);
    std::string value;
    Put32(value, type);
    return SetStream(fmtid, 1, table, value + payload);
}

std::string Zero32() { return std::string(4, '\0'); }

// Saves a sample report and replaces the set stream of Element (a path
// below the root, or "" for the root) with Bytes.
void PlantSetStream(const std::string& fileName, const char* element, const wchar_t* stream, const std::string& bytes) {
    TOrvex_ProcessList component;
    AddSamples(component, 4, 2, 2);
    component.SaveToStorage(fileName);
    auto root = OpenStorageFile(fileName, StorageWriteMode);
    if (*element) {
        auto sub = root->OpenSubStorage(element, StorageWriteMode, false);
        WriteStream(*sub, stream, bytes);
    } else {
        WriteStream(*root, stream, bytes);
    }
}

}  // namespace

using ReportDamage = ReportFileTest;

TEST_F(ReportDamage, TruncatedReportsRaiseOrReadOnlyTrueItemsAndNeverHalfReplace) {
    {
        TOrvex_ProcessList component;
        AddSamples(component, 40, 15, 30);
        component.SaveToStorage(file.name());
    }
    const std::string whole = ReadWholeFile(file.name());
    ASSERT_GT(whole.size(), 4096u);
    std::vector<std::size_t> cuts{1, 8, 511, 512, 513, 1000};
    for (std::size_t n = 1024; n < whole.size(); n += 1024) cuts.push_back(n);
    for (std::size_t n = 1; n < 64; n += 7) cuts.push_back(whole.size() - n * 64);
    cuts.push_back(whole.size() - 1);
    int raised = 0;
    int read = 0;
    for (std::size_t cut : cuts) {
        ASSERT_TRUE(file.write(whole.substr(0, cut)));
        TKeptInventory kept;
        try {
            kept.component.LoadFromStorage(file.name());
        } catch (const TComError&) {
            ++raised;
            kept.expectUnchanged();
            continue;
        }
        ++read;
        // Whatever a load gives comes from the report, item by item.
        TOrvex_ProcessList& c = kept.component;
        EXPECT_LE(c.ProcessCount(), 40) << cut;
        for (int i = 0; i < c.ProcessCount(); ++i) {
            TProcessInfo p;
            c.GetProcess(static_cast<std::uint32_t>(i), p);
            EXPECT_TRUE(SameStoredFields(p, SampleProcess(i))) << "cut " << cut << " process " << i;
        }
        for (int i = 0; i < c.DriverCount(); ++i) {
            TDriverInfo d;
            c.GetDriver(static_cast<std::uint32_t>(i), d);
            EXPECT_EQ(d, SampleDriver(i)) << "cut " << cut << " driver " << i;
        }
        for (int i = 0; i < c.ServiceCount(); ++i) {
            TServiceInfo s;
            c.GetService(static_cast<std::uint32_t>(i), s);
            EXPECT_EQ(s, SampleService(i)) << "cut " << cut << " service " << i;
        }
    }
    std::printf("[          ] %zu cuts of a %zu-byte report: %d raised, %d read\n", cuts.size(), whole.size(), raised,
                read);
    EXPECT_GT(raised, 0);
}

TEST_F(ReportDamage, TextsOfLengthZeroAreRefusedBeforeThePlatformParsesThem) {
    // The platform's parser of Wine writes before its buffer for these.
    for (std::uint32_t type : {VT_LPWSTR, VT_LPSTR}) {
        PlantSetStream(file.name(), "ProcessList\\1", ItemSetStream,
                       OneValueSet(FMTID_DocSummaryInformation, type, Zero32()));
        TKeptInventory kept;
        EXPECT_EQ(RaisedCode([&] { kept.component.LoadFromStorage(file.name()); }), STG_E_DOCFILECORRUPT) << type;
        kept.expectUnchanged();
    }
}

TEST_F(ReportDamage, ADamagedHeaderSetFailsLoadAndSaveAlike) {
    std::string table;
    Put32(table, 2);
    Put32(table, 16);
    // A property count far beyond the section.
    PlantSetStream(file.name(), "", HeaderSetStream,
                   SetStream(FMTID_SummaryInformation, 0x10000000, table, Zero32() + Zero32()));
    TKeptInventory kept;
    EXPECT_EQ(RaisedCode([&] { kept.component.LoadFromStorage(file.name()); }), STG_E_DOCFILECORRUPT);
    kept.expectUnchanged();
    EXPECT_EQ(RaisedCode([&] { kept.component.SaveToStorage(file.name()); }), STG_E_DOCFILECORRUPT);
    TOrvex_OXIC_Component base;
    EXPECT_EQ(RaisedCode([&] { base.LoadFromStorage(file.name()); }), STG_E_DOCFILECORRUPT);
    EXPECT_TRUE(base.LiveData()) << "a failed load changes nothing";
}

TEST_F(ReportDamage, GarbageInPlaceOfAnItemSetIsRefused) {
    std::string garbage;
    for (int i = 0; i < 300; ++i) garbage.push_back(static_cast<char>((i * 37 + 11) & 0xFF));
    garbage[0] = '\xFE';
    garbage[1] = '\xFF';
    PlantSetStream(file.name(), "ServiceList\\0", ItemSetStream, garbage);
    TKeptInventory kept;
    EXPECT_EQ(RaisedCode([&] { kept.component.LoadFromStorage(file.name()); }), STG_E_DOCFILECORRUPT);
    kept.expectUnchanged();
}

TEST_F(ReportDamage, AListBeyondTheLimitIsRefusedWithoutReadingIt) {
    {
        // Items 0 and 1, then one numbered at the limit.
        TOrvex_ProcessList component;
        AddSamples(component, 2, 0, 0);
        component.SaveToStorage(file.name());
        auto root = OpenStorageFile(file.name(), StorageWriteMode);
        auto list = root->OpenSubStorage("ProcessList", StorageWriteMode, false);
        list->OpenSubStorage(std::to_string(ReportListLimit), StorageWriteMode, true);
    }
    TKeptInventory kept;
    EXPECT_EQ(RaisedCode([&] { kept.component.LoadFromStorage(file.name()); }), STG_E_DOCFILETOOLARGE);
    kept.expectUnchanged();
}

TEST_F(ReportDamage, ADenseListOfMoreItemsThanTheLimitIsRefused) {
    {
        auto root = CreateStorageFile(file.name(), STGM_CREATE | StorageWriteMode);
        auto list = root->OpenSubStorage("DriverList", StorageWriteMode, true);
        // Created middle first within each name length, so that Wine's
        // directory tree stays shallow and the file is made in seconds.
        std::vector<std::size_t> order;
        const auto halves = [&](auto&& self, std::size_t lo, std::size_t hi) -> void {
            if (lo >= hi) return;
            const std::size_t mid = lo + (hi - lo) / 2;
            order.push_back(mid);
            self(self, lo, mid);
            self(self, mid + 1, hi);
        };
        const std::size_t count = ReportListLimit + 1;
        for (std::size_t lo = 0, hi = 10; lo < count; lo = hi, hi *= 10) halves(halves, lo, std::min(hi, count));
        ASSERT_EQ(order.size(), count);
        for (std::size_t n : order) {
            TComPtr<IStorage> item;
            const std::wstring name = std::to_wstring(n);
            ASSERT_EQ(list->Storage->CreateStorage(name.c_str(), STGM_CREATE | StorageWriteMode, 0, 0, item.put()),
                      S_OK);
        }
    }
    TKeptInventory kept;
    const DWORD start = GetTickCount();
    EXPECT_EQ(RaisedCode([&] { kept.component.LoadFromStorage(file.name()); }), STG_E_DOCFILETOOLARGE);
    std::printf("[          ] %zu items refused in %lu ms\n", ReportListLimit + 1,
                static_cast<unsigned long>(GetTickCount() - start));
    kept.expectUnchanged();
}

TEST_F(ReportDamage, TheWriterRefusesAListBeyondTheLimitBeforeTheFileChanges) {
    {
        TOrvex_ProcessList small;
        AddSamples(small, 1, 1, 1);
        small.SaveToStorage(file.name());
    }
    const std::string before = ReadWholeFile(file.name());
    TOrvex_ProcessList huge;
    for (std::size_t i = 0; i <= ReportListLimit; ++i) huge.AddService(SampleService(static_cast<int>(i)));
    EXPECT_EQ(RaisedCode([&] { huge.SaveToStorage(file.name()); }), STG_E_DOCFILETOOLARGE);
    EXPECT_EQ(ReadWholeFile(file.name()), before);
}

TEST_F(ReportDamage, TextsLongerThan255CharactersAreCut) {
    const std::string longText(300, 'x');
    std::wstring wideLonger(TPathString::MaxLength + 100, L'y');
    std::wstring wideLong(300, L'z');
    {
        TOrvex_ProcessList component;
        AddSamples(component, 1, 0, 0);
        component.SaveToStorage(file.name());
        auto root = OpenStorageFile(file.name(), StorageWriteMode);
        {
            auto header = root->OpenPropertySet(FMTID_SummaryInformation, StorageWriteMode, false);
            WriteStrPropID(header->PropertyStorage.get(), 3, longText);
            WriteStrProp(header->PropertyStorage.get(), "OS.Account", longText);
        }
        auto item = root->OpenSubStorage("ProcessList\\0", StorageWriteMode, false);
        auto set = item->OpenPropertySet(FMTID_DocSummaryInformation, StorageWriteMode, false);
        ASSERT_EQ(WriteRaw(set->PropertyStorage.get(), L"Name", WideValue(wideLong)), S_OK);
        ASSERT_EQ(WriteRaw(set->PropertyStorage.get(), L"ImageName", WideValue(wideLonger)), S_OK);
    }
    TOrvex_ProcessList loaded;
    ASSERT_TRUE(loaded.LoadFromStorage(file.name()));
    TProcessInfo p;
    loaded.GetProcess(0, p);
    EXPECT_EQ(p.Name, std::string(255, 'z'));
    // A path keeps every path a program can start from, and is cut beyond.
    EXPECT_EQ(p.ImageName, std::string(TPathString::MaxLength, 'y'));
    EXPECT_EQ(loaded.StorageInfo.Machine, std::string(255, 'x'));
    EXPECT_EQ(loaded.StorageInfo.Account, std::string(255, 'x'));
}

TEST_F(ReportDamage, PropertiesOfAnotherOfTheWritersTypesReadAsEmpty) {
    {
        TOrvex_ProcessList component;
        AddSamples(component, 1, 0, 1);
        component.SaveToStorage(file.name());
        auto root = OpenStorageFile(file.name(), StorageWriteMode);
        {
            auto header = root->OpenPropertySet(FMTID_SummaryInformation, StorageWriteMode, false);
            IPropertyStorage* h = header->PropertyStorage.get();
            std::wstring one = L"1";
            ASSERT_EQ(WriteRaw(h, L"VMWare", WideValue(one)), S_OK);
            ASSERT_EQ(WriteRawId(h, 3, I8Value(42)), S_OK);
            std::wstring when = L"yesterday";
            ASSERT_EQ(WriteRawId(h, 12, WideValue(when)), S_OK);
            ASSERT_EQ(WriteRaw(h, L"OS.MajorVersion", FileTimeValue(6)), S_OK);
        }
        {
            auto item = root->OpenSubStorage("ProcessList\\0", StorageWriteMode, false);
            auto set = item->OpenPropertySet(FMTID_DocSummaryInformation, StorageWriteMode, false);
            std::wstring pid = L"1234";
            ASSERT_EQ(WriteRaw(set->PropertyStorage.get(), L"PID", WideValue(pid)), S_OK);
            ASSERT_EQ(WriteRaw(set->PropertyStorage.get(), L"Name", I8Value(5)), S_OK);
            ASSERT_EQ(WriteRaw(set->PropertyStorage.get(), L"CreateTime", FileTimeValue(7)), S_OK);
        }
        auto item = root->OpenSubStorage("ServiceList\\0", StorageWriteMode, false);
        auto set = item->OpenPropertySet(FMTID_DocSummaryInformation, StorageWriteMode, false);
        std::wstring minusOne = L"-1";
        ASSERT_EQ(WriteRaw(set->PropertyStorage.get(), L"Status", WideValue(minusOne)), S_OK);
    }
    TOrvex_ProcessList loaded;
    ASSERT_TRUE(loaded.LoadFromStorage(file.name()));
    TProcessInfo p;
    loaded.GetProcess(0, p);
    EXPECT_EQ(p.PID, 0u);
    EXPECT_EQ(p.Name, "");
    EXPECT_EQ(p.CreateTime, 0);
    EXPECT_EQ(p.ImageName, SampleProcess(0).ImageName) << "the others are read as usual";
    TServiceInfo s;
    loaded.GetService(0, s);
    EXPECT_EQ(s.Status, 0);
    EXPECT_EQ(s.Name, SampleService(0).Name);
    EXPECT_FALSE(loaded.StorageInfo.VMWare);
    EXPECT_EQ(loaded.StorageInfo.Machine, "");
    EXPECT_EQ(loaded.StorageInfo.Timestamp, 0);
    EXPECT_EQ(loaded.StorageInfo.MajorVersion, 0);
    EXPECT_FALSE(loaded.StorageInfo.Application.empty());
}

TEST_F(ReportDamage, SaveFailuresCarryThePlatformsCode) {
    TOrvex_ProcessList component;
    AddSamples(component, 1, 0, 0);
    // A path below a directory that does not exist, and a directory itself.
    char tempDir[MAX_PATH] = {};
    ASSERT_GT(GetTempPathA(MAX_PATH, tempDir), 0u);
    for (const std::string& path : {file.name() + ".missing\\report.ivs", std::string(tempDir)}) {
        const std::wstring wide = AnsiToWide(path);
        TComPtr<IStorage> direct;
        const HRESULT platform = ::StgCreateDocfile(wide.c_str(), STGM_CREATE | StorageWriteMode, 0, direct.put());
        ASSERT_TRUE(FAILED(platform)) << path;
        try {
            component.SaveToStorage(path);
            ADD_FAILURE() << "no error raised for " << path;
        } catch (const TComError& e) {
            EXPECT_EQ(e.ErrorCode(), platform) << path;
            EXPECT_EQ(std::string(e.what()), ComErrorMessage(platform));
        }
    }

    component.SaveToStorage(file.name());
    auto held = OpenStorageFile(file.name(), StorageReadMode);
    const HRESULT saving = RaisedCode([&] { component.SaveToStorage(file.name()); });
    EXPECT_TRUE(saving == STG_E_SHAREVIOLATION || saving == STG_E_LOCKVIOLATION) << std::hex << saving;
    TKeptInventory kept;
    const HRESULT loading = RaisedCode([&] { kept.component.LoadFromStorage(file.name()); });
    EXPECT_TRUE(loading == STG_E_SHAREVIOLATION || loading == STG_E_LOCKVIOLATION) << std::hex << loading;
    kept.expectUnchanged();
}

namespace {

std::uint32_t Get32(const std::string& b, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(b[at + static_cast<std::size_t>(i)]);
    return v;
}
void Set32(std::string& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<char>(v >> (8 * i));
}

// Gives the first UTF-16 text of at least 16 bytes in the one section of
// the set stream Set another type word and count over the same bytes: a
// value that lies wholly inside the set, only of a type the writer never
// writes. False when the set holds no such text.
bool Retype(std::string& set, std::uint32_t type, std::size_t elementSize) {
    if (set.size() < 48) return false;
    const std::size_t section = Get32(set, 44);
    if (section + 8 > set.size()) return false;
    const std::uint32_t count = Get32(set, section + 4);
    for (std::uint32_t i = 0; i < count && section + 16 + 8 * i <= set.size(); ++i) {
        const std::size_t at = section + Get32(set, section + 12 + 8 * i);
        if (Get32(set, section + 8 + 8 * i) < 2 || at + 8 > set.size() || Get32(set, at) != VT_LPWSTR) continue;
        const std::size_t bytes = std::size_t{Get32(set, at + 4)} * 2;
        if (bytes < 16 || at + 8 + bytes > set.size()) continue;
        Set32(set, at, type);
        Set32(set, at + 4, static_cast<std::uint32_t>(bytes / elementSize));
        return true;
    }
    return false;
}

// A type the writer never writes and the size of one of its elements (the
// count that Retype writes is the number of bytes over that size).
struct THostileType {
    std::uint32_t type;
    std::size_t elementSize;
};
// Vectors of every fixed-size element type, and the other kinds of value.
const THostileType HostileTypes[] = {
    {VT_VECTOR | VT_I1, 1},
    {VT_VECTOR | VT_UI1, 1},
    {VT_VECTOR | VT_UI2, 2},
    {VT_VECTOR | VT_I4, 4},
    {VT_VECTOR | VT_UI4, 4},
    {VT_VECTOR | VT_R8, 8},
    {VT_VECTOR | VT_I8, 8},
    {VT_VECTOR | VT_FILETIME, 8},
    {VT_VECTOR | VT_I2, 2},
    {VT_VECTOR | VT_BOOL, 2},
    {VT_VECTOR | VT_CLSID, 16},
    {VT_VECTOR | VT_VARIANT, 16},
    {VT_ARRAY | VT_I4, 4},
    {VT_BYREF | VT_I4, 4},
    {VT_BLOB, 1},
    {VT_CF, 1},
    {VT_STREAM, 2},
    {VT_STORAGE, 2},
    {VT_LPSTR, 1},
    {VT_I4, 1},
};

// The elements whose sets the tests below change: the header set and an
// item set of each list.
struct TSetElement {
    const char* element;
    const wchar_t* stream;
};
const TSetElement SetElements[] = {{"", HeaderSetStream},
                                   {"ProcessList\\1", ItemSetStream},
                                   {"DriverList\\0", ItemSetStream},
                                   {"ServiceList\\1", ItemSetStream}};

// A report of Component's samples, and Bytes written over the file.
void Overwrite(const TTempFile& file, const std::string& bytes) { ASSERT_TRUE(file.write(bytes)); }

// Replaces the set stream of Element in the report FileName by what Change
// makes of it; false when Change declines.
template <typename ChangeFn>
bool ChangeSet(const std::string& fileName, const TSetElement& where, ChangeFn change) {
    auto root = OpenStorageFile(fileName, StorageWriteMode);
    std::unique_ptr<TStructuredSTorage> sub;
    if (*where.element) sub = root->OpenSubStorage(where.element, StorageWriteMode, false);
    TStructuredSTorage& storage = sub ? *sub : *root;
    std::string bytes = ReadStream(storage, where.stream);
    if (!change(bytes)) return false;
    WriteStream(storage, where.stream, bytes);
    return true;
}

// Everything a load may replace, to compare before and after.
struct TInventorySnapshot {
    explicit TInventorySnapshot(const TOrvex_ProcessList& c)
        : handles(c.HandleCount()),
          windows(c.WindowCount()),
          threads(c.ThreadCount()),
          info(c.StorageInfo),
          fileName(c.StorageFileName),
          live(c.LiveData()) {
        for (int i = 0; i < c.ProcessCount(); ++i)
            c.GetProcess(static_cast<std::uint32_t>(i), processes.emplace_back());
        for (int i = 0; i < c.DriverCount(); ++i) c.GetDriver(static_cast<std::uint32_t>(i), drivers.emplace_back());
        for (int i = 0; i < c.ServiceCount(); ++i) c.GetService(static_cast<std::uint32_t>(i), services.emplace_back());
    }
    // Empty when Other equals this one, otherwise what differs.
    std::string differences(const TInventorySnapshot& o) const {
        std::string d;
        if (processes.size() != o.processes.size()) d += " process count";
        for (std::size_t i = 0; i < processes.size() && i < o.processes.size(); ++i)
            if (!SameStoredFields(processes[i], o.processes[i]) ||
                processes[i].Threads.size() != o.processes[i].Threads.size() ||
                processes[i].Modules.size() != o.processes[i].Modules.size())
                d += " process " + std::to_string(i);
        if (drivers != o.drivers) d += " drivers";
        if (services != o.services) d += " services";
        if (handles != o.handles || windows != o.windows || threads != o.threads) d += " handles, windows or threads";
        if (info.Machine != o.info.Machine || info.OSName != o.info.OSName || info.Account != o.info.Account ||
            info.Timestamp != o.info.Timestamp || info.BuildNumber != o.info.BuildNumber ||
            info.CSDVersion != o.info.CSDVersion || info.Rights != o.info.Rights)
            d += " header";
        if (fileName != o.fileName || live != o.live) d += " file name or live state";
        return d;
    }
    std::vector<TProcessInfo> processes;
    std::vector<TDriverInfo> drivers;
    std::vector<TServiceInfo> services;
    int handles, windows, threads;
    TStorageInfoRecord info;
    std::string fileName;
    bool live;
};

}  // namespace

TEST_F(ReportDamage, ValuesOfTypesTheWriterNeverWritesAreRefusedBeforeThePlatformSeesThem) {
    // Wine's property code corrupts its heap on such vectors, even when
    // their elements lie inside the set: loading or saving over one of these
    // files would bring the process down a little later.
    {
        TOrvex_ProcessList component;
        AddSamples(component, 3, 2, 2);
        component.SaveToStorage(file.name());
    }
    const std::string report = ReadWholeFile(file.name());
    int cases = 0;
    for (const TSetElement& where : SetElements)
        for (const THostileType& hostile : HostileTypes) {
            Overwrite(file, report);
            ASSERT_TRUE(ChangeSet(file.name(), where, [&](std::string& set) {
                return Retype(set, hostile.type, hostile.elementSize);
            })) << where.element;
            const std::string planted = ReadWholeFile(file.name());
            ++cases;
            TKeptInventory kept;
            EXPECT_EQ(RaisedCode([&] { kept.component.LoadFromStorage(file.name()); }), STG_E_DOCFILECORRUPT)
                << where.element << " type 0x" << std::hex << hostile.type;
            kept.expectUnchanged();
            // The header set is the one set a save opens of an existing file.
            if (!*where.element) {
                EXPECT_EQ(RaisedCode([&] { kept.component.SaveToStorage(file.name()); }), STG_E_DOCFILECORRUPT)
                    << "type 0x" << std::hex << hostile.type;
                EXPECT_TRUE(ReadWholeFile(file.name()) == planted) << "a refused save changes nothing";
            }
        }
    std::printf("[          ] %d planted values refused\n", cases);
}

TEST_F(ReportDamage, MutatedReportsNeverCrashAndALoadThatRaisesChangesNothing) {
    // One report, changed in a fixed set of ways: bit flips all over it,
    // header and directory fields overwritten, values retyped, the file cut
    // short. Each is loaded, in this one process, into components that hold
    // data: none may crash, and a load that raises changes nothing.
    {
        TOrvex_ProcessList component;
        AddSamples(component, 3, 2, 2);
        component.SaveToStorage(file.name());
    }
    const std::string report = ReadWholeFile(file.name());
    ASSERT_GE(report.size(), 2048u);
    orvex::test::KeepFuzzSeed("compound_file_check", reinterpret_cast<const std::uint8_t*>(report.data()),
                              report.size());
    {
        auto root = OpenStorageFile(file.name(), StorageReadMode);
        for (const TSetElement& where : SetElements) {
            auto sub = *where.element ? root->OpenSubStorage(where.element, StorageReadMode, false) : nullptr;
            const std::string set = ReadStream(sub ? *sub : *root, where.stream);
            orvex::test::KeepFuzzSeed("prop_set_check", reinterpret_cast<const std::uint8_t*>(set.data()), set.size());
        }
    }

    std::vector<std::string> mutants;
    // Bit flips at positions spread over the whole file.
    std::uint32_t lcg = 12345;
    for (int i = 0; i < 100; ++i) {
        lcg = lcg * 1103515245u + 12345u;
        std::string m = report;
        const std::size_t at = (lcg >> 8) % m.size();
        m[at] = static_cast<char>(m[at] ^ (1 << ((lcg >> 4) % 8)));
        mutants.push_back(std::move(m));
    }
    // Header fields, and the links, types, name lengths, starts and sizes
    // of the first directory entries.
    const std::uint32_t hostileWords[] = {0, 0x7FFFFFFF, 0xFFFFFFFE};
    for (std::size_t at = 24; at < 76; at += 4)
        for (std::uint32_t v : hostileWords) {
            std::string m = report;
            Set32(m, at, v);
            mutants.push_back(std::move(m));
        }
    const std::size_t directory = (std::size_t{Get32(report, 48)} + 1) * 512;
    for (std::size_t entry = 0; entry < 6 && directory + 128 * (entry + 1) <= report.size(); ++entry)
        for (std::size_t field : {64, 68, 72, 76, 116, 120})
            for (std::uint32_t v : {std::uint32_t{0}, std::uint32_t{0xFFFFFFFE}}) {
                std::string m = report;
                const std::size_t at = directory + 128 * entry + field;
                if (field == 64) {
                    // The name's byte count only.
                    m[at] = static_cast<char>(v);
                    m[at + 1] = static_cast<char>(v >> 8);
                } else {
                    Set32(m, at, v);
                }
                mutants.push_back(std::move(m));
            }
    // The file cut short.
    for (std::size_t cut = 1; cut < report.size(); cut += report.size() / 24) mutants.push_back(report.substr(0, cut));
    const std::size_t rawMutants = mutants.size();

    // Each mutant goes first into a component of samples; one that raises
    // there goes again into the refreshed component, which a raise must
    // leave as it was (one that loads would replace its inventory, and
    // refreshing it again after every such load takes too long).
    TOrvex_ProcessList live;
    live.RefreshData();
    ASSERT_GT(live.ProcessCount(), 0);
    TInventorySnapshot before(live);
    int raised = 0;
    int loaded = 0;
    int index = 0;
    const auto tryLoad = [&](const std::string& what) {
        ++index;
        TKeptInventory kept;
        try {
            kept.component.LoadFromStorage(file.name());
        } catch (const TComError&) {
            ++raised;
            kept.expectUnchanged();
            const HRESULT again = RaisedCode([&] { live.LoadFromStorage(file.name()); });
            EXPECT_NE(again, S_OK) << what << " #" << index << " raised once only";
            if (again == S_OK) {
                live.RefreshData();
                before = TInventorySnapshot(live);
                return;
            }
            const std::string changed = before.differences(TInventorySnapshot(live));
            EXPECT_TRUE(changed.empty()) << what << " #" << index << " changed" << changed;
            return;
        }
        ++loaded;
        // Whatever loaded came from the report: never more than it holds.
        TOrvex_ProcessList& c = kept.component;
        EXPECT_LE(c.ProcessCount(), 3) << what << " #" << index;
        EXPECT_LE(c.DriverCount(), 2) << what << " #" << index;
        EXPECT_LE(c.ServiceCount(), 2) << what << " #" << index;
        EXPECT_FALSE(c.LiveData());
    };
    for (const std::string& m : mutants) {
        Overwrite(file, m);
        tryLoad("raw mutant");
    }
    int retyped = 0;
    for (const TSetElement& where : SetElements)
        for (const THostileType& hostile : HostileTypes) {
            if (retyped++ % 3 != 0) continue;  // a third of them: the test above takes every one
            Overwrite(file, report);
            ASSERT_TRUE(ChangeSet(file.name(), where,
                                  [&](std::string& set) { return Retype(set, hostile.type, hostile.elementSize); }));
            tryLoad(std::string("retyped value in ") + where.element);
        }
    std::printf("[          ] %d mutants (%zu of the file's bytes): %d raised, %d loaded\n", index, rawMutants, raised,
                loaded);
    EXPECT_GT(raised, index / 4);
    EXPECT_GT(loaded, 0);
}
