#include "platform/Orvex_ImageTrust.h"

// clang-format off
#include <wincrypt.h>
#include <wintrust.h>
#include <softpub.h>
#include <mscat.h>
// clang-format on

#include <cstddef>
#include <vector>

#include "platform/Orvex_LibraryBinding.h"
#include "platform/Orvex_SystemMessage.h"
#include "platform/Orvex_WideText.h"
#include "platform/pure/Orvex_ScopeExit.h"
#include "platform/pure/Orvex_Sha256.h"

namespace orvex {

// Each function of the libraries once.
#define ORVEX_WINTRUST_FUNCTIONS(F)         \
    F(WinVerifyTrust)                       \
    F(WTHelperProvDataFromStateData)        \
    F(WTHelperGetProvSignerFromChain)       \
    F(CryptCATAdminAcquireContext)          \
    F(CryptCATAdminAcquireContext2)         \
    F(CryptCATAdminCalcHashFromFileHandle)  \
    F(CryptCATAdminCalcHashFromFileHandle2) \
    F(CryptCATAdminEnumCatalogFromHash)     \
    F(CryptCATCatalogInfoFromContext)       \
    F(CryptCATAdminReleaseCatalogContext)   \
    F(CryptCATAdminReleaseContext)
#define ORVEX_CRYPT32_FUNCTIONS(F) F(CertGetNameStringW)
#define ORVEX_CRYPTOAPI_FUNCTIONS(F) \
    F(CryptAcquireContextA)          \
    F(CryptCreateHash)               \
    F(CryptHashData)                 \
    F(CryptGetHashParam)             \
    F(CryptDestroyHash)              \
    F(CryptReleaseContext)

namespace {

ORVEX_WINTRUST_FUNCTIONS(ORVEX_DEFINE_SDK_SLOT)
ORVEX_CRYPT32_FUNCTIONS(ORVEX_DEFINE_SDK_SLOT)
ORVEX_CRYPTOAPI_FUNCTIONS(ORVEX_DEFINE_SDK_SLOT)

constexpr TSlotBinding WinTrustSlots[] = {ORVEX_WINTRUST_FUNCTIONS(ORVEX_SDK_SLOT_ENTRY)};
constexpr TSlotBinding Crypt32Slots[] = {ORVEX_CRYPT32_FUNCTIONS(ORVEX_SDK_SLOT_ENTRY)};
constexpr TSlotBinding CryptoApiSlots[] = {ORVEX_CRYPTOAPI_FUNCTIONS(ORVEX_SDK_SLOT_ENTRY)};
// Checks run on workers that may outlive the program's end: the libraries
// stay loaded.
constinit TLibraryBinding WinTrust("WINTRUST.DLL", WinTrustSlots, TUnload::Never);
constinit TLibraryBinding Crypt32("CRYPT32.DLL", Crypt32Slots, TUnload::Never);
constinit TLibraryBinding CryptoApi("ADVAPI32.DLL", CryptoApiSlots, TUnload::Never);

// The catalog member of Windows 8 and later, which names the catalog
// administrator that a SHA-256 member hash was looked up with.
struct TCatalogInfo8 {
    WINTRUST_CATALOG_INFO Info;
    HCATADMIN hCatAdmin;
};
// The layouts of the documentation (before the Windows 8 members).
static_assert(sizeof(void*) == 8 ? sizeof(WINTRUST_CATALOG_INFO) == 64 : sizeof(WINTRUST_CATALOG_INFO) == 36);
static_assert(offsetof(TCatalogInfo8, hCatAdmin) == sizeof(WINTRUST_CATALOG_INFO));
static_assert(sizeof(void*) == 8 ? sizeof(WINTRUST_DATA) == 80 : sizeof(WINTRUST_DATA) == 48);

// Answers that mean "no signature here" rather than "a bad one".
bool MeansUnsigned(LONG code) {
    return code == static_cast<LONG>(TRUST_E_NOSIGNATURE) || code == static_cast<LONG>(TRUST_E_SUBJECT_FORM_UNKNOWN) ||
           code == static_cast<LONG>(TRUST_E_PROVIDER_UNKNOWN);
}

std::wstring SignerName(HANDLE state) {
    if (!WTHelperProvDataFromStateDataSlot || !WTHelperGetProvSignerFromChainSlot || !state) return {};
    CRYPT_PROVIDER_DATA* data = WTHelperProvDataFromStateDataSlot(state);
    CRYPT_PROVIDER_SGNR* signer = data ? WTHelperGetProvSignerFromChainSlot(data, 0, FALSE, 0) : nullptr;
    if (!signer || signer->csCertChain == 0 || !signer->pasCertChain || !signer->pasCertChain[0].pCert) return {};
    BindOnce<Crypt32>();
    if (!CertGetNameStringWSlot) return {};
    wchar_t name[256] = {};
    const DWORD n = CertGetNameStringWSlot(signer->pasCertChain[0].pCert, CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr,
                                           name, static_cast<DWORD>(std::size(name)));
    return n > 1 ? std::wstring(name, n - 1) : std::wstring();
}

// One verification of the subject data describes (a file or a catalog
// member), with the state kept just long enough to read the signer.
TTrustVerdict Verify(WINTRUST_DATA& data) {
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    data.cbStruct = sizeof data;
    data.dwUIChoice = WTD_UI_NONE;
    data.fdwRevocationChecks = WTD_REVOKE_NONE;
    data.dwStateAction = WTD_STATEACTION_VERIFY;
    // Nothing from the network: no revocation, URLs from the cache only.
    data.dwProvFlags = WTD_REVOCATION_CHECK_NONE | WTD_CACHE_ONLY_URL_RETRIEVAL;
    const HWND noWindow = static_cast<HWND>(INVALID_HANDLE_VALUE);
    TTrustVerdict verdict;
    verdict.Code = WinVerifyTrustSlot(noWindow, &action, &data);
    if (verdict.Code == 0) {
        verdict.State = TTrustState::Signed;
        verdict.Detail = SignerName(data.hWVTStateData);
    } else if (MeansUnsigned(verdict.Code)) {
        verdict.State = TTrustState::Unsigned;
    } else {
        verdict.State = TTrustState::NotTrusted;
        verdict.Detail = AnsiToWide(SystemReason(static_cast<DWORD>(verdict.Code)));
    }
    data.dwStateAction = WTD_STATEACTION_CLOSE;
    WinVerifyTrustSlot(noWindow, &action, &data);
    return verdict;
}

TTrustVerdict VerifyEmbedded(HANDLE file, const std::wstring& path) {
    WINTRUST_FILE_INFO info{};
    info.cbStruct = sizeof info;
    info.pcwszFilePath = path.c_str();
    info.hFile = file;
    WINTRUST_DATA data{};
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.pFile = &info;
    return Verify(data);
}

std::wstring MemberTag(const std::vector<BYTE>& hash) {
    static const wchar_t digits[] = L"0123456789ABCDEF";
    std::wstring tag;
    for (BYTE b : hash) {
        tag += digits[b >> 4];
        tag += digits[b & 15];
    }
    return tag;
}

// The verdict of the catalog that lists the file under the hash admin
// computes; false when no catalog lists it.
bool VerifyInCatalog(HCATADMIN admin, bool sha256, HANDLE file, const std::wstring& path, TTrustVerdict& verdict) {
    std::vector<BYTE> hash(64);
    DWORD size = static_cast<DWORD>(hash.size());
    ::SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    const BOOL hashed = sha256 ? CryptCATAdminCalcHashFromFileHandle2Slot(admin, file, &size, hash.data(), 0)
                               : CryptCATAdminCalcHashFromFileHandleSlot(file, &size, hash.data(), 0);
    if (!hashed || size == 0 || size > hash.size()) return false;
    hash.resize(size);
    HCATINFO catalog = CryptCATAdminEnumCatalogFromHashSlot(admin, hash.data(), size, 0, nullptr);
    if (!catalog) return false;
    TScopeExit release([&] { CryptCATAdminReleaseCatalogContextSlot(admin, catalog, 0); });
    CATALOG_INFO info{};
    info.cbStruct = sizeof info;
    if (!CryptCATCatalogInfoFromContextSlot(catalog, &info, 0)) return false;
    const std::wstring tag = MemberTag(hash);
    TCatalogInfo8 member{};
    member.Info.cbStruct = sha256 ? sizeof(TCatalogInfo8) : sizeof(WINTRUST_CATALOG_INFO);
    member.Info.pcwszCatalogFilePath = info.wszCatalogFile;
    member.Info.pcwszMemberTag = tag.c_str();
    member.Info.pcwszMemberFilePath = path.c_str();
    member.Info.hMemberFile = file;
    member.Info.pbCalculatedFileHash = hash.data();
    member.Info.cbCalculatedFileHash = size;
    member.hCatAdmin = admin;
    WINTRUST_DATA data{};
    data.dwUnionChoice = WTD_CHOICE_CATALOG;
    data.pCatalog = &member.Info;
    verdict = Verify(data);
    return true;
}

// The catalogs, by SHA-256 where the system looks members up that way
// (Windows 8 and later), then by SHA-1 (2000 and later).
bool VerifyByCatalog(HANDLE file, const std::wstring& path, TTrustVerdict& verdict) {
    if (!CryptCATAdminEnumCatalogFromHashSlot || !CryptCATCatalogInfoFromContextSlot ||
        !CryptCATAdminReleaseCatalogContextSlot || !CryptCATAdminReleaseContextSlot)
        return false;
    for (const bool sha256 : {true, false}) {
        HCATADMIN admin = nullptr;
        const BOOL acquired = sha256 ? CryptCATAdminAcquireContext2Slot && CryptCATAdminCalcHashFromFileHandle2Slot &&
                                           CryptCATAdminAcquireContext2Slot(&admin, nullptr, L"SHA256", nullptr, 0)
                                     : CryptCATAdminAcquireContextSlot && CryptCATAdminCalcHashFromFileHandleSlot &&
                                           CryptCATAdminAcquireContextSlot(&admin, nullptr, 0);
        if (!acquired || !admin) continue;
        TScopeExit release([&] { CryptCATAdminReleaseContextSlot(admin, 0); });
        if (VerifyInCatalog(admin, sha256, file, path, verdict)) return true;
    }
    return false;
}

// A hash object of the system's provider, released with it.
class TProviderHash {
public:
    TProviderHash() {
        BindOnce<CryptoApi>();
        if (!CryptAcquireContextASlot || !CryptCreateHashSlot || !CryptHashDataSlot || !CryptGetHashParamSlot ||
            !CryptDestroyHashSlot || !CryptReleaseContextSlot)
            return;
        if (!CryptAcquireContextASlot(&provider_, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT)) {
            provider_ = 0;
            return;
        }
        if (!CryptCreateHashSlot(provider_, CALG_SHA_256, 0, 0, &hash_)) hash_ = 0;
    }
    ~TProviderHash() {
        if (hash_) CryptDestroyHashSlot(hash_);
        if (provider_) CryptReleaseContextSlot(provider_, 0);
    }
    TProviderHash(const TProviderHash&) = delete;
    TProviderHash& operator=(const TProviderHash&) = delete;

