#include "storage/pure/Orvex_PropSetCheck.h"

#include "storage/pure/Orvex_LittleEndian.h"

namespace orvex {

namespace {

constexpr std::uint16_t ByteOrderMark = 0xFFFE;
constexpr std::uint32_t UnicodeCodePage = 1200;
constexpr std::uint32_t DictionaryId = 0;
constexpr std::uint32_t CodePageId = 1;
constexpr std::uint32_t LocaleId = 0x80000000;
constexpr std::uint32_t BehaviorId = 0x80000003;
// Byte order, format, originating system, class id, section count.
constexpr std::size_t StreamHeaderSize = 28;
// Format id and offset of one section.
constexpr std::size_t SectionEntrySize = 20;
// Section size and property count; then one id and offset per property.
constexpr std::size_t SectionHeaderSize = 8;
constexpr std::size_t PropertyEntrySize = 8;

// The variant types that a report set holds (the platform's numbering).
enum : std::uint32_t {
    vtI2 = 2,
    vtUI4 = 19,
    vtI8 = 20,
    vtLpwstr = 31,
    vtFiletime = 64,
};

// Bounded little-endian reads inside one section.
class TSection {
public:
    TSection(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool fits(std::size_t at, std::size_t len) const { return len <= size_ && at <= size_ - len; }
    bool u16(std::size_t at, std::uint16_t& v) const {
        if (!fits(at, 2)) return false;
        v = LoadU16(data_ + at);
        return true;
    }
    bool u32(std::size_t at, std::uint32_t& v) const {
        if (!fits(at, 4)) return false;
        v = LoadU32(data_ + at);
        return true;
    }
    bool zeroAt(std::size_t at, std::size_t width) const {
        if (!fits(at, width)) return false;
        for (std::size_t i = 0; i < width; ++i)
            if (data_[at + i] != 0) return false;
        return true;
    }

    // The code page value at At: a 16-bit integer.
    bool codePage(std::size_t at, std::uint32_t& page) const {
        std::uint32_t type = 0;
        std::uint16_t value = 0;
        if (!u32(at, type) || type != vtI2 || !u16(at + 4, value)) return false;
        page = value;
        return true;
    }

    // A 32-bit unsigned value at At (the locale and the behaviour flags).
    bool unsigned32(std::size_t at) const {
        std::uint32_t type = 0;
        return u32(at, type) && type == vtUI4 && fits(at + 4, 4);
    }

    // An item or header value at At: a 64-bit integer, a file time or a
    // UTF-16 text with its terminating zero counted and present.
    bool value(std::size_t at) const {
        std::uint32_t type = 0;
        if (!u32(at, type)) return false;
        at += 4;
        switch (type) {
        case vtI8:
        case vtFiletime:
            return fits(at, 8);
        case vtLpwstr: {
            std::uint32_t count = 0;
            if (!u32(at, count) || count < 1) return false;
            at += 4;
            const std::uint64_t bytes = static_cast<std::uint64_t>(count) * 2;
            if (bytes > size_ || !fits(at, static_cast<std::size_t>(bytes))) return false;
            return zeroAt(at + static_cast<std::size_t>(bytes) - 2, 2);
        }
        default:
            return false;
        }
    }

    // The 8-bit name dictionary at At: entries of id, length in bytes with
    // the terminating zero, and the name, unpadded.
    bool dictionary(std::size_t at) const {
        std::uint32_t entries = 0;
        if (!u32(at, entries)) return false;
        at += 4;
        // Every entry takes at least nine bytes, so the walk ends with the
        // section at the latest.
        for (std::uint32_t i = 0; i < entries; ++i) {
            std::uint32_t id = 0;
            std::uint32_t length = 0;
            if (!u32(at, id) || !u32(at + 4, length) || length < 1) return false;
            at += 8;
            if (!fits(at, length) || !zeroAt(at + length - 1, 1)) return false;
            at += length;
        }
        return true;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
};

std::uint32_t ReadU32(std::span<const std::uint8_t> s, std::size_t at) { return LoadU32(s.data() + at); }

bool IsSoundSection(std::span<const std::uint8_t> stream, std::size_t offset, TCodePageCheck usableCodePage) {
    if (offset > stream.size() || stream.size() - offset < SectionHeaderSize) return false;
    const std::uint32_t declared = ReadU32(stream, offset);
    const std::uint32_t count = ReadU32(stream, offset + 4);
    // Wine counts the padding after the last value in the section size but
    // does not write it, so a section may end up to three bytes beyond the
    // stream. Everything is checked against the bytes that are there.
    const std::size_t available = stream.size() - offset;
    if (declared < SectionHeaderSize || (declared > available && declared - available > 3)) return false;
    const std::size_t size = declared < available ? declared : available;
    if (count > (size - SectionHeaderSize) / PropertyEntrySize) return false;

    const TSection section(stream.data() + offset, size);
    bool haveDictionary = false;
    bool haveCodePage = false;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t id = 0;
        std::uint32_t at = 0;
        section.u32(SectionHeaderSize + i * PropertyEntrySize, id);
        section.u32(SectionHeaderSize + i * PropertyEntrySize + 4, at);
        if (at < SectionHeaderSize || at > size - 4) return false;
        bool sound = false;
        if (id == DictionaryId) {
            sound = !haveDictionary && section.dictionary(at);
            haveDictionary = true;
        } else if (id == CodePageId) {
            std::uint32_t page = 0;
            sound = !haveCodePage && section.codePage(at, page) && page != UnicodeCodePage && usableCodePage &&
                    usableCodePage(page);
            haveCodePage = true;
        } else if (id == LocaleId || id == BehaviorId) {
            sound = section.unsigned32(at);
        } else {
            sound = id < LocaleId && section.value(at);
        }
        if (!sound) return false;
    }
    return haveCodePage;
}

}  // namespace

bool IsSoundPropertySetStream(std::span<const std::uint8_t> stream, TCodePageCheck usableCodePage) noexcept {
    if (stream.empty()) return true;
    if (stream.size() > MaxPropertySetStreamSize || stream.size() < StreamHeaderSize + SectionEntrySize) return false;
    const auto byteOrder = static_cast<std::uint16_t>(stream[0] | (stream[1] << 8));
    const auto format = static_cast<std::uint16_t>(stream[2] | (stream[3] << 8));
    if (byteOrder != ByteOrderMark || format > 1 || ReadU32(stream, 24) != 1) return false;
    return IsSoundSection(stream, ReadU32(stream, StreamHeaderSize + 16), usableCodePage);
}

}  // namespace orvex
