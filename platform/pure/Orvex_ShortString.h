// Text field of an inventory record: at most 255 single-byte characters.
// Every assignment cuts a longer value to its first 255 characters.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orvex {

class TShortString {
public:
    static constexpr std::size_t MaxLength = 255;

    TShortString() = default;
    TShortString(std::string_view s) : s_(s.substr(0, MaxLength)) {}
    TShortString(const std::string& s) : TShortString(std::string_view(s)) {}
    TShortString(const char* s) : TShortString(std::string_view(s ? s : "")) {}

    TShortString& operator=(std::string_view s) {
        s_.assign(s.substr(0, MaxLength));
        return *this;
    }
    TShortString& operator=(const std::string& s) { return *this = std::string_view(s); }
    TShortString& operator=(const char* s) { return *this = std::string_view(s ? s : ""); }

    const std::string& str() const noexcept { return s_; }
    operator const std::string&() const noexcept { return s_; }
    operator std::string_view() const noexcept { return s_; }
    const char* c_str() const noexcept { return s_.c_str(); }
    std::size_t size() const noexcept { return s_.size(); }
    bool empty() const noexcept { return s_.empty(); }

    friend bool operator==(const TShortString& a, const TShortString& b) noexcept { return a.s_ == b.s_; }
    friend bool operator==(const TShortString& a, std::string_view b) noexcept { return a.s_ == b; }
    friend bool operator==(const TShortString& a, const char* b) noexcept {
        return a.s_ == std::string_view(b ? b : "");
    }
    friend bool operator==(const TShortString& a, const std::string& b) noexcept { return a.s_ == b; }

private:
    std::string s_;
};

}  // namespace orvex
