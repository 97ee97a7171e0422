// Property sets and single typed properties against ole32 under Wine.
#include <gtest/gtest.h>

#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <string>

#include "storage/Orvex_SS.h"
#include "tests/wine/support/RaisedCode.h"
#include "tests/wine/support/TempFile.h"

using namespace orvex;
using orvex::test::TTempFile;

namespace {

using orvex::test::RaisedCode;

constexpr DWORD CreateMode = STGM_CREATE | StorageWriteMode;

std::uint64_t Ticks(const FILETIME& ft) {
    return (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

SYSTEMTIME Calendar(WORD y, WORD mo, WORD d, WORD h, WORD mi, WORD s, WORD ms) {
    SYSTEMTIME st{};
    st.wYear = y;
    st.wMonth = mo;
    st.wDay = d;
    st.wHour = h;
    st.wMinute = mi;
    st.wSecond = s;
    st.wMilliseconds = ms;
    return st;
}

// The date-time of a calendar reading as the platform encodes it (whole
// seconds), with the milliseconds added in the direction of the time of day.
TDateTime PlatformDateTime(const SYSTEMTIME& st) {
    SYSTEMTIME whole = st;
    whole.wMilliseconds = 0;
    double v = 0;
    EXPECT_TRUE(SystemTimeToVariantTime(&whole, &v));
    const double ms = st.wMilliseconds / 86'400'000.0;
    return v < 0 ? v - ms : v + ms;
}

// The raw variant stored under Name.
HRESULT ReadRaw(IPropertyStorage* ps, const wchar_t* name, TPropVariant& var) {
    PROPSPEC spec{};
    spec.ulKind = PRSPEC_LPWSTR;
    spec.lpwstr = const_cast<wchar_t*>(name);
    return ps->ReadMultiple(1, &spec, var.get());
}

HRESULT ReadRawId(IPropertyStorage* ps, PROPID id, TPropVariant& var) {
    PROPSPEC spec{};
    spec.ulKind = PRSPEC_PROPID;
    spec.propid = id;
    return ps->ReadMultiple(1, &spec, var.get());
}

// The sets written here and read back after closing the file use names of
// even length only: Wine 8 pads a dictionary entry of an odd-length name by
// four bytes too many, so the names after it cannot be read back there.
class StorageSetTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(file.valid());
        root = CreateStorageFile(file.name(), CreateMode);
        set = root->OpenPropertySet(FMTID_SummaryInformation, StorageWriteMode, true);
        ASSERT_TRUE(set);
        ps = set->PropertyStorage.get();
    }
    // Closes the file and opens it again read-only with the same set.
    void Reopen() {
        ps = nullptr;
        set.reset();
        root.reset();
        root = OpenStorageFile(file.name(), StorageReadMode);
        set = root->OpenPropertySet(FMTID_SummaryInformation, StorageReadMode, false);
        ASSERT_TRUE(set);
        ps = set->PropertyStorage.get();
    }
    TComInit com;
    TTempFile file;
    std::unique_ptr<TStructuredSTorage> root;
    std::unique_ptr<TStoragePropertySet> set;
    IPropertyStorage* ps = nullptr;
};

}  // namespace

using AllModesStorageProperties = StorageSetTest;

TEST_F(AllModesStorageProperties, ValuesOfEveryKindSurviveClosingTheFile) {
    const TDateTime when = PlatformDateTime(Calendar(2024, 2, 29, 13, 45, 30, 123));
    WriteStrPropID(ps, 2, "Orvex Inventory Storage File");
    WriteDateTimePropID(ps, 12, when);
    WriteStrProp(ps, "OS.Account", "tester");
    WriteIntProp(ps, "OS.BuildNumber", 7601);
    ASSERT_NO_FATAL_FAILURE(Reopen());
    EXPECT_EQ(ReadStrPropID(ps, 2), "Orvex Inventory Storage File");
    EXPECT_DOUBLE_EQ(ReadDateTimePropID(ps, 12), when);
    EXPECT_EQ(ReadStrProp(ps, "OS.Account"), "tester");
    EXPECT_EQ(ReadIntProp(ps, "OS.BuildNumber"), 7601);
}

using StoragePropertySets = StorageSetTest;

TEST_F(StoragePropertySets, OpeningAMissingSetWithoutCreateGivesNone) {
    EXPECT_EQ(root->OpenPropertySet(FMTID_DocSummaryInformation, StorageWriteMode, false), nullptr);
    auto item = root->OpenSubStorage("0", StorageWriteMode, true);
    EXPECT_EQ(item->OpenPropertySet(FMTID_DocSummaryInformation, StorageWriteMode, false), nullptr);
}

