#include "storage/Orvex_ReportFile.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/Orvex_Ole32.h"
#include "platform/Orvex_Resources.h"
#include "platform/Orvex_WideText.h"
#include "storage/pure/Orvex_CompoundFileCheck.h"
#include "storage/pure/Orvex_PropSetCheck.h"

namespace orvex {

namespace {

// Largest compound file the reader takes: some forty times a report of the
// most items a report list holds (ReportListLimit of the engine).
constexpr std::uint64_t MaxReportFileSize = 256ull * 1024 * 1024;

// The storage error of a file-system failure, as ole32 reports it.
HRESULT StorageError(DWORD error) {
    return error > 0 && error < 0x100 ? MAKE_HRESULT(SEVERITY_ERROR, FACILITY_STORAGE, error)
                                      : HRESULT_FROM_WIN32(error);
}

// The locked bytes of a memory block, unlocked again at the end of the scope.
class TGlobalLock {
public:
    explicit TGlobalLock(HGLOBAL memory) noexcept
        : memory_(memory), bytes_(static_cast<std::uint8_t*>(GlobalLock(memory))) {}
    ~TGlobalLock() {
        if (bytes_) GlobalUnlock(memory_);
    }
    TGlobalLock(const TGlobalLock&) = delete;
    TGlobalLock& operator=(const TGlobalLock&) = delete;
    std::uint8_t* get() const noexcept { return bytes_; }

private:
    HGLOBAL memory_;
    std::uint8_t* bytes_;
};

// The whole compound file FileName in a memory block, after it passed the
// structure check (IsSoundCompoundFile, which keeps the platform from
// following broken chains or directory links; STG_E_DOCFILECORRUPT
// otherwise).
TGlobalMem ReadCheckedCompoundFile(const std::string& fileName) {
    const THandle file(CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) RaiseComError(StorageError(GetLastError()));
    // The size in two halves: the one-call form arrived only with Windows 2000.
    DWORD high = 0;
    const DWORD low = GetFileSize(file.get(), &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) RaiseComError(StorageError(GetLastError()));
    const std::uint64_t size = (static_cast<std::uint64_t>(high) << 32) | low;
    if (size > MaxReportFileSize) RaiseComError(STG_E_DOCFILETOOLARGE);
    const std::size_t length = static_cast<std::size_t>(size);
    TGlobalMem memory(GlobalAlloc(GMEM_MOVEABLE, std::max<std::size_t>(length, 1)));
    if (!memory) RaiseComError(E_OUTOFMEMORY);
    const TGlobalLock bytes(memory.get());
    if (!bytes.get()) RaiseComError(E_OUTOFMEMORY);
    std::size_t done = 0;
    while (done < length) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(length - done, 1u << 20));
        if (!ReadFile(file.get(), bytes.get() + done, want, &got, nullptr)) RaiseComError(StorageError(GetLastError()));
        if (got == 0) RaiseComError(STG_E_DOCFILECORRUPT);  // the file shrank meanwhile
        done += got;
    }
    if (!IsSoundCompoundFile(std::span<const std::uint8_t>(bytes.get(), length))) RaiseComError(STG_E_DOCFILECORRUPT);
    return memory;
}

// Whether FileName is a compound file. A file that is missing or not a
// compound file gives false; a file that cannot be examined (held open by
// another program without sharing, access denied) raises with the code, so
// that a load does not take it for "no report" and drop the inventory.
bool IsCompoundFile(const std::string& fileName) {
    const std::wstring wide = AnsiToWide(fileName);
    if (wide.empty()) return false;
    const HRESULT answer = orvex::StgIsStorageFile(wide.c_str());
    if (answer == S_OK) return true;
    if (answer == S_FALSE || answer == STG_E_FILENOTFOUND || answer == STG_E_PATHNOTFOUND) return false;
    if (FAILED(answer)) RaiseComError(answer);
    return false;
}

bool UsableCodePage(std::uint32_t codePage) { return codePage <= 0xFFFF && IsValidCodePage(codePage) != FALSE; }

// The whole stream that holds the simple property set FMTID; false when
// Storage has no such stream. Raises on a read failure and for a stream
// beyond the size of a simple set.
bool ReadSetStream(TStructuredSTorage& storage, REFFMTID fmtid, std::vector<std::uint8_t>& bytes) {
    wchar_t name[CCH_MAX_PROPSTG_NAME + 1] = {};
    ComCheck(PropertySetStreamName(fmtid, name));
    TComPtr<IStream> stream;
    const HRESULT opened = storage.Storage->OpenStream(name, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0,
                                                       stream.put());
    if (opened == STG_E_FILENOTFOUND) return false;
    ComCheck(opened);
    if (!stream) RaiseComError(E_POINTER);
    STATSTG stat{};
    ComCheck(stream->Stat(&stat, STATFLAG_NONAME));
    if (stat.cbSize.QuadPart > MaxPropertySetStreamSize) RaiseComError(STG_E_DOCFILECORRUPT);
    bytes.assign(static_cast<std::size_t>(stat.cbSize.QuadPart), 0);
    std::size_t done = 0;
    while (done < bytes.size()) {
        ULONG got = 0;
        ComCheck(stream->Read(bytes.data() + done, static_cast<ULONG>(bytes.size() - done), &got));
        if (got == 0) RaiseComError(STG_E_DOCFILECORRUPT);  // shorter than it claims
        done += got;
    }
    return true;
}

