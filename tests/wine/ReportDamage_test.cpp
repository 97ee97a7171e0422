// Damaged and hostile report files: they never crash the reader, and a file
// that cannot be read leaves the component's inventory as it was.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/OXI_Processes.h"
#include "engine/OXI_Report.h"
#include "platform/Orvex_WideText.h"
#include "storage/Orvex_SS.h"
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
        PlantSetStream(file.name(), "ProcessList\\1", ItemSetStream, OneValueSet(FMTID_DocSummaryInformation, type, Zero32()));
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
    PlantSetStream(file.name(), "", HeaderSetStream, SetStream(FMTID_SummaryInformation, 0x10000000, table, Zero32() + Zero32()));
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
            ASSERT_EQ(list->Storage->CreateStorage(name.c_str(), STGM_CREATE | StorageWriteMode, 0, 0, item.put()), S_OK);
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
    std::string ansiLong(400, 'y');
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
        ASSERT_EQ(WriteRaw(set->PropertyStorage.get(), L"ImageName", AnsiValue(ansiLong)), S_OK);
    }
    TOrvex_ProcessList loaded;
    ASSERT_TRUE(loaded.LoadFromStorage(file.name()));
    TProcessInfo p;
    loaded.GetProcess(0, p);
    EXPECT_EQ(p.Name, std::string(255, 'z'));
    EXPECT_EQ(p.ImageName, std::string(255, 'y'));
    EXPECT_EQ(loaded.StorageInfo.Machine, std::string(255, 'x'));
    EXPECT_EQ(loaded.StorageInfo.Account, std::string(255, 'x'));
}

TEST_F(ReportDamage, PropertiesOfOtherTypesReadAsEmpty) {
    {
        TOrvex_ProcessList component;
        AddSamples(component, 1, 0, 1);
        component.SaveToStorage(file.name());
        auto root = OpenStorageFile(file.name(), StorageWriteMode);
        {
            auto header = root->OpenPropertySet(FMTID_SummaryInformation, StorageWriteMode, false);
            IPropertyStorage* h = header->PropertyStorage.get();
            ASSERT_EQ(WriteRaw(h, L"VMWare", I4Value(1)), S_OK);
            ASSERT_EQ(WriteRawId(h, 3, I8Value(42)), S_OK);
            std::wstring when = L"yesterday";
            ASSERT_EQ(WriteRawId(h, 12, WideValue(when)), S_OK);
            ASSERT_EQ(WriteRaw(h, L"OS.MajorVersion", I4Value(6)), S_OK);
        }
        {
            auto item = root->OpenSubStorage("ProcessList\\0", StorageWriteMode, false);
            auto set = item->OpenPropertySet(FMTID_DocSummaryInformation, StorageWriteMode, false);
            std::wstring pid = L"1234";
            ASSERT_EQ(WriteRaw(set->PropertyStorage.get(), L"PID", WideValue(pid)), S_OK);
            ASSERT_EQ(WriteRaw(set->PropertyStorage.get(), L"Name", I8Value(5)), S_OK);
            ASSERT_EQ(WriteRaw(set->PropertyStorage.get(), L"CreateTime", I4Value(7)), S_OK);
        }
        auto item = root->OpenSubStorage("ServiceList\\0", StorageWriteMode, false);
        auto set = item->OpenPropertySet(FMTID_DocSummaryInformation, StorageWriteMode, false);
        ASSERT_EQ(WriteRaw(set->PropertyStorage.get(), L"Status", I4Value(-1)), S_OK);
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
        const HRESULT platform = StgCreateDocfile(wide.c_str(), STGM_CREATE | StorageWriteMode, 0, direct.put());
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
