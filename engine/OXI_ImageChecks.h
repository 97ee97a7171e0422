// The signer and SHA-256 of image files (executables, modules, drivers),
// asked when a details dialog, the Find window or the console wants them,
// never by a refresh.
//
// Each file is opened here with sharing that never blocks its owner, and
// checked on a worker (TBoundedQuery) that is given up after LimitMs: a
// check that does not return then reads "Not checked: timed out". Answers
// are kept for the life of the program per path, size and last-write time;
// a check that could not be made is asked again next time.
#pragma once

#include <windows.h>

#include <string>

#include "engine/pure/OXI_Records.h"
#include "platform/Orvex_BoundedQuery.h"

namespace orvex {

struct TImageCheck {
    std::string Signer;  // the text of TrustText
    std::string Sha256;  // lower-case hexadecimal; empty when not read
};

// The check a worker runs on an open file: hash, then signature.
bool CheckImageFile(HANDLE file, const std::wstring& path, std::wstring& answer);

// Checks files one after another, on one thread. The answers are shared by
// every checker of the process.
class TImageChecker {
public:
    static constexpr DWORD LimitMs = 10000;

    // Null check and zero limit take the defaults (see SetDefaultImageCheck).
    explicit TImageChecker(TSubjectQuery check = nullptr, DWORD limitMs = 0) noexcept;

    // The check of the file at path (ANSI, as the records hold it; a path
    // the system completes, such as a driver's, is completed first).
    TImageCheck Check(const std::string& path);

private:
    TBoundedQuery query_;
};

// The check and time limit a checker gets by default: CheckImageFile and
// LimitMs, unless a test has set others (null and zero restore them).
void SetDefaultImageCheck(TSubjectQuery check, DWORD limitMs) noexcept;

// Whether checks are made at all (on at start). While off, every check
// reads "Not checked: verification is off" without touching the file.
void SetImageChecksOn(bool on) noexcept;
bool ImageChecksOn() noexcept;

// The file of a driver (from the path the system's module table gives) and
// of a service (from its command line without quotes, "" when none of the
// files it may name exists).
std::string DriverImageFile(const std::string& path);
std::string ServiceImageFile(const std::string& commandLine);

// Fills the signer and hash of every process image and driver (and, with
// modules, of the processes' modules).
void AddImageChecks(TProcList& processes, TDriverList& drivers, bool modules);

}  // namespace orvex
