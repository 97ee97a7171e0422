#include "engine/OXI_ImageChecks.h"

#include <atomic>
#include <map>

#include "engine/OXI_Collectors.h"
#include "engine/OXI_ImagePath.h"
#include "engine/pure/OXI_FileNameKey.h"
#include "engine/pure/OXI_ImageFiles.h"
#include "platform/Orvex_ImageTrust.h"
#include "platform/Orvex_Locale.h"
#include "platform/Orvex_OSInfo.h"
#include "platform/Orvex_Resources.h"
#include "platform/Orvex_SystemMessage.h"
#include "platform/Orvex_WideText.h"
#include "platform/Orvex_Wow64.h"
#include "platform/pure/Orvex_Sha256.h"

namespace orvex {

namespace {

std::atomic<bool> checksOn{true};
std::atomic<TSubjectQuery> defaultCheck{nullptr};
std::atomic<DWORD> defaultLimitMs{0};

// The answers of every checker, by path, size and last-write time. Never
// freed: a checker's thread may still run while the process ends.
struct TCheckCache {
    TCriticalSection Lock;
    std::map<std::string, TImageCheck> Answers;
};

TCheckCache& Cache() {
    static TCheckCache* cache = new TCheckCache;
    return *cache;
}

// The cache's key of an open file; "" when the file tells no size or time.
std::string CacheKey(const std::string& path, HANDLE file) {
    DWORD high = 0;
    const DWORD low = ::GetFileSize(file, &high);
    FILETIME written{};
    if ((low == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR) || !::GetFileTime(file, nullptr, nullptr, &written))
        return {};
    return FileNameKey(path, IsAnsiLeadByte) + '|' + std::to_string(high) + ':' + std::to_string(low) + '|' +
           std::to_string(written.dwHighDateTime) + ':' + std::to_string(written.dwLowDateTime);
}

TImageCheck NotChecked(const std::string& why) { return {TrustText(TTrustState::NotChecked, why), {}}; }

// The worker's answer: the hash's 64 digits (or none), a line break, the
// state's digit and the detail.
TImageCheck FromAnswer(const std::wstring& answer, bool& definite) {
    const std::size_t cut = answer.find(L'\n');
    definite = false;
    if (cut == std::wstring::npos || cut + 1 >= answer.size()) return NotChecked("no answer");
    const auto state = static_cast<TTrustState>(answer[cut + 1] - L'0');
    if (state > TTrustState::NotChecked) return NotChecked("no answer");
    TImageCheck check{TrustText(state, WideToAnsi(std::wstring_view(answer).substr(cut + 2))),
                      WideToAnsi(std::wstring_view(answer).substr(0, cut))};
    definite = state != TTrustState::NotChecked && !check.Sha256.empty();
    return check;
}

}  // namespace

bool CheckImageFile(HANDLE file, const std::wstring& path, std::wstring& answer) {
    std::array<std::uint8_t, 32> digest{};
    const bool hashed = Sha256OfFile(file, digest);
    const TTrustVerdict verdict = VerifyImageTrust(file, path);
    answer = hashed ? AnsiToWide(DigestHex(digest)) : std::wstring();
    answer += L'\n';
    answer += static_cast<wchar_t>(L'0' + static_cast<int>(verdict.State));
    answer += verdict.Detail;
    return true;
}

TImageChecker::TImageChecker(TSubjectQuery check, DWORD limitMs) noexcept
    : query_(check                 ? check
             : defaultCheck.load() ? defaultCheck.load()
                                   : CheckImageFile,
             limitMs                 ? limitMs
             : defaultLimitMs.load() ? defaultLimitMs.load()
                                     : LimitMs) {}

void SetDefaultImageCheck(TSubjectQuery check, DWORD limitMs) noexcept {
    defaultCheck = check;
    defaultLimitMs = limitMs;
}

TImageCheck TImageChecker::Check(const std::string& path) {
    if (!ImageChecksOn()) return NotChecked("verification is off");
    if (path.empty()) return NotChecked("no file name");
    const std::string name = UnredirectedPath(path);
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | (IsNT() ? FILE_SHARE_DELETE : 0);
    THandle file(
        ::CreateFileA(name.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return NotChecked(SystemReason(::GetLastError()));
    const std::string key = CacheKey(path, file.get());
    TCheckCache& cache = Cache();
    if (!key.empty()) {
        TLock lock(cache.Lock);
        const auto found = cache.Answers.find(key);
        if (found != cache.Answers.end()) return found->second;
    }
    std::wstring answer;
    switch (query_.AskOwned(std::move(file), AnsiToWide(name), answer)) {
    case TBoundedQuery::TResult::TimedOut:
        return NotChecked("timed out");
    case TBoundedQuery::TResult::Unavailable:
        return NotChecked("earlier checks still run");
    case TBoundedQuery::TResult::Failed:
        return NotChecked("the check could not be started");
    case TBoundedQuery::TResult::Answered:
        break;
    }
    bool definite = false;
    TImageCheck check = FromAnswer(answer, definite);
    if (definite && !key.empty()) {
        TLock lock(cache.Lock);
        cache.Answers.emplace(key, check);
    }
    return check;
}

void SetImageChecksOn(bool on) noexcept { checksOn = on; }
bool ImageChecksOn() noexcept { return checksOn; }

std::string DriverImageFile(const std::string& path) { return DriverFilePath(path, WindowsDirectory()); }

std::string ServiceImageFile(const std::string& commandLine) {
    const std::string windows = WindowsDirectory();
    for (const std::string& name : ServiceFileCandidates(commandLine, IsAnsiLeadByte)) {
        const std::string file = DriverFilePath(name, windows);
        if (ImageFileExists(file)) return file;
    }
    return {};
}

void AddImageChecks(TProcList& processes, TDriverList& drivers, bool modules) {
    TImageChecker checker;
    const auto check = [&checker](auto& record, const std::string& file) {
        const TImageCheck answer = checker.Check(file);
        record.Signer = answer.Signer;
        record.Sha256 = answer.Sha256;
    };
    for (TProcessInfo& p : processes) {
        check(p, p.ImageName.str());
        if (modules)
            for (TModuleInfo& m : p.Modules) check(m, m.ImageName.str());
    }
    const std::string windows = WindowsDirectory();
    for (TDriverInfo& d : drivers) check(d, DriverFilePath(d.Name.str(), windows));
}

}  // namespace orvex