// The existing set FMTID after its stream passed the layout check; none
// when there is no such set.
std::unique_ptr<TStoragePropertySet> OpenCheckedSet(TStructuredSTorage& storage, REFFMTID fmtid, DWORD mode) {
    std::vector<std::uint8_t> bytes;
    if (!ReadSetStream(storage, fmtid, bytes)) return nullptr;
    if (!IsSoundPropertySetStream(bytes, UsableCodePage)) RaiseComError(STG_E_DOCFILECORRUPT);
    TComPtr<IPropertySetStorage> sets;
    ComCheck(storage.Storage->QueryInterface(IID_IPropertySetStorage, reinterpret_cast<void**>(sets.put())));
    if (!sets) RaiseComError(E_NOINTERFACE);
    TComPtr<IPropertyStorage> set;
    ComCheck(sets->Open(fmtid, mode, set.put()));
    return std::make_unique<TStoragePropertySet>(set.get(), &storage);
}

std::atomic<std::uint64_t> ReportReads{0};

}  // namespace

std::uint64_t ReportReadsSoFar() noexcept { return ReportReads.load(); }

std::unique_ptr<TStructuredSTorage> OpenReportForWriting(const std::string& fileName) {
    if (IsCompoundFile(fileName)) {
        ReadCheckedCompoundFile(fileName);  // for the check alone
        return OpenStorageFile(fileName, StorageWriteMode);
    }
    return CreateStorageFile(fileName, STGM_CREATE | StorageWriteMode);
}

std::unique_ptr<TStructuredSTorage> OpenReportForReading(const std::string& fileName) {
    ++ReportReads;
    if (!IsCompoundFile(fileName)) return nullptr;
    // The storage reads the checked bytes, not the file: a change of the
    // file after the check cannot reach the platform's parser, and every
    // look-up of an element is a copy from memory rather than a read of
    // the file (Wine reads the directory entries along a path one by one).
    TGlobalMem memory = ReadCheckedCompoundFile(fileName);
    // The file is opened as a storage as well and stays open while the
    // report is read: a program that holds it without sharing still keeps
    // it from being read (STG_E_SHAREVIOLATION or STG_E_LOCKVIOLATION), and
    // no writer changes it meanwhile.
    auto file = OpenStorageFile(fileName, StorageReadMode);
    TComPtr<ILockBytes> bytes;
    ComCheck(orvex::CreateILockBytesOnHGlobal(memory.get(), TRUE, bytes.put()));
    if (!bytes) RaiseComError(E_POINTER);
    memory.release();  // freed with the last reference to the bytes
    TComPtr<IStorage> root;
    ComCheck(orvex::StgOpenStorageOnILockBytes(bytes.get(), nullptr, StorageReadMode, nullptr, 0, root.put()));
    return std::make_unique<TStructuredSTorage>(std::move(file), root.get());
}

std::unique_ptr<TStructuredSTorage> OpenExistingSubStorage(TStructuredSTorage& parent, std::string_view name) {
    try {
        return parent.OpenSubStorage(name, StorageReadMode, false);
    } catch (const TComError& e) {
        if (e.ErrorCode() == STG_E_FILENOTFOUND) return nullptr;
        throw;
    }
}

std::unique_ptr<TStoragePropertySet> OpenReportSetForReading(TStructuredSTorage& storage, REFFMTID fmtid) {
    return OpenCheckedSet(storage, fmtid, StorageReadMode);
}

std::unique_ptr<TStoragePropertySet> OpenReportSetForWriting(TStructuredSTorage& storage, REFFMTID fmtid) {
    if (auto existing = OpenCheckedSet(storage, fmtid, StorageWriteMode)) return existing;
    // New sets are made in the system ANSI code page (PROPSETFLAG_ANSI)
    // rather than in UTF-16. The report's property names are ASCII, so
    // nothing is lost in the name dictionary, and the text values stay
    // VT_LPWSTR, which such a set keeps in UTF-16. The reason is Wine: its
    // property code pads the UTF-16 dictionary entry of every name of odd
    // length ("PID", "VPC", "OS.LoggedUser") by four bytes too many, so the
    // names after it read back wrongly and the set often cannot be opened
    // again (E_FAIL). An 8-bit dictionary has no padding and reads back
    // correctly there as on Windows.
    return storage.CreatePropertySet({}, fmtid, CLSID_NULL, PROPSETFLAG_ANSI, StorageWriteMode | STGM_CREATE);
}

}  // namespace orvex