TEST_F(StoragePropertySets, CreateMakesTheSetWhichThenOpens) {
    auto item = root->OpenSubStorage("0", StorageWriteMode, true);
    {
        auto created = item->OpenPropertySet(FMTID_DocSummaryInformation, StorageWriteMode, true);
        ASSERT_TRUE(created);
        EXPECT_EQ(created->Owner, item.get());
        WriteIntProp(created->PropertyStorage.get(), "PID", 4);
    }
    auto opened = item->OpenPropertySet(FMTID_DocSummaryInformation, StorageWriteMode, false);
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->Owner, item.get());
    EXPECT_EQ(ReadIntProp(opened->PropertyStorage.get(), "PID"), 4);
    // Create on an existing set opens it, keeping its properties.
    opened.reset();
    auto again = item->OpenPropertySet(FMTID_DocSummaryInformation, StorageWriteMode, true);
    EXPECT_EQ(ReadIntProp(again->PropertyStorage.get(), "PID"), 4);
}

TEST_F(StoragePropertySets, CreatedSetHasTheNullClassAndTheDefaultForm) {
    STATPROPSETSTG stat{};
    ASSERT_EQ(ps->Stat(&stat), S_OK);
    EXPECT_TRUE(IsEqualGUID(stat.fmtid, FMTID_SummaryInformation));
    EXPECT_TRUE(IsEqualGUID(stat.clsid, CLSID_NULL));
    EXPECT_EQ(stat.grfFlags, 0u);
}

TEST_F(StoragePropertySets, ANonBlankNameIsRecordedAsTheSetName) {
    auto named = root->CreatePropertySet("  Inventory  ", FMTID_UserDefinedProperties, CLSID_NULL, 0, CreateMode);
    PROPID id = PID_DICTIONARY;
    LPOLESTR name = nullptr;
    ASSERT_EQ(named->PropertyStorage->ReadPropertyNames(1, &id, &name), S_OK);
    const TCoTaskMem owner(name);
    EXPECT_STREQ(name, L"  Inventory  ");

    auto unnamed = root->CreatePropertySet("   ", FMTID_DocSummaryInformation, CLSID_NULL, 0, CreateMode);
    LPOLESTR none = nullptr;
    EXPECT_NE(unnamed->PropertyStorage->ReadPropertyNames(1, &id, &none), S_OK);
    const TCoTaskMem noneOwner(none);
}

TEST_F(StoragePropertySets, CreatingASetThatIsStillOpenRaises) {
    // The set created in SetUp is still open: a second exclusive create fails.
    const HRESULT code = RaisedCode(
        [&] { root->CreatePropertySet("", FMTID_SummaryInformation, CLSID_NULL, 0, StorageWriteMode); });
    EXPECT_TRUE(FAILED(code)) << std::hex << code;
}

using StorageProperties = StorageSetTest;

TEST_F(StorageProperties, TextsAreStoredAsUtf16OfTheAnsiCodePage) {
    const std::string text =
        "Gr\xFC\xDF"
        "e \xE9t\xE9";  // in code page 1252: "Grüße été"
    WriteStrProp(ps, "Description", text);
    TPropVariant raw;
    ASSERT_EQ(ReadRaw(ps, L"Description", raw), S_OK);
    ASSERT_EQ(raw->vt, VT_LPWSTR);
    wchar_t expected[32] = {};
    ASSERT_GT(MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, expected, 32), 0);
    EXPECT_STREQ(raw->pwszVal, expected);
    if (GetACP() == 1252) {
        EXPECT_STREQ(raw->pwszVal, L"Gr\u00FC\u00DFe \u00E9t\u00E9");
    }
    EXPECT_EQ(ReadStrProp(ps, "Description"), text);
}

TEST_F(StorageProperties, IntegersKeepAll64Bits) {
    WriteIntProp(ps, "Status", -1);
    WriteIntProp(ps, "Size", INT64_MAX);
    WriteIntProp(ps, "Lowest", INT64_MIN);
    WriteIntProp(ps, "Zero", 0);
    ASSERT_NO_FATAL_FAILURE(Reopen());
    EXPECT_EQ(ReadIntProp(ps, "Status"), -1);
    EXPECT_EQ(ReadIntProp(ps, "Size"), INT64_MAX);
    EXPECT_EQ(ReadIntProp(ps, "Lowest"), INT64_MIN);
    EXPECT_EQ(ReadIntProp(ps, "Zero"), 0);
    TPropVariant raw;
    ASSERT_EQ(ReadRaw(ps, L"Status", raw), S_OK);
    EXPECT_EQ(raw->vt, VT_I8);
}

