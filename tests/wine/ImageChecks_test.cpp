// Signatures and hashes of real files: the test helper signed by a
// throw-away authority's signer (tools/sign-helper.sh), the signed copy with
// one byte changed, the unsigned helper and a missing file, checked through
// the system's trust verification; their SHA-256 against sha256sum's; the
// answers kept per file; and a check that does not return.
#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <atomic>

#include "engine/OXI_ImageChecks.h"
#include "platform/Orvex_ImageTrust.h"
#include "platform/Orvex_Resources.h"
#include "platform/Orvex_SystemMessage.h"
#include "platform/pure/Orvex_ScopeExit.h"
#include "platform/pure/Orvex_Sha256.h"
#include "tests/wine/support/Signing.h"
#include "tests/wine/support/TempFile.h"

namespace {

using orvex::test::IndependentHashes;
using orvex::test::SigningFile;

// A copy of the unsigned helper under a name no check has seen.
bool CopyHelperTo(const std::string& target) {
    return CopyFileA(SigningFile("orvex_helper_unsigned.exe").c_str(), target.c_str(), FALSE) != FALSE;
}

class ImageChecks : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(orvex::test::TrustTestAuthority()); }
};

TEST_F(ImageChecks, EachFileShowsItsState) {
    const auto hashes = IndependentHashes();
    ASSERT_EQ(hashes.size(), 3u);
    struct TCase {
        const char* File;
        const char* Signer;  // the whole text, or its start where it ends in ": "
        bool Hashed;
    };
    const TCase cases[] = {
        {"orvex_helper_signed.exe", "Signed: Orvex Test Signer", true},
        {"orvex_helper_tampered.exe", "Not trusted: ", true},
        {"orvex_helper_unsigned.exe", "Unsigned", true},
        {"no_such_file.exe", "Not checked: ", false},
    };
    orvex::TImageChecker checker;
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.File);
        const orvex::TImageCheck check = checker.Check(SigningFile(c.File));
        const std::string signer = c.Signer;
        if (signer.ends_with(": "))
            EXPECT_TRUE(check.Signer.starts_with(signer) && check.Signer.size() > signer.size()) << check.Signer;
        else
            EXPECT_EQ(check.Signer, signer);
        EXPECT_EQ(check.Sha256, c.Hashed ? hashes.at(c.File) : std::string());
    }
    // The changed byte: the system's reason for a digest that does not match
    // (its code where the system has no text for it, as Wine has none).
    EXPECT_EQ(checker.Check(SigningFile("orvex_helper_tampered.exe")).Signer,
              "Not trusted: " + orvex::SystemReason(static_cast<DWORD>(TRUST_E_BAD_DIGEST)));
}

TEST_F(ImageChecks, BothHashMethodsGiveTheIndependentDigest) {
    const auto hashes = IndependentHashes();
    for (const auto method : {orvex::THashMethod::SystemProvider, orvex::THashMethod::OwnCode}) {
        SCOPED_TRACE(static_cast<int>(method));
        for (const auto& [name, expected] : hashes) {
            const orvex::THandle file(CreateFileA(SigningFile(name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                  OPEN_EXISTING, 0, nullptr));
            ASSERT_TRUE(file) << name;
            std::array<std::uint8_t, 32> digest{};
            ASSERT_TRUE(orvex::Sha256OfFile(file.get(), digest, method)) << name;
            EXPECT_EQ(orvex::DigestHex(digest), expected) << name;
        }
    }
}

std::atomic<int> checksMade{0};

bool CountedCheck(HANDLE file, const std::wstring& path, std::wstring& answer) {
    ++checksMade;
    return orvex::CheckImageFile(file, path, answer);
}

TEST_F(ImageChecks, AnswersAreKeptUntilTheFileChanges) {
    orvex::test::TTempFile copy;
    ASSERT_TRUE(copy.valid() && CopyHelperTo(copy.name()));
    checksMade = 0;
    orvex::TImageChecker checker(CountedCheck);
    const orvex::TImageCheck first = checker.Check(copy.name());
    EXPECT_EQ(first.Signer, "Unsigned");
    EXPECT_EQ(checker.Check(copy.name()).Sha256, first.Sha256);
    EXPECT_EQ(checksMade, 1);

    // Another last-write time: checked again.
    const orvex::THandle file(
        CreateFileA(copy.name().c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file);
    FILETIME later{};
    GetSystemTimeAsFileTime(&later);
    later.dwHighDateTime += 1;
    ASSERT_TRUE(SetFileTime(file.get(), nullptr, nullptr, &later));
    EXPECT_EQ(checker.Check(copy.name()).Sha256, first.Sha256);
    EXPECT_EQ(checksMade, 2);

    // The file held open for writing by its owner: read all the same.
    const orvex::THandle writer(CreateFileA(copy.name().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                            nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(writer);
    orvex::SetImageChecksOn(false);
    orvex::TScopeExit on([] { orvex::SetImageChecksOn(true); });
    EXPECT_EQ(checker.Check(copy.name()).Signer, "Not checked: verification is off");
    orvex::SetImageChecksOn(true);
    EXPECT_EQ(checker.Check(copy.name()).Signer, "Unsigned");
}

HANDLE blockRelease = CreateEventA(nullptr, TRUE, FALSE, nullptr);

bool BlockingCheck(HANDLE, const std::wstring&, std::wstring&) {
    WaitForSingleObject(blockRelease, INFINITE);
    return false;
}

TEST_F(ImageChecks, ACheckThatDoesNotReturnIsGivenUp) {
    orvex::test::TTempFile copy;
    ASSERT_TRUE(copy.valid() && CopyHelperTo(copy.name()));
    ResetEvent(blockRelease);
    orvex::TScopeExit release([] { SetEvent(blockRelease); });
    orvex::TImageChecker checker(BlockingCheck, 200);
    EXPECT_EQ(checker.Check(copy.name()).Signer, "Not checked: timed out");
    // Released, the worker is taken back and the file checked for real.
    SetEvent(blockRelease);
    orvex::TImageChecker real;
    EXPECT_EQ(real.Check(copy.name()).Signer, "Unsigned");
}

}  // namespace
