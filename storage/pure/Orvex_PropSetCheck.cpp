#include "storage/pure/Orvex_PropSetCheck.h"

#include "storage/pure/Orvex_LittleEndian.h"

namespace orvex {

namespace {

constexpr std::uint16_t ByteOrderMark = 0xFFFE;
constexpr std::uint32_t UnicodeCodePage = 1200;
constexpr std::uint32_t DictionaryId = 0;
constexpr std::uint32_t CodePageId = 1;
// Byte order, format, originating system, class id, section count.
constexpr std::size_t StreamHeaderSize = 28;
// Format id and offset of one section.
constexpr std::size_t SectionEntrySize = 20;
// Section size and property count; then one id and offset per property.
constexpr std::size_t SectionHeaderSize = 8;
constexpr std::size_t PropertyEntrySize = 8;

// Variant types (the platform's numbering).
enum : std::uint16_t {
    vtEmpty = 0,
    vtNull = 1,
    vtI2 = 2,
    vtI4 = 3,
    vtR4 = 4,
    vtR8 = 5,
    vtCy = 6,
    vtDate = 7,
    vtError = 10,
    vtBool = 11,
    vtVariant = 12,
    vtI1 = 16,
    vtUI1 = 17,
    vtUI2 = 18,
    vtUI4 = 19,
    vtI8 = 20,
    vtUI8 = 21,
    vtInt = 22,
    vtUInt = 23,
    vtLpstr = 30,
    vtLpwstr = 31,
    vtFiletime = 64,
    vtBlob = 65,
    vtCf = 71,
    vtClsid = 72,
    vtVector = 0x1000,
};

// Bytes of a fixed-size value, 0 for the other types.
std::size_t FixedSize(std::uint16_t vt) {
    switch (vt) {
        case vtI1:
        case vtUI1:
            return 1;
        case vtI2:
        case vtUI2:
        case vtBool:
            return 2;
        case vtI4:
        case vtUI4:
        case vtInt:
        case vtUInt:
        case vtR4:
        case vtError:
            return 4;
        case vtI8:
        case vtUI8:
        case vtR8:
        case vtCy:
        case vtDate:
        case vtFiletime:
            return 8;
        case vtClsid:
            return 16;
        default:
            return 0;
    }
}

std::size_t Padded(std::size_t n) { return (n + 3) & ~static_cast<std::size_t>(3); }

// Bounded little-endian reads inside one section.
class TSection {
public:
    TSection(const std::uint8_t* data, std::size_t size, std::uint32_t codePage)
        : data_(data), size_(size), codePage_(codePage) {}

    std::size_t size() const { return size_; }
    bool unicode() const { return codePage_ == UnicodeCodePage; }

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

    // One value of type Vt (no vector) at At; At moves past it.
    bool scalar(std::uint16_t vt, std::size_t& at) const {
        if (vt == vtEmpty || vt == vtNull) return true;
        if (const std::size_t n = FixedSize(vt)) {
            if (!fits(at, n)) return false;
            at += n;
            return true;
        }
        std::uint32_t count = 0;
        if (!u32(at, count)) return false;
        at += 4;
        switch (vt) {
            case vtLpstr: {
                // A byte count with the terminating zero; UTF-16 sets store
                // these texts in UTF-16 as well.
                const std::size_t minimum = unicode() ? 2 : 1;
                if (count < minimum || (unicode() && count % 2 != 0) || !fits(at, count)) return false;
                at += Padded(count);
                return true;
            }
            case vtLpwstr: {
                const std::uint64_t bytes = static_cast<std::uint64_t>(count) * 2;
                if (count < 1 || bytes > size_ || !fits(at, static_cast<std::size_t>(bytes))) return false;
                at += Padded(static_cast<std::size_t>(bytes));
                return true;
            }
            case vtBlob:
                if (!fits(at, count)) return false;
                at += count;
                return true;
            case vtCf: {
                // Size, format tag, then Size - 12 bytes of data.
                std::uint32_t tag = 0;
                if (count < 12 || !u32(at, tag) || !fits(at + 4, count - 12)) return false;
                at += 4 + Padded(count - 12);
                return true;
            }
            default:
                return false;
        }
    }