TEST_F(StorageProperties, NamesAreFoundInAnyLetterCaseAndGetIdsFromTwoOn) {
    WriteStrProp(ps, "Name", "first");
    WriteIntProp(ps, "PID", 8);
    EXPECT_EQ(ReadStrProp(ps, "NAME"), "first");
    EXPECT_EQ(ReadIntProp(ps, "pid"), 8);
    TComPtr<IEnumSTATPROPSTG> props;
    ASSERT_EQ(ps->Enum(props.put()), S_OK);
    int named = 0;
    for (int guard = 0; guard < 100; ++guard) {
        STATPROPSTG stat{};
        ULONG fetched = 0;
        if (props->Next(1, &stat, &fetched) != S_OK || fetched != 1) break;
        const TCoTaskMem name(stat.lpwstrName);
        if (stat.lpwstrName) {
            ++named;
            EXPECT_GE(stat.propid, 2u) << "named property " << stat.propid;
        }
    }
    EXPECT_EQ(named, 2);
}

TEST_F(StorageProperties, WritingANameAgainReplacesItsValue) {
    WriteStrProp(ps, "Name", "first");
    WriteStrProp(ps, "Name", "second");
    WriteStrPropID(ps, 3, "machine one");
    WriteStrPropID(ps, 3, "machine two");
    ASSERT_NO_FATAL_FAILURE(Reopen());
    EXPECT_EQ(ReadStrProp(ps, "Name"), "second");
    EXPECT_EQ(ReadStrPropID(ps, 3), "machine two");
}

TEST_F(StorageProperties, EmptyTextIsStoredAndReadBack) {
    WriteStrProp(ps, "Group", "");
    TPropVariant raw;
    ASSERT_EQ(ReadRaw(ps, L"Group", raw), S_OK);
    ASSERT_EQ(raw->vt, VT_LPWSTR);
    EXPECT_STREQ(raw->pwszVal, L"");
    EXPECT_EQ(ReadStrProp(ps, "Group"), "");
}

TEST_F(StorageProperties, MissingPropertiesReadAsEmptyValues) {
    WriteStrProp(ps, "Present", "x");
    EXPECT_EQ(ReadStrProp(ps, "Absent"), "");
    EXPECT_EQ(ReadIntProp(ps, "Absent"), 0);
    EXPECT_EQ(ReadStrPropID(ps, 77), "");
    EXPECT_EQ(ReadDateTimePropID(ps, 77), 0.0);
    EXPECT_EQ(ReadStrProp(ps, ""), "");
    EXPECT_EQ(ReadIntProp(nullptr, "Present"), 0);
    EXPECT_EQ(ReadStrProp(nullptr, "Present"), "");
    EXPECT_EQ(ReadStrPropID(nullptr, 2), "");
    EXPECT_EQ(ReadDateTimePropID(nullptr, 12), 0.0);
}

TEST_F(StorageProperties, APropertyOfAnotherTypeReadsAsTheEmptyValue) {
    WriteIntProp(ps, "Number", 42);
    WriteStrProp(ps, "Text", "42");
    WriteStrPropID(ps, 12, "not a time");
    WriteDateTimePropID(ps, 13, 45000.5);
    EXPECT_EQ(ReadStrProp(ps, "Number"), "");
    EXPECT_EQ(ReadIntProp(ps, "Text"), 0);
    EXPECT_EQ(ReadDateTimePropID(ps, 12), 0.0);
    EXPECT_EQ(ReadStrPropID(ps, 13), "");
    // A 32-bit integer from another writer is not the 64-bit kind either.
    PROPSPEC spec{};
    spec.ulKind = PRSPEC_LPWSTR;
    wchar_t name[] = L"Short";
    spec.lpwstr = name;
    PROPVARIANT var;
    PropVariantInit(&var);
    var.vt = VT_I4;
    var.lVal = 7;
    ASSERT_EQ(ps->WriteMultiple(1, &spec, &var, 2), S_OK);
    EXPECT_EQ(ReadIntProp(ps, "Short"), 0);
}

