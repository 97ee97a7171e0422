// The report's items as the field tables store them: every stored field of
// each kind written and read back unchanged, with values whose high bits are
// set (so that a wrong widening or a field read from another's property
// shows), and each field under its own property name.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "engine/OXI_Processes.h"
#include "engine/pure/OXI_RecordFields.h"
#include "platform/Orvex_FileTime.h"
#include "platform/Orvex_WideText.h"
#include "storage/Orvex_SS.h"
#include "tests/FilledRecords.h"
#include "tests/wine/support/ReportFileTest.h"

using namespace orvex;
using namespace orvex::test;

namespace {

// The stored numbers of one item as the table names them.
template <typename TRecord>
void ExpectStoredUnderTheirNames(TStructuredSTorage& root, const char* item, const TRecord& r) {
    auto storage = root.OpenSubStorage(item, StorageReadMode, false);
    ASSERT_TRUE(storage) << item;
    auto set = storage->OpenPropertySet(FMTID_DocSummaryInformation, StorageReadMode, false);
    ASSERT_TRUE(set) << item;
    for (const TField<TRecord>& f : FieldsOf<TRecord>()) {
        if (!f.Property) continue;
        SCOPED_TRACE(f.Property);
        if (f.Text) {
            EXPECT_EQ(ReadStrProp(set->PropertyStorage.get(), f.Property), f.Text(r));
        } else {
            // The low 32 bits of every number are its own, whatever the widening.
            const std::int64_t stored = ReadIntProp(set->PropertyStorage.get(), f.Property);
            EXPECT_EQ(static_cast<std::uint32_t>(stored), static_cast<std::uint32_t>(f.Number(r)));
        }
    }
}

class ReportFields : public ReportFileTest {};

TEST_F(ReportFields, EveryStoredFieldReadsBackUnchanged) {
    // 32-bit fields with their top bit set; the 64-bit ones beyond 32 bits.
    const TProcessInfo p = Filled<TProcessInfo>(0x8000'0000LL);
    const TDriverInfo d = Filled<TDriverInfo>(0x7FFF'FFF0LL);
    const TServiceInfo s = Filled<TServiceInfo>(0xFFFF'FF00LL);
    TOrvex_ProcessList component;
    component.AddProcess(p);
    component.AddDriver(d);
    component.AddService(s);
    component.SaveToStorage(file.name());
    {
        auto root = OpenStorageFile(file.name(), StorageReadMode);
        ASSERT_TRUE(root);
        ExpectStoredUnderTheirNames(*root, "ProcessList\\0", p);
        ExpectStoredUnderTheirNames(*root, "DriverList\\0", d);
        ExpectStoredUnderTheirNames(*root, "ServiceList\\0", s);
    }
    TOrvex_ProcessList loaded;
    ASSERT_TRUE(loaded.LoadFromStorage(file.name()));
    TProcessInfo q;
    loaded.GetProcess(0, q);
    EXPECT_EQ(q.PID, p.PID);
    for (const TField<TProcessInfo>& f : FieldsOf<TProcessInfo>()) {
        if (!f.Property) continue;
        if (f.Text) {
            EXPECT_EQ(f.Text(q), f.Text(p)) << f.Property;
        } else {
            EXPECT_EQ(f.Number(q), f.Number(p)) << f.Property;
        }
    }
    TDriverInfo e;
    loaded.GetDriver(0, e);
    EXPECT_EQ(e, d);
    TServiceInfo t;
    loaded.GetService(0, t);
    EXPECT_EQ(t, s);
}

}  // namespace

namespace {

// A property's name as the enumeration hands it. Wine hands the name in the
// set's code page where a wide text belongs: read as 8-bit text then.
std::string NameText(const wchar_t* name) {
    for (const wchar_t* c = name; *c; ++c)
        if (*c > 0x7F) return reinterpret_cast<const char*>(name);
    return WideToAnsi(name);
}

// The named properties of a set, by id (the order they were written in).
std::vector<std::string> NamesInIdOrder(const TStoragePropertySet* set) {
    std::map<PROPID, std::string> names;
    TComPtr<IEnumSTATPROPSTG> props;
    if (!set || set->PropertyStorage->Enum(props.put()) != S_OK) return {};
    for (int guard = 0; guard < 200; ++guard) {
        STATPROPSTG stat{};
        ULONG fetched = 0;
        if (props->Next(1, &stat, &fetched) != S_OK || fetched != 1) break;
        const TCoTaskMem name(stat.lpwstrName);
        if (stat.lpwstrName) names[stat.propid] = NameText(stat.lpwstrName);
    }
    std::vector<std::string> ordered;
    for (const auto& [id, name] : names) ordered.push_back(name);
    return ordered;
}

// The same of one item.
std::vector<std::string> NamesInIdOrder(TStructuredSTorage& root, const char* item) {
    auto storage = root.OpenSubStorage(item, StorageReadMode, false);
    auto set = storage ? storage->OpenPropertySet(FMTID_DocSummaryInformation, StorageReadMode, false) : nullptr;
    return NamesInIdOrder(set.get());
}

}  // namespace

// A file's signer and hash are stored after every property of the older
// items, and only where a check gave them: a reader that knows only the
// older names finds every one of them where it was, and an item without a
// check reads back without one.
TEST_F(ReportFields, ChecksAreStoredLastAndOnlyWhereMade) {
    TProcessInfo checked = Filled<TProcessInfo>();
    checked.Signer = "Signed: Orvex Test Signer";
    checked.Sha256 = std::string(64, 'a');
    TProcessInfo unchecked = checked;
    unchecked.PID += 1;
    unchecked.Signer = "";
    unchecked.Sha256 = "";
    TDriverInfo driver = Filled<TDriverInfo>();
    driver.Signer = "Unsigned";
    driver.Sha256 = std::string(64, 'b');
    TOrvex_ProcessList component;
    component.AddProcess(checked);
    component.AddProcess(unchecked);
    component.AddDriver(driver);
    component.SaveToStorage(file.name());
    {
        auto root = OpenStorageFile(file.name(), StorageReadMode);
        ASSERT_TRUE(root);
        for (const char* item : {"ProcessList\\0", "ProcessList\\1", "DriverList\\0"}) {
            SCOPED_TRACE(item);
            const std::vector<std::string> names = NamesInIdOrder(*root, item);
            const bool withChecks = std::string(item) != "ProcessList\\1";
            ASSERT_GE(names.size(), 2u);
            const std::vector<std::string> last(names.end() - 2, names.end());
            if (withChecks)
                EXPECT_EQ(last, (std::vector<std::string>{"Signer", "SHA256"}));
            else
                EXPECT_EQ(std::count(names.begin(), names.end(), "Signer") +
                              std::count(names.begin(), names.end(), "SHA256"),
                          0);
        }
        ExpectStoredUnderTheirNames(*root, "ProcessList\\1", unchecked);
    }
    TOrvex_ProcessList loaded;
    ASSERT_TRUE(loaded.LoadFromStorage(file.name()));
    TProcessInfo q;
    loaded.GetProcess(0, q);
    EXPECT_EQ(q.Signer.str(), checked.Signer.str());
    EXPECT_EQ(q.Sha256.str(), checked.Sha256.str());
    loaded.GetProcess(1, q);
    EXPECT_EQ(q.Signer.str(), "");
    EXPECT_EQ(q.Sha256.str(), "");
    TDriverInfo e;
    loaded.GetDriver(0, e);
    EXPECT_EQ(e.Sha256.str(), driver.Sha256.str());
}

// The header keeps the moment of the save in UTC as its last property, after
// every one a reader of earlier reports knows by its name, and reads it back.
TEST_F(ReportFields, TheUtcMomentIsTheHeadersLastProperty) {
    FILETIME before{}, after{};
    GetSystemTimeAsFileTime(&before);
    TOrvex_ProcessList component;
    component.AddProcess(Filled<TProcessInfo>());
    component.SaveToStorage(file.name());
    GetSystemTimeAsFileTime(&after);
    {
        auto root = OpenStorageFile(file.name(), StorageReadMode);
        ASSERT_TRUE(root);
        auto header = root->OpenPropertySet(FMTID_SummaryInformation, StorageReadMode, false);
        std::vector<std::string> earlier;
        for (const TField<TStorageInfoRecord>& f : FieldsOf<TStorageInfoRecord>())
            if (f.Property && f.PropertyId == 0) earlier.emplace_back(f.Property);
        ASSERT_EQ(earlier.back(), "TimestampUTC");
        EXPECT_EQ(NamesInIdOrder(header.get()), earlier);
    }
    TOrvex_ProcessList loaded;
    ASSERT_TRUE(loaded.LoadFromStorage(file.name()));
    EXPECT_GE(loaded.StorageInfo.TimestampUtc, FileTimeCount(before));
    EXPECT_LE(loaded.StorageInfo.TimestampUtc, FileTimeCount(after));
}
