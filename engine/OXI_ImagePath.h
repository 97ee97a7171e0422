// Path helpers of the process and module collectors, in the system's ANSI
// code page.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace orvex {

// Whether a file (not a folder) of that name exists as 64-bit programs see
// it (System32 unredirected for a 32-bit program on 64-bit Windows).
bool ImageFileExists(const std::string& name);

// The file-name part of an ANSI path (after the last backslash or colon).
std::string_view ExecutableFileName(std::string_view path) noexcept;

// The characters of a fixed text buffer up to its first zero byte, at most
// capacity and at most length (the count a call reported).
std::string BoundedText(const char* buffer, std::size_t capacity, std::size_t length);
template <std::size_t N>
std::string BoundedText(const char (&buffer)[N]) {
    return BoundedText(buffer, N, N);
}

// ResolveImagePath for the many paths of one refresh: each path text is
// completed once, whether a file exists is asked once per name (names that
// differ only in the case of their letters share the answer), and the
// directory list is read once. The answers hold as long as the file system
// does not change, so an object serves one refresh and is then dropped.
class TImagePathResolver {
public:
    // The same text ResolveImagePath(path) gives.
    const std::string& Resolve(std::string_view path);
    // How many times the file system was asked whether a file exists.
    std::size_t FileChecks() const noexcept { return fileChecks_; }

private:
    bool IsExistingFile(const std::string& name);

    std::unordered_map<std::string, std::string> resolved_;
    // keyed by FileNameKey of the name
    std::unordered_map<std::string, bool> existing_;
    std::optional<std::string> searchPath_;
    std::size_t fileChecks_ = 0;
};

}  // namespace orvex