TEST_F(StorageProperties, DateTimeIsTheCalendarReadingAsAFileTime) {
    for (const SYSTEMTIME& st : {Calendar(2024, 2, 29, 13, 45, 30, 123), Calendar(1899, 12, 30, 0, 0, 0, 0),
                                 Calendar(1850, 6, 15, 6, 30, 0, 1), Calendar(1601, 1, 1, 0, 0, 0, 0),
                                 Calendar(9999, 12, 31, 23, 59, 59, 999)}) {
        FILETIME expected{};
        ASSERT_TRUE(SystemTimeToFileTime(&st, &expected));
        const TDateTime value = PlatformDateTime(st);
        EXPECT_EQ(Ticks(DateTimeToFileTime(value)), Ticks(expected)) << st.wYear;
        WriteDateTimePropID(ps, 12, value);
        TPropVariant raw;
        ASSERT_EQ(ReadRawId(ps, 12, raw), S_OK);
        ASSERT_EQ(raw->vt, VT_FILETIME);
        EXPECT_EQ(Ticks(raw->filetime), Ticks(expected)) << st.wYear;
        EXPECT_DOUBLE_EQ(ReadDateTimePropID(ps, 12), value) << st.wYear;
        EXPECT_DOUBLE_EQ(FileTimeToDateTime(expected), value) << st.wYear;
    }
}

TEST_F(StorageProperties, DateTimeRoundTripsToTheMillisecond) {
    for (WORD ms : {0, 1, 499, 500, 999}) {
        const TDateTime value = PlatformDateTime(Calendar(2031, 7, 4, 23, 59, 59, ms));
        WriteDateTimePropID(ps, 12, value);
        const TDateTime back = ReadDateTimePropID(ps, 12);
        EXPECT_NEAR(back, value, 0.1 / 86'400'000.0) << ms;
        SYSTEMTIME st{};
        FILETIME ft = DateTimeToFileTime(back);
        ASSERT_TRUE(FileTimeToSystemTime(&ft, &st));
        EXPECT_EQ(st.wMilliseconds, ms);
        EXPECT_EQ(st.wSecond, 59);
    }
}

TEST_F(StorageProperties, FailedWritesRaiseWithTheirCode) {
    EXPECT_EQ(RaisedCode([] { WriteStrProp(nullptr, "Name", "x"); }), E_POINTER);
    EXPECT_EQ(RaisedCode([] { WriteIntProp(nullptr, "PID", 1); }), E_POINTER);
    EXPECT_EQ(RaisedCode([&] { WriteStrProp(ps, "", "x"); }), STG_E_INVALIDPARAMETER);
    EXPECT_EQ(RaisedCode([&] { WriteIntProp(ps, "", 1); }), STG_E_INVALIDPARAMETER);
    // Ids 0 and 1 are the set's dictionary and code page.
    EXPECT_TRUE(FAILED(RaisedCode([&] { WriteStrPropID(ps, PID_DICTIONARY, "x"); })));
    EXPECT_TRUE(FAILED(RaisedCode([&] { WriteStrPropID(ps, PID_CODEPAGE, "x"); })));
    // A date-time that no file time can hold is not written.
    EXPECT_EQ(RaisedCode([&] { WriteDateTimePropID(ps, 12, -200000.0); }), E_INVALIDARG);
    EXPECT_EQ(ReadDateTimePropID(ps, 12), 0.0);
    EXPECT_EQ(Ticks(DateTimeToFileTime(-200000.0)), 0u);
}

TEST_F(StorageProperties, WritingToASetOpenedForReadingRaisesAccessDenied) {
    WriteStrProp(ps, "Name", "kept");
    ASSERT_NO_FATAL_FAILURE(Reopen());
    EXPECT_EQ(RaisedCode([&] { WriteStrProp(ps, "Name", "changed"); }), STG_E_ACCESSDENIED);
    EXPECT_EQ(RaisedCode([&] { WriteIntProp(ps, "PID", 1); }), STG_E_ACCESSDENIED);
    EXPECT_EQ(RaisedCode([&] { WriteDateTimePropID(ps, 12, 1.0); }), STG_E_ACCESSDENIED);
    EXPECT_EQ(ReadStrProp(ps, "Name"), "kept");
}

TEST(StorageComError, CarriesTheCodeAndTheSystemMessage) {
    const TComError e(E_INVALIDARG);
    EXPECT_EQ(e.ErrorCode(), E_INVALIDARG);
    wchar_t text[256] = {};
    ASSERT_GT(FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             static_cast<DWORD>(E_INVALIDARG), 0, text, 256, nullptr),
              0u);
    std::wstring expected(text);
    while (!expected.empty() && expected.back() <= L' ') expected.pop_back();
    char ansi[256] = {};
    WideCharToMultiByte(CP_ACP, 0, expected.c_str(), -1, ansi, 256, nullptr, nullptr);
    EXPECT_EQ(std::string(e.what()), std::string(ansi) + " (0x80070057)");
    EXPECT_EQ(ComCheck(S_FALSE), S_FALSE);
    EXPECT_EQ(RaisedCode([] { ComCheck(STG_E_FILENOTFOUND); }), STG_E_FILENOTFOUND);
}