    // The typed value at At: its type word (the upper half zero) and the
    // value or vector.
    bool value(std::size_t at) const {
        std::uint32_t type = 0;
        if (!u32(at, type) || (type >> 16) != 0) return false;
        at += 4;
        const auto vt = static_cast<std::uint16_t>(type);
        if ((vt & vtVector) == 0) return scalar(vt, at);

        const auto element = static_cast<std::uint16_t>(vt & ~vtVector);
        if (!vectorElement(element)) return false;
        std::uint32_t count = 0;
        if (!u32(at, count)) return false;
        at += 4;
        // Every element takes at least one byte, so the walk ends with the
        // section at the latest.
        for (std::uint32_t i = 0; i < count; ++i) {
            std::uint16_t inner = element;
            if (element == vtVariant) {
                at = Padded(at);
                std::uint32_t innerType = 0;
                if (!u32(at, innerType) || (innerType >> 16) != 0) return false;
                at += 4;
                inner = static_cast<std::uint16_t>(innerType);
                if (!variantElement(inner)) return false;
            }
            if (!scalar(inner, at)) return false;
        }
        return true;
    }

    // The name dictionary at At: entries of id, length in characters with
    // the terminating zero, and the name (UTF-16 names padded to four bytes).
    bool dictionary(std::size_t at) const {
        std::uint32_t entries = 0;
        if (!u32(at, entries)) return false;
        at += 4;
        for (std::uint32_t i = 0; i < entries; ++i) {
            std::uint32_t id = 0;
            std::uint32_t length = 0;
            if (!u32(at, id) || !u32(at + 4, length) || length < 1) return false;
            at += 8;
            const std::size_t width = unicode() ? 2 : 1;
            const std::uint64_t bytes = static_cast<std::uint64_t>(length) * width;
            if (bytes > size_) return false;
            const std::size_t taken = unicode() ? Padded(static_cast<std::size_t>(bytes)) : static_cast<std::size_t>(bytes);
            if (!fits(at, taken) || !zeroAt(at + static_cast<std::size_t>(bytes) - width, width)) return false;
            at += taken;
        }
        return true;
    }

private:
    static bool vectorElement(std::uint16_t vt) {
        return vt == vtVariant || vt == vtLpstr || vt == vtLpwstr || FixedSize(vt) != 0;
    }
    static bool variantElement(std::uint16_t vt) {
        return vt == vtEmpty || vt == vtNull || vt == vtLpstr || vt == vtLpwstr || vt == vtBlob || vt == vtCf ||
               FixedSize(vt) != 0;
    }

    const std::uint8_t* data_;
    std::size_t size_;
    std::uint32_t codePage_;
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

    // The code page decides how the dictionary and the 8-bit texts read;
    // without one the set is taken as UTF-16.
    const TSection raw(stream.data() + offset, size, UnicodeCodePage);
    std::uint32_t codePage = UnicodeCodePage;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t id = 0;
        std::uint32_t at = 0;
        raw.u32(SectionHeaderSize + i * PropertyEntrySize, id);
        raw.u32(SectionHeaderSize + i * PropertyEntrySize + 4, at);
        if (at < SectionHeaderSize || at > size - 4) return false;
        std::uint32_t type = 0;
        std::uint16_t page = 0;
        if (id == CodePageId && raw.u32(at, type) && type == vtI2 && raw.u16(at + 4, page)) codePage = page;
    }
    if (codePage != UnicodeCodePage && (!usableCodePage || !usableCodePage(codePage))) return false;

    const TSection section(stream.data() + offset, size, codePage);
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t id = 0;
        std::uint32_t at = 0;
        section.u32(SectionHeaderSize + i * PropertyEntrySize, id);
        section.u32(SectionHeaderSize + i * PropertyEntrySize + 4, at);
        if (!(id == DictionaryId ? section.dictionary(at) : section.value(at))) return false;
    }
    return true;
}

}  // namespace

bool IsSoundPropertySetStream(std::span<const std::uint8_t> stream, TCodePageCheck usableCodePage) noexcept {
    if (stream.empty()) return true;
    if (stream.size() > MaxPropertySetStreamSize || stream.size() < StreamHeaderSize + SectionEntrySize) return false;
    const auto byteOrder = static_cast<std::uint16_t>(stream[0] | (stream[1] << 8));
    const auto format = static_cast<std::uint16_t>(stream[2] | (stream[3] << 8));
    const std::uint32_t sections = ReadU32(stream, 24);
    if (byteOrder != ByteOrderMark || format > 1 || sections < 1 || sections > 2) return false;
    if (stream.size() < StreamHeaderSize + sections * SectionEntrySize) return false;
    for (std::uint32_t i = 0; i < sections; ++i) {
        const std::uint32_t offset = ReadU32(stream, StreamHeaderSize + i * SectionEntrySize + 16);
        if (!IsSoundSection(stream, offset, usableCodePage)) return false;
    }
    return true;
}

}  // namespace orvex
