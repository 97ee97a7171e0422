// Compound files, sub-storages and element look-up against ole32 under Wine.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "storage/Orvex_SS.h"
#include "tests/wine/support/RaisedCode.h"
#include "tests/wine/support/TempFile.h"

using namespace orvex;
using orvex::test::TTempFile;

namespace {

using orvex::test::RaisedCode;

constexpr DWORD CreateMode = STGM_CREATE | StorageWriteMode;

class StorageTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(file.valid()); }
    TComInit com;
    TTempFile file;
};

}  // namespace

using AllModesStorage = StorageTest;

TEST_F(AllModesStorage, CreatedFileReopensWithItsSubStorage) {
    {
        auto root = CreateStorageFile(file.name(), CreateMode);
        ASSERT_TRUE(root);
        EXPECT_EQ(root->Parent, nullptr);
        auto list = root->OpenSubStorage("ProcessList", StorageWriteMode, true);
        ASSERT_TRUE(list);
        EXPECT_EQ(list->Parent, root.get());
    }
    EXPECT_TRUE(IsStorageFile(file.name()));
    auto root = OpenStorageFile(file.name(), StorageReadMode);
    EXPECT_TRUE(root->ElementExists("ProcessList"));
    EXPECT_FALSE(root->ElementExists("DriverList"));
    EXPECT_TRUE(root->OpenSubStorage("ProcessList", StorageReadMode, false));
}

using StorageFile = StorageTest;

TEST_F(StorageFile, PlainEmptyAndMissingFilesAreNoCompoundFiles) {
    EXPECT_FALSE(IsStorageFile(file.name())) << "an empty file";
    ASSERT_TRUE(file.write("just some text, not a compound file\r\n"));
    EXPECT_FALSE(IsStorageFile(file.name()));
    ASSERT_TRUE(file.remove());
    EXPECT_FALSE(IsStorageFile(file.name()));
    EXPECT_FALSE(IsStorageFile(""));
}

TEST_F(StorageFile, OpeningAMissingFileRaisesFileNotFound) {
    ASSERT_TRUE(file.remove());
    try {
        OpenStorageFile(file.name(), StorageReadMode);
        FAIL() << "no error raised";
    } catch (const TComError& e) {
        EXPECT_EQ(e.ErrorCode(), STG_E_FILENOTFOUND);
        EXPECT_EQ(std::string(e.what()), ComErrorMessage(STG_E_FILENOTFOUND));
    }
    EXPECT_FALSE(file.exists()) << "opening must not create the file";
}

// The error report's text: the result code always, and no insert sequence
// of the system's message left unfilled.
TEST_F(StorageFile, OpeningAPlainFileRaisesWithTheCodeInItsText) {
    ASSERT_TRUE(file.write("just some text, not a compound file\r\n"));
    try {
        OpenStorageFile(file.name(), StorageReadMode);
        FAIL() << "no error raised";
    } catch (const TComError& e) {
        EXPECT_TRUE(FAILED(e.ErrorCode())) << std::hex << e.ErrorCode();
        const std::string text = e.what();
        char code[16];
        std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(e.ErrorCode()));
        EXPECT_NE(text.find(code), std::string::npos) << text;
        for (std::size_t p = text.find('%'); p != std::string::npos; p = text.find('%', p + 1))
            EXPECT_FALSE(p + 1 < text.size() && text[p + 1] >= '1' && text[p + 1] <= '9') << text;
    }
    // a missing file's text too, whose system message begins with an insert
    ASSERT_TRUE(file.remove());
    try {
        OpenStorageFile(file.name(), StorageReadMode);
        FAIL() << "no error raised";
    } catch (const TComError& e) {
        const std::string text = e.what();
        EXPECT_NE(text.find("0x80030002"), std::string::npos) << text;
        EXPECT_EQ(text.find("%1"), std::string::npos) << text;
    }
}

TEST_F(StorageFile, CreatingReplacesAPlainFile) {
    ASSERT_TRUE(file.write("plain text"));
    CreateStorageFile(file.name(), CreateMode);
    EXPECT_TRUE(IsStorageFile(file.name()));
}

TEST_F(StorageFile, AnExclusivelyOpenFileCannotBeOpenedAgain) {
    auto first = CreateStorageFile(file.name(), CreateMode);
    const HRESULT code = RaisedCode([&] { OpenStorageFile(file.name(), StorageReadMode); });
    EXPECT_TRUE(code == STG_E_SHAREVIOLATION || code == STG_E_LOCKVIOLATION) << std::hex << code;
    first.reset();
    EXPECT_TRUE(OpenStorageFile(file.name(), StorageReadMode));
}

TEST(StorageWrapper, NullInterfacesRaise) {
    EXPECT_EQ(RaisedCode([] { TStructuredSTorage s(nullptr, nullptr); }), E_POINTER);
    EXPECT_EQ(RaisedCode([] { TStoragePropertySet s(nullptr, nullptr); }), E_POINTER);
}

using StorageSubStorages = StorageTest;

TEST_F(StorageSubStorages, CreateOnAnExistingNameOpensItAndKeepsItsContents) {
    auto root = CreateStorageFile(file.name(), CreateMode);
    {
        auto list = root->OpenSubStorage("List", StorageWriteMode, true);
        list->OpenSubStorage("0", StorageWriteMode, true);
        list->OpenSubStorage("1", StorageWriteMode, true);
    }
    auto again = root->OpenSubStorage("LIST", StorageWriteMode, true);
    ASSERT_TRUE(again);
    EXPECT_TRUE(again->ElementExists("0"));
    EXPECT_TRUE(again->ElementExists("1"));
}

