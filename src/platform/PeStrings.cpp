// PE string-table reader (see PeStrings.h).
#include "platform/PeStrings.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

#include "common/PathText.h"

namespace lumivane {

namespace {

constexpr std::uint16_t kDosMagic = 0x5A4D;        // "MZ"
constexpr std::uint32_t kPeSignature = 0x00004550; // "PE\0\0"
constexpr std::uint16_t kMagicPe32 = 0x10B;
constexpr std::uint16_t kMagicPe32Plus = 0x20B;
constexpr std::uint32_t kResourceDirectoryIndex = 2; // IMAGE_DIRECTORY_ENTRY_RESOURCE
constexpr std::uint32_t kSubdirectoryFlag = 0x80000000u;
constexpr std::uint32_t kNameIsStringFlag = 0x80000000u;
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kDirectoryTableSize = 16;
constexpr std::size_t kDirectoryEntrySize = 8;
constexpr std::size_t kDataEntrySize = 16;
constexpr int kStringsPerBlock = 16;
constexpr std::uint16_t kPrimaryLanguageMask = 0x03FF;
constexpr char kEnglishUnitedStatesName[] = "en-US";

std::uint16_t Le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t Le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// The reader's small reads (headers, directory tables, entries) go through a
// few cached pages: they mostly fall in two or three pages of the file, and each
// read of the file itself is a system call (under Wine, a trip to its server).
class PagedFile {
public:
    PagedFile(InputFile& file, std::uint64_t size) : file_(file), size_(size) {}

    // The range must lie within the file.
    bool Read(std::uint64_t offset, void* buffer, std::uint64_t count) {
        if (count > kPageSize)
            return file_.ReadAt(offset, buffer, static_cast<std::size_t>(count)) == count;
        auto* out = static_cast<std::uint8_t*>(buffer);
        while (count > 0) {
            const Page* page = Fetch(offset / kPageSize);
            const std::uint64_t within = offset % kPageSize;
            if (!page || within >= page->bytes.size())
                return false;
            const std::uint64_t n = std::min<std::uint64_t>(count, page->bytes.size() - within);
            std::copy_n(page->bytes.begin() + static_cast<std::ptrdiff_t>(within), n, out);
            out += n;
            offset += n;
            count -= n;
        }
        return true;
    }

private:
    static constexpr std::uint64_t kPageSize = 4096;
    struct Page {
        std::uint64_t number = 0;
        std::vector<std::uint8_t> bytes; // empty: not loaded
    };

    const Page* Fetch(std::uint64_t number) {
        for (const Page& page : pages_)
            if (!page.bytes.empty() && page.number == number)
                return &page;
        const std::uint64_t start = number * kPageSize;
        if (start >= size_)
            return nullptr;
        Page& page = pages_[next_];
        next_ = (next_ + 1) % pages_.size();
        page.number = number;
        page.bytes.resize(static_cast<std::size_t>(std::min(kPageSize, size_ - start)));
        if (file_.ReadAt(start, page.bytes.data(), page.bytes.size()) != page.bytes.size()) {
            page.bytes.clear();
            return nullptr;
        }
        return &page;
    }

    InputFile& file_;
    std::uint64_t size_;
    std::array<Page, 4> pages_;
    std::size_t next_ = 0;
};

struct Section {
    std::uint32_t virtualAddress = 0;
    std::uint32_t rawSize = 0;
    std::uint32_t rawOffset = 0;
};

class PeImage {
public:
    explicit PeImage(InputFile& file) : size_(file.Size()), file_(file, size_) {}

    // Fills the section table and the resource directory's address.
    bool ReadHeaders() {
        std::array<std::uint8_t, 64> dos{};
        if (!ReadFile(0, dos.data(), dos.size()) || Le16(dos.data()) != kDosMagic)
            return false;
        const std::uint64_t peOffset = Le32(dos.data() + 0x3C);
        std::array<std::uint8_t, 24> pe{}; // signature and COFF file header
        if (!ReadFile(peOffset, pe.data(), pe.size()) || Le32(pe.data()) != kPeSignature)
            return false;
        const std::uint16_t sectionCount = Le16(pe.data() + 6);
        const std::uint16_t optionalSize = Le16(pe.data() + 20);
        const std::uint64_t optionalOffset = peOffset + pe.size();

        std::vector<std::uint8_t> optional(optionalSize);
        if (optionalSize < 2 || !ReadFile(optionalOffset, optional.data(), optional.size()))
            return false;
        std::size_t countField = 0;
        const std::uint16_t magic = Le16(optional.data());
        if (magic == kMagicPe32)
            countField = 92;
        else if (magic == kMagicPe32Plus)
            countField = 108;
        else
            return false;
        const std::size_t directories = countField + 4;
        const std::size_t resourceField = directories + kResourceDirectoryIndex * 8;
        if (optional.size() < resourceField + 8 || Le32(optional.data() + countField) <= kResourceDirectoryIndex)
            return false;
        resourceRva_ = Le32(optional.data() + resourceField);
        if (resourceRva_ == 0 || Le32(optional.data() + resourceField + 4) == 0)
            return false;

        std::vector<std::uint8_t> table(std::size_t{sectionCount} * kSectionHeaderSize);
        if (!ReadFile(optionalOffset + optionalSize, table.data(), table.size()))
            return false;
        for (std::size_t i = 0; i < sectionCount; ++i) {
            const std::uint8_t* h = table.data() + i * kSectionHeaderSize;
            sections_.push_back({Le32(h + 12), Le32(h + 16), Le32(h + 20)});
        }
        return true;
    }

