#include "platform/pure/Orvex_VersionData.h"

#include <cstdio>

namespace orvex {

void SetFixedVersions(TVersionInfo& info, std::uint32_t fileMS, std::uint32_t fileLS, std::uint32_t productMS,
                      std::uint32_t productLS) noexcept {
    info.Major = fileMS >> 16;
    info.Minor = fileMS & 0xFFFF;
    info.Release = fileLS >> 16;
    info.Build = fileLS & 0xFFFF;
    info.ProductMajor = productMS >> 16;
    info.ProductMinor = productMS & 0xFFFF;
    info.ProductRelease = productLS >> 16;
    info.ProductBuild = productLS & 0xFFFF;
}

std::string TranslationKey(std::uint32_t translation) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "%08X", static_cast<unsigned>(translation));
    const std::string s(hex);
    return s.substr(4, 4) + s.substr(0, 4);
}

std::string VersionStringPath(const std::string& key, const char* valueName) {
    return "\\StringFileInfo\\" + key + "\\" + valueName;
}

}  // namespace orvex
