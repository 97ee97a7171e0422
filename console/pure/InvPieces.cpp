#include "console/pure/InvPieces.h"

namespace orvex::console {

std::size_t CodePagePieceLength(std::string_view text, std::size_t limit, TLeadBytePredicate isLeadByte) noexcept {
    if (text.size() <= limit) return text.size();
    std::size_t end = 0;
    while (end < text.size()) {
        const bool pair = isLeadByte && isLeadByte(static_cast<unsigned char>(text[end])) && end + 1 < text.size();
        const std::size_t next = end + (pair ? 2 : 1);
        if (next > limit) break;
        end = next;
    }
    return end > 0 ? end : limit;
}

std::size_t Utf8PieceLength(std::string_view text, std::size_t limit) noexcept {
    if (text.size() <= limit) return text.size();
    // A character has at most four bytes: three continuation bytes at most.
    std::size_t end = limit;
    for (int back = 0; back < 3 && end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0u) == 0x80u; ++back) --end;
    return end > 0 ? end : limit;
}

std::size_t Utf16PieceLength(std::wstring_view text, std::size_t limit) noexcept {
    if (text.size() <= limit) return text.size();
    const wchar_t last = text[limit - 1];
    const bool highSurrogate = last >= static_cast<wchar_t>(0xD800) && last <= static_cast<wchar_t>(0xDBFF);
    return highSurrogate && limit > 1 ? limit - 1 : limit;
}

}  // namespace orvex::console