    // Reads count bytes at an address of the loaded image. The whole range must lie
    // in the stored bytes of one section (an image's zero-filled tail holds no
    // resources worth reading).
    bool ReadRva(std::uint64_t rva, void* buffer, std::uint64_t count) {
        for (const Section& s : sections_) {
            if (rva < s.virtualAddress || rva - s.virtualAddress >= s.rawSize)
                continue;
            const std::uint64_t within = rva - s.virtualAddress;
            if (count > s.rawSize - within)
                return false;
            return ReadFile(std::uint64_t{s.rawOffset} + within, buffer, count);
        }
        return false;
    }

    struct Entry {
        std::uint32_t name = 0;   // a numeric id, or a name's offset with kNameIsStringFlag
        std::uint32_t target = 0; // a table's offset with kSubdirectoryFlag, or a data entry's
    };

    // The entries of the directory table at `offset` (relative to the resource
    // directory), named ones first, as stored; empty when the table cannot be read.
    std::vector<Entry> Entries(std::uint32_t offset) {
        std::array<std::uint8_t, kDirectoryTableSize> head{};
        if (!ReadRva(std::uint64_t{resourceRva_} + offset, head.data(), head.size()))
            return {};
        const std::size_t count = std::size_t{Le16(head.data() + 12)} + Le16(head.data() + 14);
        std::vector<std::uint8_t> bytes(count * kDirectoryEntrySize);
        if (count == 0 || !ReadRva(std::uint64_t{resourceRva_} + offset + head.size(), bytes.data(), bytes.size()))
            return {};
        std::vector<Entry> entries(count);
        for (std::size_t i = 0; i < count; ++i)
            entries[i] = {Le32(bytes.data() + i * kDirectoryEntrySize),
                          Le32(bytes.data() + i * kDirectoryEntrySize + 4)};
        return entries;
    }

    static std::optional<std::uint32_t> Find(const std::vector<Entry>& entries, std::uint16_t id) {
        for (const Entry& e : entries)
            if ((e.name & kNameIsStringFlag) == 0 && e.name == id)
                return e.target;
        return std::nullopt;
    }

    // Whether one of the named entries is called `name`. Named entries come first
    // and sorted, so the search halves them as the loader's does: a table of
    // thousands of names costs a dozen reads, not thousands.
    bool HasName(const std::vector<Entry>& entries, std::u16string_view name) {
        std::size_t low = 0;
        std::size_t high = 0;
        while (high < entries.size() && (entries[high].name & kNameIsStringFlag))
            ++high;
        while (low < high) {
            const std::size_t middle = low + (high - low) / 2;
            const auto order = CompareName(name, entries[middle]);
            if (!order)
                return false;
            if (*order == 0)
                return true;
            if (*order < 0)
                high = middle;
            else
                low = middle + 1;
        }
        return false;
    }

    std::uint32_t ResourceRva() const { return resourceRva_; }

private:
    // How `name` sorts against a named entry's name, unit by unit and then by
    // length ("MU" < "MUI" < "MUIX"); nothing when the name cannot be read.
    std::optional<int> CompareName(std::u16string_view name, const Entry& entry) {
        const std::uint64_t at = std::uint64_t{resourceRva_} + (entry.name & ~kNameIsStringFlag);
        std::array<std::uint8_t, 2> length{};
        if (!ReadRva(at, length.data(), length.size()))
            return std::nullopt;
        const std::size_t stored = Le16(length.data());
        const std::size_t common = std::min(stored, name.size());
        std::vector<std::uint8_t> units(2 * common);
        if (common > 0 && !ReadRva(at + 2, units.data(), units.size()))
            return std::nullopt;
        for (std::size_t i = 0; i < common; ++i) {
            const char16_t unit = static_cast<char16_t>(Le16(units.data() + 2 * i));
            if (name[i] != unit)
                return name[i] < unit ? -1 : 1;
        }
        return name.size() < stored ? -1 : (name.size() > stored ? 1 : 0);
    }

    bool ReadFile(std::uint64_t offset, void* buffer, std::uint64_t count) {
        if (offset > size_ || count > size_ - offset)
            return false;
        return count == 0 || file_.Read(offset, buffer, count);
    }

