// Compound files: storages, property sets and single typed properties.
//
// Every wrapper holds one reference to its interface. A wrapper returned by
// OpenSubStorage, OpenPropertySet or CreatePropertySet belongs to the caller,
// who destroys it before the wrapper it was opened from. Failures of the
// storage operations raise TComError; the property readers never raise.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <propidl.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Orvex_Resources.h"
#include "storage/Orvex_ComError.h"
#include "storage/pure/Orvex_SSDateTime.h"
#include "storage/pure/Orvex_SSPath.h"

namespace orvex {

// Storage modes the report code opens its storages with. Every storage is
// opened exclusively (sub-storages require it) and in direct mode.
inline constexpr DWORD StorageReadMode = STGM_SHARE_EXCLUSIVE | STGM_READ;        // 0x10
inline constexpr DWORD StorageWriteMode = STGM_SHARE_EXCLUSIVE | STGM_READWRITE;  // 0x12

class TStoragePropertySet;

class TStructuredSTorage {
    // Intermediate storages of a multi-element path, owned by the wrapper of
    // the last element. Declared first so that Storage is released before them.
    std::unique_ptr<TStructuredSTorage> ownedParent_;

public:
    // Takes its own reference to Storage; a null Storage raises E_POINTER.
    TStructuredSTorage(TStructuredSTorage* parent, IStorage* storage);
    // A root Storage that keeps Kept (the root it was made from) open until
    // this wrapper has released Storage.
    TStructuredSTorage(std::unique_ptr<TStructuredSTorage> kept, IStorage* storage);
    ~TStructuredSTorage();
    TStructuredSTorage(const TStructuredSTorage&) = delete;
    TStructuredSTorage& operator=(const TStructuredSTorage&) = delete;

    const TComPtr<IStorage> Storage;
    TStructuredSTorage* const Parent;  // the wrapper this one was opened from, or none

    // Whether this storage directly holds a stream or sub-storage of that
    // name (one leading backslash ignored, ASCII letters in any case).
    bool ElementExists(std::string_view name) const;

    // Opens, or with Create also creates where missing, the sub-storage that
    // Path names below this storage. An existing element is opened, never
    // replaced. A blank path gives none; an empty piece raises.
    std::unique_ptr<TStructuredSTorage> OpenSubStorage(std::string_view path, DWORD mode, bool create);

    // The property set FMTID, or none when it does not exist and Create is
    // false; with Create a missing set is created (null class, default form).
    std::unique_ptr<TStoragePropertySet> OpenPropertySet(REFFMTID fmtid, DWORD mode, bool create,
                                                         std::string_view name = {});

    // Creates the property set FMTID (STGM_CREATE is the caller's to give).
    // A non-blank Name is recorded as the set's name in its dictionary.
    std::unique_ptr<TStoragePropertySet> CreatePropertySet(std::string_view name, REFFMTID fmtid, REFCLSID clsid,
                                                           DWORD flags, DWORD mode);
};

class TStoragePropertySet {
public:
    // Takes its own reference to PropertyStorage; null raises E_POINTER.
    TStoragePropertySet(IPropertyStorage* propertyStorage, TStructuredSTorage* owner);
    ~TStoragePropertySet();
    TStoragePropertySet(const TStoragePropertySet&) = delete;
    TStoragePropertySet& operator=(const TStoragePropertySet&) = delete;

    const TComPtr<IPropertyStorage> PropertyStorage;
    TStructuredSTorage* const Owner;  // the storage the set lives in, or none
};

// Root storages by file name.
// True only when the file exists and is a compound file.
bool IsStorageFile(std::string_view fileName);
// StgCreateDocfile with Mode as given; raises on failure.
std::unique_ptr<TStructuredSTorage> CreateStorageFile(std::string_view fileName, DWORD mode);
// StgOpenStorage with Mode as given; raises on failure.
std::unique_ptr<TStructuredSTorage> OpenStorageFile(std::string_view fileName, DWORD mode);

// Single properties: texts as VT_LPWSTR, integers as VT_I8, date-times as
// VT_FILETIME of their calendar fields. A name not yet in the set receives
// an id of 2 or more, chosen by the set. The writers raise on failure (also
// for a missing property storage, an empty name or a date-time outside the
// file-time range). The readers give "", 0 or date-time 0 for a missing
// property storage, an empty name, a missing property or a property of
// another type; the text readers take VT_LPSTR texts as well.
// Wine 8 pads the name-dictionary entry of a name of odd length by four
// bytes too many when it saves a set; reading the set back there misreads
// the entries after it, and opening the set usually fails (E_FAIL).
void WriteStrProp(IPropertyStorage* storage, std::string_view name, std::string_view value);
void WriteIntProp(IPropertyStorage* storage, std::string_view name, std::int64_t value);
void WriteStrPropID(IPropertyStorage* storage, PROPID id, std::string_view value);
void WriteDateTimePropID(IPropertyStorage* storage, PROPID id, TDateTime value);
std::string ReadStrProp(IPropertyStorage* storage, std::string_view name);
std::int64_t ReadIntProp(IPropertyStorage* storage, std::string_view name);
std::string ReadStrPropID(IPropertyStorage* storage, PROPID id);
TDateTime ReadDateTimePropID(IPropertyStorage* storage, PROPID id);

// A zero FILETIME for a date-time outside the file-time range.
FILETIME DateTimeToFileTime(TDateTime value);
TDateTime FileTimeToDateTime(const FILETIME& value);

// SplitStoragePath with the lead bytes of the system ANSI code page.
TStoragePath SplitAnsiStoragePath(std::string_view path);

}  // namespace orvex
