#include "platform/Orvex_Locale.h"
#include "platform/Orvex_Ole32.h"
#include "platform/Orvex_WideText.h"
#include "storage/Orvex_SS.h"
#include "storage/Orvex_SSRetain.h"

namespace orvex {

namespace {

// Element statistics are fetched in batches of this size.
constexpr ULONG ElementBatch = 10;
// Upper bound on the batches one look-up reads, in case an enumerator never
// reports its end.
constexpr unsigned MaxElementBatches = 1'000'000;

IStorage* CheckedStorage(IStorage* storage) {
    if (!storage) RaiseComError(E_POINTER);
    return storage;
}

wchar_t AsciiUpper(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

bool SameAsciiText(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
    return true;
}

// The names of one batch of element statistics, freed in every case.
class TStatNames {
public:
    TStatNames(STATSTG* stats, ULONG count) {
        for (ULONG i = 0; i < count; ++i) names_[i].reset(stats[i].pwcsName);
    }
    const wchar_t* operator[](ULONG i) const { return static_cast<const wchar_t*>(names_[i].get()); }

private:
    TCoTaskMem names_[ElementBatch];
};

}  // namespace

TStructuredSTorage::TStructuredSTorage(TStructuredSTorage* parent, IStorage* storage)
    : Storage(RetainInterface(CheckedStorage(storage))), Parent(parent) {}

TStructuredSTorage::TStructuredSTorage(std::unique_ptr<TStructuredSTorage> kept, IStorage* storage)
    : ownedParent_(std::move(kept)), Storage(RetainInterface(CheckedStorage(storage))), Parent(nullptr) {}

TStructuredSTorage::~TStructuredSTorage() = default;

bool TStructuredSTorage::ElementExists(std::string_view name) const {
    if (name.empty()) return false;
    if (name.front() == '\\') name.remove_prefix(1);
    const std::wstring wanted = AnsiToWide(name);
    if (wanted.empty()) return false;
    TComPtr<IEnumSTATSTG> elements;
    ComCheck(Storage->EnumElements(0, nullptr, 0, elements.put()));
    if (!elements) RaiseComError(E_POINTER);
    for (unsigned batch = 0; batch < MaxElementBatches; ++batch) {
        STATSTG stats[ElementBatch] = {};
        ULONG fetched = 0;
        elements->Next(ElementBatch, stats, &fetched);
        if (fetched > ElementBatch) fetched = ElementBatch;
        const TStatNames names(stats, fetched);
        for (ULONG i = 0; i < fetched; ++i) {
            const wchar_t* found = names[i];
            if (found && SameAsciiText(found, wanted)) return true;
        }
        if (fetched != ElementBatch) break;
    }
    return false;
}

std::unique_ptr<TStructuredSTorage> TStructuredSTorage::OpenSubStorage(std::string_view path, DWORD mode, bool create) {
    TStoragePath parts = SplitAnsiStoragePath(path);
    if (parts.SubStorages.empty() && parts.ElementName.empty()) return nullptr;
    parts.SubStorages.push_back(std::move(parts.ElementName));

    std::unique_ptr<TStructuredSTorage> current;
    TStructuredSTorage* at = this;
    for (const std::string& name : parts.SubStorages) {
        if (name.empty()) RaiseComError(STG_E_INVALIDNAME);
        std::wstring wide = AnsiToWide(name);
        if (wide.empty()) RaiseComError(STG_E_INVALIDNAME);
        TComPtr<IStorage> sub;
        if (create && !at->ElementExists(name))
            ComCheck(at->Storage->CreateStorage(wide.c_str(), mode | STGM_CREATE, 0, 0, sub.put()));
        else
            ComCheck(at->Storage->OpenStorage(wide.c_str(), nullptr, mode, nullptr, 0, sub.put()));
        auto next = std::make_unique<TStructuredSTorage>(at, sub.get());
        next->ownedParent_ = std::move(current);
        current = std::move(next);
        at = current.get();
    }
    return current;
}

bool IsStorageFile(std::string_view fileName) {
    const std::wstring wide = AnsiToWide(fileName);
    return !wide.empty() && orvex::StgIsStorageFile(wide.c_str()) == S_OK;
}

std::unique_ptr<TStructuredSTorage> CreateStorageFile(std::string_view fileName, DWORD mode) {
    const std::wstring wide = AnsiToWide(fileName);
    if (wide.empty()) RaiseComError(STG_E_INVALIDNAME);
    TComPtr<IStorage> root;
    ComCheck(orvex::StgCreateDocfile(wide.c_str(), mode, 0, root.put()));
    return std::make_unique<TStructuredSTorage>(nullptr, root.get());
}

std::unique_ptr<TStructuredSTorage> OpenStorageFile(std::string_view fileName, DWORD mode) {
    const std::wstring wide = AnsiToWide(fileName);
    if (wide.empty()) RaiseComError(STG_E_INVALIDNAME);
    TComPtr<IStorage> root;
    ComCheck(orvex::StgOpenStorage(wide.c_str(), nullptr, mode, nullptr, 0, root.put()));
    return std::make_unique<TStructuredSTorage>(nullptr, root.get());
}

TStoragePath SplitAnsiStoragePath(std::string_view path) { return SplitStoragePath(path, IsAnsiLeadByte); }

}  // namespace orvex
