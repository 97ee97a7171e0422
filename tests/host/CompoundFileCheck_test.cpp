#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "storage/pure/Orvex_CompoundFileCheck.h"
#include "tests/FuzzSeeds.h"

using namespace orvex;

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t EndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t FreeSector = 0xFFFFFFFF;
constexpr std::uint32_t FatSector = 0xFFFFFFFD;
constexpr std::uint32_t NoStream = 0xFFFFFFFF;

void Set16(Bytes& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void Set32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void Set64(Bytes& b, std::size_t at, std::uint64_t v) {
    Set32(b, at, static_cast<std::uint32_t>(v));
    Set32(b, at + 4, static_cast<std::uint32_t>(v >> 32));
}

struct TEntry {
    std::string name;
    std::uint8_t type = 0;
    std::uint32_t left = NoStream;
    std::uint32_t right = NoStream;
    std::uint32_t child = NoStream;
    std::uint32_t start = EndOfChain;
    std::uint64_t size = 0;
};

// A compound file laid out the way the platform writes one: stream data,
// the mini stream, the mini allocation table, the directory, and the
// allocation table last.
class TCompoundFileBuilder {
public:
    explicit TCompoundFileBuilder(int version = 3) : version_(version), sectorSize_(version == 4 ? 4096 : 512) {
        TEntry root;
        root.name = "Root Entry";
        root.type = 5;
        entries.push_back(root);
    }

    std::uint32_t storage(const std::string& name) {
        TEntry e;
        e.name = name;
        e.type = 1;
        entries.push_back(e);
        return static_cast<std::uint32_t>(entries.size() - 1);
    }

    std::uint32_t stream(const std::string& name, std::size_t size) {
        TEntry e;
        e.name = name;
        e.type = 2;
        e.size = size;
        if (size >= 4096)
            e.start = chain(Bytes(size, 0x5A));
        else if (size > 0)
            e.start = miniChain(size);
        entries.push_back(e);
        return static_cast<std::uint32_t>(entries.size() - 1);
    }

    Bytes build() {
        if (!mini_.empty()) {
            entries[0].start = chain(mini_);
            entries[0].size = mini_.size();
        }
        if (!miniFat_.empty()) {
            Bytes table;
            for (std::uint32_t v : miniFat_) Put32(table, v);
            while (table.size() % sectorSize_) Put32(table, FreeSector);
            miniFatStart = chain(table);
            miniFatCount = static_cast<std::uint32_t>(table.size() / sectorSize_);
        }
        Bytes dir;
        for (const TEntry& e : entries) AppendEntry(dir, e);
        while (dir.size() % sectorSize_) AppendEntry(dir, TEntry{});
        directoryStart = chain(dir);

        const std::size_t perSector = sectorSize_ / 4;
        std::uint32_t fatCount = 1;
        while ((sectors_.size() + fatCount) > fatCount * perSector) ++fatCount;
        fatStart = static_cast<std::uint32_t>(sectors_.size());
        for (std::uint32_t i = 0; i < fatCount; ++i) {
            fat_.push_back(FatSector);
            sectors_.push_back(Bytes(sectorSize_, 0));
        }
        while (fat_.size() < fatCount * perSector) fat_.push_back(FreeSector);
        for (std::uint32_t i = 0; i < fatCount; ++i)
            for (std::size_t j = 0; j < perSector; ++j) Set32(sectors_[fatStart + i], 4 * j, fat_[i * perSector + j]);

        Bytes file(sectorSize_, 0);
        const std::uint8_t signature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
        for (int i = 0; i < 8; ++i) file[i] = signature[i];
        Set16(file, 24, 0x3E);
        Set16(file, 26, static_cast<std::uint16_t>(version_));
        Set16(file, 28, 0xFFFE);
        Set16(file, 30, version_ == 4 ? 12 : 9);
        Set16(file, 32, 6);
        Set32(file, 44, fatCount);
        Set32(file, 48, directoryStart);
        Set32(file, 56, 4096);
        Set32(file, 60, miniFat_.empty() ? EndOfChain : miniFatStart);
        Set32(file, 64, miniFatCount);
        Set32(file, 68, EndOfChain);
        Set32(file, 72, 0);
        for (int i = 0; i < 109; ++i)
            Set32(file, 76 + 4 * i, i < static_cast<int>(fatCount) ? fatStart + i : FreeSector);
        for (const Bytes& s : sectors_) file.insert(file.end(), s.begin(), s.end());
        return file;
    }

    // Offsets in the built file.
    std::size_t sectorOffset(std::uint32_t s) const { return (static_cast<std::size_t>(s) + 1) * sectorSize_; }
    std::size_t entryOffset(std::uint32_t id) const {
        // The directory's sectors are consecutive.
        return sectorOffset(directoryStart) + id * 128;
    }
    std::size_t fatEntryOffset(std::uint32_t s) const { return sectorOffset(fatStart) + 4 * s; }
    std::size_t sectorSize() const { return sectorSize_; }

    std::vector<TEntry> entries;
    std::uint32_t directoryStart = 0;
    std::uint32_t fatStart = 0;
    std::uint32_t miniFatStart = 0;
    std::uint32_t miniFatCount = 0;

private:
    static void Put32(Bytes& b, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void AppendEntry(Bytes& dir, const TEntry& e) {
        Bytes raw(128, 0);
        for (std::size_t i = 0; i < e.name.size() && i < 31; ++i)
            Set16(raw, 2 * i, static_cast<std::uint8_t>(e.name[i]));
        Set16(raw, 64, static_cast<std::uint16_t>(e.name.empty() ? 0 : 2 * (e.name.size() + 1)));
        raw[66] = e.type;
        raw[67] = 1;
        Set32(raw, 68, e.left);
        Set32(raw, 72, e.right);
        Set32(raw, 76, e.child);
        Set32(raw, 116, e.type == 0 ? 0 : e.start);
        if (version_ == 4)
            Set64(raw, 120, e.size);
        else
            Set32(raw, 120, static_cast<std::uint32_t>(e.size));
        dir.insert(dir.end(), raw.begin(), raw.end());
    }
    std::uint32_t chain(const Bytes& data) {
        const std::uint32_t first = static_cast<std::uint32_t>(sectors_.size());
        const std::size_t n = (data.size() + sectorSize_ - 1) / sectorSize_;
        for (std::size_t i = 0; i < n; ++i) {
            Bytes s(sectorSize_, 0);
            for (std::size_t j = 0; j < sectorSize_ && i * sectorSize_ + j < data.size(); ++j)
                s[j] = data[i * sectorSize_ + j];
            sectors_.push_back(s);
            fat_.push_back(i + 1 < n ? first + static_cast<std::uint32_t>(i) + 1 : EndOfChain);
        }
        return first;
    }
    std::uint32_t miniChain(std::size_t size) {
        const std::uint32_t first = static_cast<std::uint32_t>(miniFat_.size());
        const std::size_t n = (size + 63) / 64;
        for (std::size_t i = 0; i < n; ++i) {
            miniFat_.push_back(i + 1 < n ? first + static_cast<std::uint32_t>(i) + 1 : EndOfChain);
            mini_.insert(mini_.end(), 64, 0x33);
        }
        return first;
    }

    int version_;
    std::size_t sectorSize_;
    std::vector<Bytes> sectors_;
    std::vector<std::uint32_t> fat_;
    Bytes mini_;
    std::vector<std::uint32_t> miniFat_;
};

// Root, "ProcessList" with item "0" holding a small set stream, and a big
// stream beside the list.
struct TSample {
    explicit TSample(int version = 3) : b(version) {
        list = b.storage("ProcessList");
        item = b.storage("0");
        set = b.stream(
            "\x05"
            "DocumentSummaryInformation",
            300);
        big = b.stream("Contents", 5000);
        b.entries[0].child = list;
        b.entries[list].right = big;
        b.entries[list].child = item;
        b.entries[item].child = set;
        file = b.build();
    }
    TCompoundFileBuilder b;
    std::uint32_t list, item, set, big;
    Bytes file;
};

// Files that pass are kept as seeds of the fuzz target.
bool Sound(const Bytes& f) {
    const bool sound = IsSoundCompoundFile(f);
    if (sound) orvex::test::KeepFuzzSeed("compound_file_check", f.data(), f.size());
    return sound;
}

}  // namespace

TEST(CompoundFileCheck, FilesAsThePlatformWritesThemAreSound) {
    EXPECT_TRUE(Sound(TSample(3).file));
    EXPECT_TRUE(Sound(TSample(4).file));
    TCompoundFileBuilder empty;
    EXPECT_TRUE(Sound(empty.build())) << "a root without elements";
}

TEST(CompoundFileCheck, EveryShortenedFileIsRefused) {
    for (int version : {3, 4}) {
        const TSample s(version);
        for (std::size_t cut = 1; cut < s.file.size(); cut += cut < 600 ? 1 : 97)
            EXPECT_FALSE(Sound(Bytes(s.file.begin(), s.file.end() - static_cast<std::ptrdiff_t>(cut))))
                << "version " << version << " without its last " << cut << " bytes";
    }
}

TEST(CompoundFileCheck, HeaderFieldsAreChecked) {
    const TSample s;
    Bytes f = s.file;
    f[0] = 0;
    EXPECT_FALSE(Sound(f)) << "signature";
    f = s.file;
    Set16(f, 28, 0xFEFF);
    EXPECT_FALSE(Sound(f)) << "byte order";
    f = s.file;
    Set16(f, 30, 12);
    EXPECT_FALSE(Sound(f)) << "version 3 with 4096-byte sectors";
    f = s.file;
    Set32(f, 56, 512);
    EXPECT_FALSE(Sound(f)) << "mini stream cutoff";
    f = s.file;
    Set32(f, 44, 0x7FFFFFFF);
    EXPECT_FALSE(Sound(f)) << "allocation table sectors beyond the file";
    f = s.file;
    Set32(f, 76, 5000);
    EXPECT_FALSE(Sound(f)) << "allocation table sector outside the file";
    f = s.file;
    Set32(f, 48, EndOfChain);
    EXPECT_FALSE(Sound(f)) << "no directory";
    EXPECT_FALSE(Sound(Bytes(100, 0)));
}

TEST(CompoundFileCheck, DirectoryLinksMustFormATree) {
    const TSample s;
    Bytes f = s.file;
    Set32(f, s.b.entryOffset(s.big) + 72, s.list);
    EXPECT_FALSE(Sound(f)) << "a sibling pointing back";
    f = s.file;
    Set32(f, s.b.entryOffset(s.item) + 76, 0);
    EXPECT_FALSE(Sound(f)) << "a child that is the root";
    f = s.file;
    Set32(f, s.b.entryOffset(s.set) + 68, 4000);
    EXPECT_FALSE(Sound(f)) << "an id beyond the directory";
    f = s.file;
    Set32(f, s.b.entryOffset(0) + 72, s.big);
    EXPECT_FALSE(Sound(f)) << "the root with a sibling";
    f = s.file;
    Set32(f, s.b.entryOffset(s.set) + 72, 6);
    EXPECT_FALSE(Sound(f)) << "an unused entry in the tree";
    f = s.file;
    f[s.b.entryOffset(0) + 66] = 1;
    EXPECT_FALSE(Sound(f)) << "entry 0 is no root";
    f = s.file;
    Set16(f, s.b.entryOffset(s.list) + 64, 70);
    EXPECT_FALSE(Sound(f)) << "a name longer than its field";
    // A directory sector whose links read 0: every one of them is the root.
    f = s.file;
    for (std::size_t i = 0; i < 4 * 128; ++i)
        if (i % 128 >= 64) f[s.b.entryOffset(0) + i] = 0;
    EXPECT_FALSE(Sound(f));
}

TEST(CompoundFileCheck, ChainsMustEndInsideTheFileAndHoldTheirSize) {
    const TSample s;
    const std::uint32_t bigStart = s.b.entries[s.big].start;
    Bytes f = s.file;
    Set32(f, s.b.fatEntryOffset(bigStart + 9), bigStart);
    EXPECT_FALSE(Sound(f)) << "a stream chain that loops";
    f = s.file;
    Set32(f, s.b.fatEntryOffset(bigStart), 3000);
    EXPECT_FALSE(Sound(f)) << "a chain leaving the file";
    f = s.file;
    Set32(f, s.b.entryOffset(s.big) + 120, 9000);
    EXPECT_FALSE(Sound(f)) << "a stream longer than its chain";
    f = s.file;
    Set32(f, s.b.entryOffset(s.set) + 120, 1000);
    EXPECT_FALSE(Sound(f)) << "a small stream longer than its mini chain";
    f = s.file;
    Set32(f, s.b.entryOffset(s.set) + 116, 40);
    EXPECT_FALSE(Sound(f)) << "a mini chain beyond the mini stream";
    f = s.file;
    Set32(f, s.b.entryOffset(s.set) + 116, 0);
    Set32(f, s.b.entryOffset(s.list) + 68, s.set);
    EXPECT_FALSE(Sound(f)) << "an entry reached twice";
    f = s.file;
    Set32(f, s.b.entryOffset(s.big) + 116, s.b.directoryStart);
    Set32(f, s.b.entryOffset(s.big) + 120, 4096);
    EXPECT_FALSE(Sound(f)) << "a stream sharing the directory's sectors";
    f = s.file;
    Set32(f, s.b.entryOffset(0) + 120, 100000);
    EXPECT_FALSE(Sound(f)) << "a mini stream longer than the root's chain";
}

TEST(CompoundFileCheck, DeepTreesAreWalkedWithoutRecursion) {
    // Names inserted in order make a tree that is one long list.
    TCompoundFileBuilder b;
    const std::uint32_t list = b.storage("DriverList");
    b.entries[0].child = list;
    std::uint32_t previous = NoStream;
    for (int i = 0; i < 30000; ++i) {
        const std::uint32_t id = b.storage(std::to_string(i));
        if (previous == NoStream)
            b.entries[list].child = id;
        else
            b.entries[previous].right = id;
        previous = id;
    }
    const Bytes f = b.build();
    EXPECT_TRUE(Sound(f));
    Bytes loop = f;
    Set32(loop, b.entryOffset(previous) + 72, list + 1);
    EXPECT_FALSE(Sound(loop));
}

TEST(CompoundFileCheck, NamesAreThoseThePlatformWrites) {
    const TSample s;
    const std::size_t list = s.b.entryOffset(s.list);
    Bytes f = s.file;
    Set16(f, list + 2 * 11, 'X');  // over the zero after "ProcessList"
    EXPECT_FALSE(Sound(f)) << "a name without its zero";
    f = s.file;
    Set16(f, list + 2 * 3, 0);
    EXPECT_FALSE(Sound(f)) << "a zero inside the name";
    for (std::uint16_t bytes : {0, 2, 3, 66}) {
        f = s.file;
        Set16(f, list + 64, bytes);
        EXPECT_FALSE(Sound(f)) << "name byte count " << bytes;
    }
    f = s.file;
    Set16(f, s.b.entryOffset(0) + 64, 0);
    EXPECT_FALSE(Sound(f)) << "a root without a name";
    f = s.file;
    for (std::size_t i = 0; i < 64; i += 2) Set16(f, list + i, 'A');
    Set16(f, list + 64, 64);
    EXPECT_FALSE(Sound(f)) << "32 characters fill the field and leave no room for the zero";
    f = s.file;
    for (std::size_t i = 0; i < 62; i += 2) Set16(f, list + i, 'A');
    Set16(f, list + 62, 0);
    Set16(f, list + 64, 64);
    EXPECT_TRUE(Sound(f)) << "31 characters and the zero";
}

TEST(CompoundFileCheck, StreamsHaveNoChildrenAndVersion3SizesHave32Bits) {
    const TSample s;
    Bytes f = s.file;
    Set32(f, s.b.entryOffset(s.set) + 76, s.big);
    Set32(f, s.b.entryOffset(s.list) + 72, NoStream);
    EXPECT_FALSE(Sound(f)) << "a stream with a child";
    f = s.file;
    Set32(f, s.b.entryOffset(s.set) + 124, 1);
    EXPECT_FALSE(Sound(f)) << "a version 3 stream size beyond 32 bits";
    f = s.file;
    Set32(f, s.b.entryOffset(0) + 124, 1);
    EXPECT_FALSE(Sound(f)) << "a version 3 mini stream size beyond 32 bits";
}

TEST(CompoundFileCheck, AllocationTableSectorsAreMarkedAndBelongToNoChain) {
    const TSample s;
    const std::uint32_t fatStart = s.b.fatStart;
    Bytes f = s.file;
    Set32(f, s.b.fatEntryOffset(fatStart), FreeSector);
    EXPECT_FALSE(Sound(f)) << "a table sector the table calls free";
    f = s.file;
    Set32(f, s.b.fatEntryOffset(fatStart), EndOfChain);
    EXPECT_FALSE(Sound(f)) << "a table sector marked as a chain's end";
    f = s.file;
    Set32(f, s.b.entryOffset(s.big) + 116, fatStart);
    Set32(f, s.b.entryOffset(s.big) + 120, 4096);
    EXPECT_FALSE(Sound(f)) << "a stream whose chain starts in the table";
    f = s.file;
    const std::uint32_t bigStart = s.b.entries[s.big].start;
    Set32(f, s.b.fatEntryOffset(bigStart + 2), fatStart);
    EXPECT_FALSE(Sound(f)) << "a stream whose chain runs into the table";
    f = s.file;
    Set32(f, 44, 2);
    Set32(f, 80, fatStart);
    EXPECT_FALSE(Sound(f)) << "one table sector listed twice";
}
