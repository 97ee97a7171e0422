#include "storage/pure/Orvex_CompoundFileCheck.h"

#include <vector>

#include "storage/pure/Orvex_LittleEndian.h"

namespace orvex {

namespace {

constexpr std::uint8_t Signature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr std::size_t HeaderSize = 512;
constexpr std::size_t HeaderDifatEntries = 109;
constexpr std::size_t DirectoryEntrySize = 128;
constexpr std::size_t MiniSectorSize = 64;
constexpr std::uint32_t MiniStreamCutoff = 4096;
constexpr std::uint32_t EndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t NoStream = 0xFFFFFFFF;
constexpr std::uint32_t FatSectorMark = 0xFFFFFFFD;
constexpr std::uint32_t DifatSectorMark = 0xFFFFFFFC;
constexpr std::size_t NameBytes = 64;
constexpr std::uint8_t StorageObject = 1;
constexpr std::uint8_t StreamObject = 2;
constexpr std::uint8_t RootObject = 5;

std::uint16_t U16(const std::uint8_t* p) { return LoadU16(p); }
std::uint32_t U32(const std::uint8_t* p) { return LoadU32(p); }
std::uint64_t U64(const std::uint8_t* p) { return U32(p) | (static_cast<std::uint64_t>(U32(p + 4)) << 32); }

class TCompoundFile {
public:
    explicit TCompoundFile(std::span<const std::uint8_t> file) : file_(file) {}

    bool check() {
        if (file_.size() < HeaderSize) return false;
        const std::uint8_t* h = file_.data();
        for (std::size_t i = 0; i < sizeof Signature; ++i)
            if (h[i] != Signature[i]) return false;
        const std::uint16_t major = U16(h + 26);
        const std::uint16_t shift = U16(h + 30);
        if (U16(h + 28) != 0xFFFE || U16(h + 32) != 6 || U32(h + 56) != MiniStreamCutoff) return false;
        if (!((major == 3 && shift == 9) || (major == 4 && shift == 12))) return false;
        version4_ = major == 4;
        sectorSize_ = std::size_t{1} << shift;
        if (file_.size() < sectorSize_) return false;
        // Only whole sectors count; sector n starts after the header sector.
        present_ = (file_.size() - sectorSize_) / sectorSize_;

        if (!readFat(h)) return false;
        std::vector<std::uint32_t> directory;
        if (!chain(U32(h + 48), directory) || directory.empty()) return false;
        std::vector<std::uint32_t> miniFatSectors;
        if (!chain(U32(h + 60), miniFatSectors) || miniFatSectors.size() < U32(h + 64)) return false;
        for (std::uint32_t s : miniFatSectors) appendEntries(s, miniFat_);
        return directoryTree(directory);
    }

private:
    const std::uint8_t* sector(std::uint32_t s) const {
        return file_.data() + (static_cast<std::size_t>(s) + 1) * sectorSize_;
    }
    std::size_t perSector() const { return sectorSize_ / 4; }
    void appendEntries(std::uint32_t s, std::vector<std::uint32_t>& out) const {
        const std::uint8_t* p = sector(s);
        for (std::size_t i = 0; i < perSector(); ++i) out.push_back(U32(p + 4 * i));
    }

    // The allocation table from the sectors that the header and the DIFAT
    // sectors list.
    bool readFat(const std::uint8_t* h) {
        const std::uint32_t fatSectors = U32(h + 44);
        const std::uint32_t difatSectors = U32(h + 72);
        if (fatSectors > present_ || difatSectors > present_) return false;
        std::vector<std::uint32_t> list;
        for (std::size_t i = 0; i < HeaderDifatEntries && list.size() < fatSectors; ++i)
            list.push_back(U32(h + 76 + 4 * i));
        std::uint32_t next = U32(h + 68);
        std::vector<std::uint32_t> difat;
        for (std::uint32_t n = 0; list.size() < fatSectors; ++n) {
            if (n >= difatSectors || next >= present_) return false;
            difat.push_back(next);
            const std::uint8_t* p = sector(next);
            for (std::size_t i = 0; i + 1 < perSector() && list.size() < fatSectors; ++i)
                list.push_back(U32(p + 4 * i));
            next = U32(p + sectorSize_ - 4);
        }
        for (std::uint32_t s : list) {
            if (s >= present_) return false;
            appendEntries(s, fat_);
        }
        // The table's own sectors and those of its index are marked as such
        // and belong to no chain: the platform writes the table in place and
        // hands out sectors the table calls free, so a table sector that a
        // stream also uses, or that reads as free, would be overwritten
        // while the file is open.
        used_.assign(fat_.size(), false);
        return claim(list, FatSectorMark) && claim(difat, DifatSectorMark);
    }

    bool claim(const std::vector<std::uint32_t>& sectors, std::uint32_t mark) {
        for (std::uint32_t s : sectors) {
            if (s >= fat_.size() || fat_[s] != mark || used_[s]) return false;
            used_[s] = true;
        }
        return true;
    }