    bool ok() const noexcept { return hash_ != 0; }
    bool Update(const BYTE* data, DWORD size) { return CryptHashDataSlot(hash_, data, size, 0) != FALSE; }
    bool Finish(std::array<std::uint8_t, 32>& digest) {
        std::array<std::uint8_t, 32> value{};
        DWORD size = static_cast<DWORD>(value.size());
        if (!CryptGetHashParamSlot(hash_, HP_HASHVAL, value.data(), &size, 0) || size != value.size()) return false;
        digest = value;
        return true;
    }

private:
    HCRYPTPROV provider_ = 0;
    HCRYPTHASH hash_ = 0;
};

// Reads the whole file from its start, handing each piece to take.
template <typename TTake>
bool ReadWholeFile(HANDLE file, TTake take) {
    if (::SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER && ::GetLastError() != NO_ERROR)
        return false;
    std::vector<BYTE> buffer(64 * 1024);
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr)) return false;
        if (read == 0) return true;
        if (!take(buffer.data(), read)) return false;
    }
}

}  // namespace

TTrustVerdict VerifyImageTrust(HANDLE file, const std::wstring& path) {
    BindOnce<WinTrust>();
    if (!WinVerifyTrustSlot) return {TTrustState::NotChecked, L"no trust verification on this system", 0};
    TTrustVerdict verdict = VerifyEmbedded(file, path);
    if (verdict.State != TTrustState::Unsigned) return verdict;
    TTrustVerdict byCatalog;
    return VerifyByCatalog(file, path, byCatalog) ? byCatalog : verdict;
}

bool Sha256OfFile(HANDLE file, std::array<std::uint8_t, 32>& digest, THashMethod method) {
    if (method != THashMethod::OwnCode) {
        TProviderHash provider;
        if (provider.ok())
            return ReadWholeFile(file, [&](const BYTE* data, DWORD size) { return provider.Update(data, size); }) &&
                   provider.Finish(digest);
        if (method == THashMethod::SystemProvider) return false;
    }
    TSha256 own;
    if (!ReadWholeFile(file, [&](const BYTE* data, DWORD size) {
            own.Update(data, size);
            return true;
        }))
        return false;
    digest = own.Finish();
    return true;
}

}  // namespace orvex
