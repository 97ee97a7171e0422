// The handle list as the handle tests read it: a record by owner and value,
// the files they open for it, and one collection on a thread of its own.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "engine/OXI_Collectors.h"
#include "engine/OXI_ObjectNames.h"
#include "tests/wine/support/TestMode.h"
#include "tests/wine/support/TestThread.h"

namespace orvex::test {

// The record of handle value handle of process pid, or null.
inline const THandleInfo* FindHandle(const THandleList& list, DWORD pid, unsigned long long handle) {
    auto it = std::find_if(list.begin(), list.end(),
                           [&](const THandleInfo& h) { return h.ProcessID == pid && h.Handle == handle; });
    return it == list.end() ? nullptr : &*it;
}
inline const THandleInfo* FindHandle(const THandleList& list, DWORD pid, HANDLE handle) {
    return FindHandle(list, pid, reinterpret_cast<std::uintptr_t>(handle));
}

// The full path of a file next to the test program.
inline std::string TestFile(const std::string& name) { return ExeDir() + name; }

// The file at path, created empty where missing, open for reading and
// writing with every kind of sharing, and deleted when its last handle closes.
inline HANDLE OpenSharedTestFile(const std::string& path) {
    return ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                         FILE_FLAG_DELETE_ON_CLOSE, nullptr);
}

// Both spellings of one path compare alike (Wine may hand out another case).
inline bool SamePath(const std::string& a, const std::string& b) { return ::lstrcmpiA(a.c_str(), b.c_str()) == 0; }

// One collection with file names asked through query, on a thread of its
// own, joined within a bound.
inline THandleList CollectOnThread(TObjectQuery query = AskFileObjectName) {
    THandleList list;
    TTestThread run([&] { CollectHandles(list, query); });
    run.join();
    return list;
}

}  // namespace orvex::test
