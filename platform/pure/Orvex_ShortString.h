// Text fields of inventory records. A name holds at most 255 bytes; a path
// holds every path a program can be started from (259 characters, which in
// the widest of the code pages in use, UTF-8, take at most 3 bytes each:
// two UTF-16 units of a surrogate pair become 4 bytes). Every assignment
// cuts a longer value, at a character boundary of the process's code page,
// so that no character is ever split.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/pure/Orvex_CodePageRule.h"

namespace orvex {

template <std::size_t Max>
class TBoundedText {
public:
    static constexpr std::size_t MaxLength = Max;

    TBoundedText() = default;
    TBoundedText(std::string_view s) : s_(Cut(s)) {}
    TBoundedText(const std::string& s) : TBoundedText(std::string_view(s)) {}
    TBoundedText(const char* s) : TBoundedText(std::string_view(s ? s : "")) {}

    TBoundedText& operator=(std::string_view s) {
        s_.assign(Cut(s));
        return *this;
    }
    TBoundedText& operator=(const std::string& s) { return *this = std::string_view(s); }
    TBoundedText& operator=(const char* s) { return *this = std::string_view(s ? s : ""); }

    const std::string& str() const noexcept { return s_; }
    operator const std::string&() const noexcept { return s_; }
    operator std::string_view() const noexcept { return s_; }
    const char* c_str() const noexcept { return s_.c_str(); }
    std::size_t size() const noexcept { return s_.size(); }
    bool empty() const noexcept { return s_.empty(); }

    friend bool operator==(const TBoundedText& a, const TBoundedText& b) noexcept { return a.s_ == b.s_; }
    friend bool operator==(const TBoundedText& a, std::string_view b) noexcept { return a.s_ == b; }
    friend bool operator==(const TBoundedText& a, const char* b) noexcept {
        return a.s_ == std::string_view(b ? b : "");
    }
    friend bool operator==(const TBoundedText& a, const std::string& b) noexcept { return a.s_ == b; }

private:
    static std::string_view Cut(std::string_view s) noexcept {
        return s.substr(0, CharacterCutLength(s, Max, ProcessCodePageRule()));
    }

    std::string s_;
};

using TShortString = TBoundedText<255>;
// MAX_PATH less its terminating null, in UTF-8's widest bytes per unit.
using TPathString = TBoundedText<std::size_t{3} * 259>;

}  // namespace orvex