    // Follows a chain of the allocation table from Start to its end; false
    // for a sector outside the file or the table, or one that an earlier
    // chain (or this one, looping) already holds. Claiming every sector once
    // keeps the whole check linear in the size of the file.
    bool chain(std::uint32_t start, std::vector<std::uint32_t>& sectors) {
        sectors.clear();
        for (std::uint32_t s = start; s != EndOfChain;) {
            if (s >= present_ || s >= fat_.size() || used_[s]) return false;
            used_[s] = true;
            sectors.push_back(s);
            s = fat_[s];
        }
        return true;
    }

    // The same in the mini allocation table, within the mini stream.
    bool miniChain(std::uint32_t start, std::size_t& length) {
        length = 0;
        if (miniUsed_.size() != miniFat_.size()) miniUsed_.assign(miniFat_.size(), false);
        for (std::uint32_t s = start; s != EndOfChain;) {
            if (s >= miniSectors_ || s >= miniFat_.size() || miniUsed_[s]) return false;
            miniUsed_[s] = true;
            ++length;
            s = miniFat_[s];
        }
        return true;
    }

    std::uint64_t streamSize(const std::uint8_t* e) const { return U64(e + 120); }

    // A name as the platform writes it: its byte count, at most 64, covers
    // at least one character and the terminating zero, which is its only
    // zero. The platform compares and copies names by their zero.
    static bool soundName(const std::uint8_t* e) {
        const std::uint16_t bytes = U16(e + 64);
        if (bytes < 4 || bytes > NameBytes || bytes % 2 != 0) return false;
        for (std::size_t i = 0; i + 2 < bytes; i += 2)
            if (U16(e + i) == 0) return false;
        return U16(e + bytes - 2) == 0;
    }

    bool streamFits(const std::uint8_t* e) {
        const std::uint64_t size = streamSize(e);
        if (size == 0) return true;
        const std::uint32_t start = U32(e + 116);
        if (size < MiniStreamCutoff) {
            std::size_t length = 0;
            return miniChain(start, length) && length * MiniSectorSize >= size;
        }
        std::vector<std::uint32_t> sectors;
        return chain(start, sectors) && sectors.size() * static_cast<std::uint64_t>(sectorSize_) >= size;
    }

    bool directoryTree(const std::vector<std::uint32_t>& directory) {
        std::vector<const std::uint8_t*> entries;
        for (std::uint32_t s : directory)
            for (std::size_t i = 0; i < sectorSize_ / DirectoryEntrySize; ++i)
                entries.push_back(sector(s) + i * DirectoryEntrySize);

        const std::uint8_t* root = entries[0];
        if (root[66] != RootObject || U32(root + 68) != NoStream || U32(root + 72) != NoStream || !soundName(root))
            return false;
        // The root's chain is the mini stream. Version 3 files keep sizes
        // in 32 bits; the platform writes the upper half as zero.
        const std::uint64_t miniSize = streamSize(root);
        if (!version4_ && miniSize > 0xFFFFFFFFu) return false;
        std::vector<std::uint32_t> miniStream;
        if (miniSize > 0 && (!chain(U32(root + 116), miniStream) ||
                             miniStream.size() * static_cast<std::uint64_t>(sectorSize_) < miniSize))
            return false;
        miniSectors_ = static_cast<std::size_t>(miniSize / MiniSectorSize);

        // Iteratively: trees written in name order are lists thousands deep.
        std::vector<bool> seen(entries.size(), false);
        seen[0] = true;
        std::vector<std::uint32_t> pending{U32(root + 76)};
        while (!pending.empty()) {
            const std::uint32_t id = pending.back();
            pending.pop_back();
            if (id == NoStream) continue;
            if (id >= entries.size() || seen[id]) return false;
            seen[id] = true;
            const std::uint8_t* e = entries[id];
            if (!soundName(e)) return false;
            if (e[66] == StreamObject) {
                // A stream has no children; its size fits its chain.
                if (U32(e + 76) != NoStream || (!version4_ && streamSize(e) > 0xFFFFFFFFu) || !streamFits(e))
                    return false;
            } else if (e[66] == StorageObject) {
                pending.push_back(U32(e + 76));
            } else {
                return false;
            }
            pending.push_back(U32(e + 68));
            pending.push_back(U32(e + 72));
        }
        return true;
    }

    std::span<const std::uint8_t> file_;
    bool version4_ = false;
    std::size_t sectorSize_ = 0;
    std::size_t present_ = 0;
    std::size_t miniSectors_ = 0;
    std::vector<std::uint32_t> fat_;
    std::vector<std::uint32_t> miniFat_;
    std::vector<bool> used_;
    std::vector<bool> miniUsed_;
};

}  // namespace

bool IsSoundCompoundFile(std::span<const std::uint8_t> file) noexcept {
    try {
        return TCompoundFile(file).check();
    } catch (...) {
        return false;  // out of memory for the tables
    }
}

}  // namespace orvex