    std::uint64_t size_;
    PagedFile file_;
    std::uint32_t resourceRva_ = 0;
    std::vector<Section> sections_;
};

} // namespace

std::optional<std::size_t> PickLanguage(std::span<const std::uint16_t> available,
                                        std::span<const std::uint16_t> preferred) {
    auto first = [&](auto matches) -> std::optional<std::size_t> {
        for (std::size_t i = 0; i < available.size(); ++i)
            if (matches(available[i]))
                return i;
        return std::nullopt;
    };
    for (std::uint16_t language : preferred)
        if (auto i = first([&](std::uint16_t a) { return a == language; }))
            return i;
    for (std::uint16_t language : preferred) {
        const std::uint16_t primary = language & kPrimaryLanguageMask;
        if (auto i = first([&](std::uint16_t a) { return a == primary; }))
            return i;
        if (auto i = first([&](std::uint16_t a) { return (a & kPrimaryLanguageMask) == primary; }))
            return i;
    }
    if (auto i = first([](std::uint16_t a) { return (a & kPrimaryLanguageMask) == 0; }))
        return i;
    if (auto i = first([](std::uint16_t a) { return a == kEnglishUnitedStates; }))
        return i;
    if (available.empty())
        return std::nullopt;
    return 0;
}

PeString ReadPeString(InputFile& file, std::uint32_t id, std::span<const std::uint16_t> preferred) {
    PeString result;
    if (id > 0xFFFF)
        return result;
    PeImage image(file);
    if (!image.ReadHeaders())
        return result;
    result.image = true;

    // Type, then name, then language; the first two must be subdirectories and the
    // language entry must be data. Exactly three steps, whatever the offsets say.
    const auto types = image.Entries(0);
    result.hasMui = image.HasName(types, u"MUI");
    const auto type = PeImage::Find(types, kResourceTypeString);
    if (!type || !(*type & kSubdirectoryFlag))
        return result;
    const auto block =
        PeImage::Find(image.Entries(*type & ~kSubdirectoryFlag), static_cast<std::uint16_t>(id / kStringsPerBlock + 1));
    if (!block || !(*block & kSubdirectoryFlag))
        return result;
    const auto languages = image.Entries(*block & ~kSubdirectoryFlag);
    result.hasBlock = !languages.empty();
    // A named language entry can only be taken as the first listed: 0xFFFF matches
    // no preferred language (its primary part is no language either).
    std::vector<std::uint16_t> ids;
    for (const auto& e : languages)
        ids.push_back((e.name & kNameIsStringFlag) ? 0xFFFF : static_cast<std::uint16_t>(e.name));
    const auto picked = PickLanguage(ids, preferred);
    if (!picked || (languages[*picked].target & kSubdirectoryFlag))
        return result;

    std::array<std::uint8_t, kDataEntrySize> data{};
    if (!image.ReadRva(std::uint64_t{image.ResourceRva()} + languages[*picked].target, data.data(), data.size()))
        return result;
    const std::uint64_t blockRva = Le32(data.data());
    const std::uint64_t blockSize = Le32(data.data() + 4);

    // The block is 16 strings, each a count of UTF-16 units followed by the units.
    std::uint64_t at = 0;
    for (std::uint32_t index = 0;; ++index) {
        std::array<std::uint8_t, 2> length{};
        if (at + 2 > blockSize || !image.ReadRva(blockRva + at, length.data(), length.size()))
            return result;
        const std::uint64_t units = Le16(length.data());
        at += 2;
        if (at + units * 2 > blockSize)
            return result;
        if (index == id % kStringsPerBlock) {
            std::vector<std::uint8_t> bytes(units * 2);
            if (units > 0 && !image.ReadRva(blockRva + at, bytes.data(), bytes.size()))
                return result;
            std::u16string text(units, u'\0');
            for (std::size_t i = 0; i < units; ++i)
                text[i] = static_cast<char16_t>(Le16(bytes.data() + 2 * i));
            result.text = std::move(text);
            return result;
        }
        at += units * 2;
    }
}

std::optional<std::u16string> LoadPeString(FileSystem& files, const std::string& path, std::uint32_t id,
                                           const std::vector<UiLanguage>& preferred) {
    std::vector<std::uint16_t> ids;
    for (const UiLanguage& language : preferred)
        ids.push_back(language.id);
    const auto file = files.OpenRead(path);
    if (!file)
        return std::nullopt;
    PeString own = ReadPeString(*file, id, ids);
    if (!own.image || (own.hasBlock && !own.hasMui))
        return std::move(own.text);

    // C:\Windows\System32\Bubbles.scr reads from C:\Windows\System32\de-DE\Bubbles.scr.mui.
    const std::size_t cut = ExtractFilePath(path).size();
    std::vector<std::string> names;
    for (const UiLanguage& language : preferred)
        names.push_back(language.name);
    names.push_back(kEnglishUnitedStatesName);
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i].empty() || std::find(names.begin(), names.begin() + i, names[i]) != names.begin() + i)
            continue;
        const auto satellite = files.OpenRead(path.substr(0, cut) + names[i] + "\\" + path.substr(cut) + ".mui");
        if (!satellite)
            continue;
        if (auto text = ReadPeString(*satellite, id, ids).text)
            return text;
    }
    return std::move(own.text);
}

} // namespace lumivane
