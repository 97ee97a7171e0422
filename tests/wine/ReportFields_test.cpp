// The report's items as the field tables store them: every stored field of
// each kind written and read back unchanged, with values whose high bits are
// set (so that a wrong widening or a field read from another's property
// shows), and each field under its own property name.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "engine/OXI_Processes.h"
#include "engine/pure/OXI_RecordFields.h"
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
