// Builds small Windows program images in memory for the tests of the string-table
// reader and the display names: DOS header, PE32 or PE32+ header, one ".rsrc"
// section with a resource tree of string blocks (and optionally other types), and
// the file offsets of the fields that the corruption tests overwrite.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace lumivane::test {

struct PeLayout {
    std::size_t resourceDirectoryField = 0; // RVA, then size, in the optional header
    std::size_t rvaCountField = 0;          // NumberOfRvaAndSizes
    std::size_t optionalMagic = 0;
    std::size_t sectionHeader = 0;
    std::size_t sectionData = 0; // file offset of the resource directory root
    std::size_t rootTable = 0;   // file offsets of the three directory levels
    std::size_t typeTable = 0;   // the RT_STRING directory
    std::size_t firstBlockTable = 0;
    std::size_t firstDataEntry = 0;
    std::size_t firstBlockData = 0;
    std::uint32_t sectionRva = 0x1000;
};

inline void Put16(std::string& s, std::size_t at, std::uint16_t v) {
    s[at] = static_cast<char>(v & 0xFF);
    s[at + 1] = static_cast<char>(v >> 8);
}
inline void Put32(std::string& s, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

struct PeBuilder {
    bool pe32Plus = false;
    // Languages in directory order, each with its strings by id.
    std::vector<std::pair<std::uint16_t, std::map<std::uint32_t, std::u16string>>> languages{{0x0409, {}}};
    // Puts an icon type and a named type before RT_STRING in the root directory.
    bool otherTypes = false;
    std::u16string otherTypeName = u"ICON"; // "MUI" makes the image language-neutral
    PeLayout layout;

    PeBuilder& String(std::uint32_t id, std::u16string text) {
        languages.front().second[id] = std::move(text);
        return *this;
    }

    std::string Build() {
        std::string file(0x200, '\0');
        file[0] = 'M';
        file[1] = 'Z';
        Put32(file, 0x3C, 0x40);
        file.replace(0x40, 4, std::string("PE\0\0", 4));
        const std::size_t coff = 0x44;
        Put16(file, coff, pe32Plus ? 0x8664 : 0x014C);
        Put16(file, coff + 2, 1); // one section
        const std::uint16_t optionalSize = pe32Plus ? 240 : 224;
        Put16(file, coff + 16, optionalSize);
        Put16(file, coff + 18, 0x0102);
        const std::size_t optional = coff + 20;
        layout.optionalMagic = optional;
        Put16(file, optional, pe32Plus ? 0x20B : 0x10B);
        // Enough of the rest for the system's loader to accept the image as a
        // resource-only file, so the Windows tests can compare with it.
        if (pe32Plus) { // ImageBase 0x140000000
            Put32(file, optional + 24, 0x40000000);
            Put32(file, optional + 28, 0x1);
        } else
            Put32(file, optional + 28, 0x00400000);
        Put32(file, optional + 32, 0x1000); // SectionAlignment
        Put32(file, optional + 36, 0x200);  // FileAlignment
        Put16(file, optional + 40, 4);      // MajorOperatingSystemVersion
        Put16(file, optional + 48, 4);      // MajorSubsystemVersion
        Put32(file, optional + 60, 0x200);  // SizeOfHeaders
        Put16(file, optional + 68, 2);      // Subsystem: GUI
        layout.rvaCountField = optional + (pe32Plus ? 108 : 92);
        Put32(file, layout.rvaCountField, 16);
        layout.resourceDirectoryField = layout.rvaCountField + 4 + 2 * 8;
        layout.sectionHeader = optional + optionalSize;
        layout.sectionData = 0x200;

        const std::string rsrc = BuildResources();
        Put32(file, layout.resourceDirectoryField, layout.sectionRva);
        Put32(file, layout.resourceDirectoryField + 4, static_cast<std::uint32_t>(rsrc.size()));
        const std::size_t h = layout.sectionHeader;
        file.replace(h, 6, ".rsrc\0", 6);
        Put32(file, h + 8, static_cast<std::uint32_t>(rsrc.size()));         // VirtualSize
        Put32(file, h + 12, layout.sectionRva);                              // VirtualAddress
        Put32(file, h + 16, static_cast<std::uint32_t>(rsrc.size()));        // SizeOfRawData
        Put32(file, h + 20, static_cast<std::uint32_t>(layout.sectionData)); // PointerToRawData
        Put32(file, h + 36, 0x40000040u);                                    // initialised data, readable
        Put32(file, optional + 56, layout.sectionRva + ((static_cast<std::uint32_t>(rsrc.size()) + 0xFFF) & ~0xFFFu));
        return file + rsrc;
    }

private:
    static std::string Table(std::uint16_t named, std::uint16_t ids) {
        std::string t(16, '\0');
        Put16(t, 12, named);
        Put16(t, 14, ids);
        return t;
    }

    std::string BuildResources() {
        // Blocks present in any language, by block id.
        std::map<std::uint16_t, int> blocks;
        for (auto& [lang, strings] : languages)
            for (auto& [id, text] : strings)
                blocks[static_cast<std::uint16_t>(id / 16 + 1)] = 0;

        const std::size_t rootEntries = otherTypes ? 3 : 1;
        const std::size_t rootSize = 16 + 8 * rootEntries;
        const std::size_t typeSize = 16 + 8 * blocks.size();
        const std::size_t nameSize = 16 + 8 * languages.size();
        const std::size_t tablesEnd = rootSize + typeSize + nameSize * blocks.size();
        const std::size_t dataEntries = tablesEnd;
        const std::size_t blobs = dataEntries + 16 * blocks.size() * languages.size();

        std::string r(blobs, '\0');
        r.replace(0, 16, Table(otherTypes ? 1 : 0, static_cast<std::uint16_t>(otherTypes ? 2 : 1)));
        std::size_t e = 16;
        if (otherTypes) {
            Put32(r, e, 0x80000000u); // a named type; its name is patched in at the end
            Put32(r, e + 4, 0x80000000u | static_cast<std::uint32_t>(rootSize));
            Put32(r, e + 8, 3); // RT_ICON, pointing at the same table: never followed
            Put32(r, e + 12, 0x80000000u | static_cast<std::uint32_t>(rootSize));
            e += 16;
        }
        Put32(r, e, 6);
        Put32(r, e + 4, 0x80000000u | static_cast<std::uint32_t>(rootSize));
        layout.rootTable = layout.sectionData;
        layout.typeTable = layout.sectionData + rootSize;

        r.replace(rootSize, 16, Table(0, static_cast<std::uint16_t>(blocks.size())));
        std::size_t b = 0;
        for (auto& [blockId, unused] : blocks) {
            const std::size_t nameTable = rootSize + typeSize + b * nameSize;
            Put32(r, rootSize + 16 + 8 * b, blockId);
            Put32(r, rootSize + 16 + 8 * b + 4, 0x80000000u | static_cast<std::uint32_t>(nameTable));
            r.replace(nameTable, 16, Table(0, static_cast<std::uint16_t>(languages.size())));
            if (b == 0)
                layout.firstBlockTable = layout.sectionData + nameTable;
            for (std::size_t l = 0; l < languages.size(); ++l) {
                const std::size_t entry = dataEntries + 16 * (b * languages.size() + l);
                Put32(r, nameTable + 16 + 8 * l, languages[l].first);
                Put32(r, nameTable + 16 + 8 * l + 4, static_cast<std::uint32_t>(entry));
                const std::string blob = Block(blockId, languages[l].second);
                if (b == 0 && l == 0) {
                    layout.firstDataEntry = layout.sectionData + entry;
                    layout.firstBlockData = layout.sectionData + r.size();
                }
                Put32(r, entry, layout.sectionRva + static_cast<std::uint32_t>(r.size()));
                Put32(r, entry + 4, static_cast<std::uint32_t>(blob.size()));
                r += blob;
            }
            ++b;
        }
        if (otherTypes) {
            Put32(r, 16, 0x80000000u | static_cast<std::uint32_t>(r.size()));
            r += static_cast<char>(otherTypeName.size());
            r += '\0';
            for (char16_t c : otherTypeName) {
                r += static_cast<char>(c);
                r += '\0';
            }
        }
        return r;
    }

    static std::string Block(std::uint16_t blockId, const std::map<std::uint32_t, std::u16string>& strings) {
        std::string blob;
        for (std::uint32_t i = 0; i < 16; ++i) {
            auto it = strings.find((blockId - 1u) * 16 + i);
            const std::u16string text = it == strings.end() ? u"" : it->second;
            blob += static_cast<char>(text.size() & 0xFF);
            blob += static_cast<char>(text.size() >> 8);
            for (char16_t u : text) {
                blob += static_cast<char>(u & 0xFF);
                blob += static_cast<char>(u >> 8);
            }
        }
        return blob;
    }
};

// A small screensaver file whose string 1 is the description.
inline std::string SaverWithDescription(const std::u16string& description) {
    PeBuilder pe;
    pe.String(1, description);
    return pe.Build();
}

} // namespace lumivane::test
