// The files of the signature tests (tools/sign-helper.sh, beside the test
// programs in signing\): the test helper signed by a throw-away authority's
// signer, a copy with one byte changed, the unsigned helper, the authority's
// certificate and sha256sum's digests of the three programs.
#pragma once

#include <windows.h>
#include <wincrypt.h>

#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "tests/wine/support/TestMode.h"

namespace orvex::test {

inline std::string SigningFile(const std::string& name) { return ExeDir() + "signing\\" + name; }

// sha256sum's digests, by file name.
inline std::map<std::string, std::string> IndependentHashes() {
    std::map<std::string, std::string> hashes;
    std::ifstream in(SigningFile("sha256.txt"));
    std::string hash, name;
    while (in >> hash >> name) hashes[name] = hash;
    return hashes;
}

// Puts the authority among the prefix's trusted roots, where an
// administrator puts a company's own root; false when that fails.
inline bool TrustTestAuthority() {
    std::ifstream in(SigningFile("test-ca.cer"), std::ios::binary);
    const std::string der{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return !der.empty() && CertAddEncodedCertificateToSystemStoreA("ROOT", reinterpret_cast<const BYTE*>(der.data()),
                                                                   static_cast<DWORD>(der.size()));
}

}  // namespace orvex::test