TEST_F(StorageSubStorages, OpeningAMissingNameWithoutCreateRaisesFileNotFound) {
    auto root = CreateStorageFile(file.name(), CreateMode);
    EXPECT_EQ(RaisedCode([&] { root->OpenSubStorage("Missing", StorageWriteMode, false); }), STG_E_FILENOTFOUND);
    EXPECT_FALSE(root->ElementExists("Missing")) << "a failed open must not create";
}

TEST_F(StorageSubStorages, LeadingBackslashAndBlanksAddressTheBarePath) {
    auto root = CreateStorageFile(file.name(), CreateMode);
    {
        auto list = root->OpenSubStorage("  \\DriverList ", StorageWriteMode, true);
        ASSERT_TRUE(list);
        list->OpenSubStorage("7", StorageWriteMode, true);
    }
    auto list = root->OpenSubStorage("DriverList", StorageWriteMode, false);
    ASSERT_TRUE(list);
    EXPECT_TRUE(list->ElementExists("7"));
    EXPECT_FALSE(root->ElementExists("  \\DriverList "));
}

TEST_F(StorageSubStorages, APathOfSeveralElementsReachesEveryLevel) {
    {
        auto root = CreateStorageFile(file.name(), CreateMode);
        auto inner = root->OpenSubStorage("A\\B\\C", StorageWriteMode, true);
        ASSERT_TRUE(inner);
        ASSERT_TRUE(inner->Parent && inner->Parent->Parent);
        EXPECT_EQ(inner->Parent->Parent->Parent, root.get());
        auto set = inner->OpenPropertySet(FMTID_DocSummaryInformation, StorageWriteMode, true);
        WriteStrProp(set->PropertyStorage.get(), "Location", "deep inside");
    }
    auto root = OpenStorageFile(file.name(), StorageReadMode);
    EXPECT_TRUE(root->ElementExists("A"));
    auto b = root->OpenSubStorage("A\\B", StorageReadMode, false);
    ASSERT_TRUE(b);
    EXPECT_TRUE(b->ElementExists("C"));
    auto c = b->OpenSubStorage("C", StorageReadMode, false);
    auto set = c->OpenPropertySet(FMTID_DocSummaryInformation, StorageReadMode, false);
    ASSERT_TRUE(set);
    EXPECT_EQ(ReadStrProp(set->PropertyStorage.get(), "Location"), "deep inside");
}

TEST_F(StorageSubStorages, BlankPathGivesNoneAndAnEmptyPieceRaises) {
    auto root = CreateStorageFile(file.name(), CreateMode);
    EXPECT_EQ(root->OpenSubStorage("", StorageWriteMode, true), nullptr);
    EXPECT_EQ(root->OpenSubStorage("  \\ ", StorageWriteMode, true), nullptr);
    EXPECT_EQ(RaisedCode([&] { root->OpenSubStorage("A\\\\B", StorageWriteMode, true); }), STG_E_INVALIDNAME);
    EXPECT_EQ(RaisedCode([&] { root->OpenSubStorage("A\\", StorageWriteMode, true); }), STG_E_INVALIDNAME);
}

TEST_F(StorageSubStorages, AStorageOpenedReadOnlyCannotCreate) {
    CreateStorageFile(file.name(), CreateMode);
    auto root = OpenStorageFile(file.name(), StorageReadMode);
    const HRESULT code = RaisedCode([&] { root->OpenSubStorage("New", StorageWriteMode, true); });
    EXPECT_TRUE(FAILED(code)) << std::hex << code;
    EXPECT_FALSE(root->ElementExists("New"));
}

using StorageElements = StorageTest;

TEST_F(StorageElements, NamesMatchInAnyAsciiCaseWithOrWithoutLeadingBackslash) {
    auto root = CreateStorageFile(file.name(), CreateMode);
    root->OpenSubStorage("ProcessList", StorageWriteMode, true);
    EXPECT_TRUE(root->ElementExists("ProcessList"));
    EXPECT_TRUE(root->ElementExists("processlist"));
    EXPECT_TRUE(root->ElementExists("\\PROCESSLIST"));
    EXPECT_FALSE(root->ElementExists("Process"));
    EXPECT_FALSE(root->ElementExists("ProcessList2"));
    EXPECT_FALSE(root->ElementExists(""));
    EXPECT_FALSE(root->ElementExists("\\\\ProcessList"));
}

TEST_F(StorageElements, EveryElementIsFoundBeyondTheFirstBatchOfTen) {
    auto root = CreateStorageFile(file.name(), CreateMode);
    for (int i = 0; i < 25; ++i) root->OpenSubStorage(std::to_string(i), StorageWriteMode, true);
    {
        TComPtr<IStream> stream;
        ASSERT_EQ(root->Storage->CreateStream(L"PlainStream", CreateMode, 0, 0, stream.put()), S_OK);
    }
    for (int i = 0; i < 25; ++i) EXPECT_TRUE(root->ElementExists(std::to_string(i))) << i;
    EXPECT_TRUE(root->ElementExists("plainstream")) << "streams are elements too";
    EXPECT_FALSE(root->ElementExists("25"));
}

TEST_F(StorageElements, AnEmptyStorageHasNoElements) {
    auto root = CreateStorageFile(file.name(), CreateMode);
    EXPECT_FALSE(root->ElementExists("0"));
}

TEST_F(StorageElements, ADestroyedElementIsGone) {
    auto root = CreateStorageFile(file.name(), CreateMode);
    root->OpenSubStorage("ServiceList", StorageWriteMode, true);
    ASSERT_EQ(root->Storage->DestroyElement(L"ServiceList"), S_OK);
    EXPECT_FALSE(root->ElementExists("ServiceList"));
}
