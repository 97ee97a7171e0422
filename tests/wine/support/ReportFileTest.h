// Fixture and element helpers of the report file tests.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <set>
#include <string>

#include "platform/Orvex_WideText.h"
#include "storage/Orvex_SS.h"
#include "tests/wine/support/ReportSamples.h"
#include "tests/wine/support/TempFile.h"

namespace orvex::test {

class ReportFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(file.valid()); }
    TComInit com;
    TTempFile file;
};

// Changes the header (the summary-information set) of the report fileName.
inline void PatchHeader(const std::string& fileName, const std::function<void(IPropertyStorage*)>& change) {
    TComInit com;
    auto root = OpenStorageFile(fileName, StorageWriteMode);
    ASSERT_TRUE(root) << fileName;
    auto header = root->OpenPropertySet(FMTID_SummaryInformation, StorageWriteMode, false);
    ASSERT_TRUE(header);
    change(header->PropertyStorage.get());
}

// The names of Storage's elements.
inline std::set<std::string> ElementNames(TStructuredSTorage& storage) {
    std::set<std::string> names;
    TComPtr<IEnumSTATSTG> elements;
    if (FAILED(storage.Storage->EnumElements(0, nullptr, 0, elements.put())) || !elements) return names;
    STATSTG stat{};
    ULONG got = 0;
    while (elements->Next(1, &stat, &got) == S_OK && got == 1) {
        const TCoTaskMem name(stat.pwcsName);
        names.insert(WideToAnsi(stat.pwcsName));
    }
    return names;
}

inline void DestroyElement(TStructuredSTorage& storage, const char* name) {
    const std::wstring wide = AnsiToWide(name);
    ASSERT_EQ(storage.Storage->DestroyElement(wide.c_str()), S_OK) << name;
}

// The bytes of the stream Name of Storage; empty when it cannot be read.
inline std::string ReadStream(TStructuredSTorage& storage, const wchar_t* name) {
    TComPtr<IStream> stream;
    if (FAILED(storage.Storage->OpenStream(name, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, stream.put())))
        return {};
    std::string bytes;
    char buffer[4096];
    ULONG got = 0;
    while (SUCCEEDED(stream->Read(buffer, sizeof buffer, &got)) && got > 0) bytes.append(buffer, got);
    return bytes;
}

// Creates or replaces the stream Name of Storage with Bytes.
inline void WriteStream(TStructuredSTorage& storage, const wchar_t* name, const std::string& bytes) {
    TComPtr<IStream> stream;
    ASSERT_EQ(storage.Storage->CreateStream(name, STGM_CREATE | StorageWriteMode, 0, 0, stream.put()), S_OK);
    ULONG written = 0;
    ASSERT_EQ(stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written), S_OK);
    ASSERT_EQ(written, bytes.size());
}

inline const wchar_t* const ItemSetStream = L"\005DocumentSummaryInformation";
inline const wchar_t* const HeaderSetStream = L"\005SummaryInformation";

}  // namespace orvex::test
