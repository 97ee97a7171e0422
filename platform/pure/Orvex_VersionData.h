// The version data of one executable file and the rules for reading its
// version resource.
#pragma once

#include <cstdint>
#include <string>

namespace orvex {

struct TVersionInfo {
    std::string FileName;
    std::string FileVersion;
    std::string ProductName;
    std::string CompanyName;
    std::string Description;  // "FileDescription"
    std::string Comments;
    std::string Copyright;  // "LegalCopyright"
    std::string InternalName;
    std::string ProductVersion;
    std::uint32_t Major = 0, Minor = 0, Release = 0, Build = 0;
    std::uint32_t ProductMajor = 0, ProductMinor = 0, ProductRelease = 0, ProductBuild = 0;
    std::string SpecialBuild;
    friend bool operator==(const TVersionInfo&, const TVersionInfo&) = default;
};

// Fills the eight numbers from the fixed file and product versions (the
// most and least significant halves of each).
void SetFixedVersions(TVersionInfo& info, std::uint32_t fileMS, std::uint32_t fileLS, std::uint32_t productMS,
                      std::uint32_t productLS) noexcept;

// The string-table key of a translation entry read as one little-endian
// 32-bit number (language in the low half, code page in the high half):
// language then code page, eight upper-case hex digits, "040904B0".
std::string TranslationKey(std::uint32_t translation);

// The string values of the version resource and the field each fills.
struct TVersionString {
    const char* ValueName;
    std::string TVersionInfo::*Field;
};
inline constexpr TVersionString VersionStrings[] = {
    {"FileVersion", &TVersionInfo::FileVersion},   {"ProductName", &TVersionInfo::ProductName},
    {"CompanyName", &TVersionInfo::CompanyName},   {"FileDescription", &TVersionInfo::Description},
    {"Comments", &TVersionInfo::Comments},         {"LegalCopyright", &TVersionInfo::Copyright},
    {"InternalName", &TVersionInfo::InternalName}, {"ProductVersion", &TVersionInfo::ProductVersion},
    {"SpecialBuild", &TVersionInfo::SpecialBuild},
};

// The query path of a string value: "\StringFileInfo\<key>\<name>".
std::string VersionStringPath(const std::string& key, const char* valueName);

}  // namespace orvex
