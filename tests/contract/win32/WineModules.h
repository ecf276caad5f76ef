// The program files of the Wine prefix that the Windows tests run in: every
// DLL, program, driver and control Wine installs (some seven hundred), with the
// string-table blocks the system's loader finds in each. A corpus nobody here
// wrote, many files in dozens of languages, on which the string-table reader is
// held to LoadString.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/FileSystem.h"

namespace lumivane::test {

// Every file under C:\windows and the program folders whose first bytes are
// "MZ"; not C:\users, which Wine links to the host's home, holding anything.
inline std::vector<std::string> WineModules(FileSystem& files) {
    std::vector<std::string> found, folders{"C:\\windows\\", "C:\\Program Files\\", "C:\\Program Files (x86)\\"};
    while (!folders.empty()) {
        const std::string folder = folders.back();
        folders.pop_back();
        for (const DirEntry& entry : files.FindFiles(folder + "*")) {
            const std::string path = folder + entry.name;
            char magic[2] = {};
            if (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) {
                if (entry.name != "." && entry.name != "..")
                    folders.push_back(path + "\\");
            } else if (auto file = files.OpenRead(path);
                       file && file->ReadAt(0, magic, 2) == 2 && magic[0] == 'M' && magic[1] == 'Z') {
                found.push_back(path);
            }
        }
    }
    return found;
}

// The string-table blocks of a module (string id / 16 + 1), each with its
// languages in directory order, as the loader lists them.
using StringBlocks = std::vector<std::pair<std::uint16_t, std::vector<std::uint16_t>>>;
inline StringBlocks StringTable(HMODULE module) {
    StringBlocks blocks;
    EnumResourceNamesW(
        module, MAKEINTRESOURCEW(6),
        [](HMODULE from, LPCWSTR type, LPWSTR name, LONG_PTR list) noexcept -> BOOL {
            auto& blocks = *reinterpret_cast<StringBlocks*>(list);
            if (!IS_INTRESOURCE(name))
                return TRUE;
            blocks.push_back({LOWORD(name), {}});
            EnumResourceLanguagesW(
                from, type, name,
                [](HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR languages) noexcept -> BOOL {
                    reinterpret_cast<std::vector<std::uint16_t>*>(languages)->push_back(language);
                    return TRUE;
                },
                reinterpret_cast<LONG_PTR>(&blocks.back().second));
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&blocks));
    return blocks;
}

} // namespace lumivane::test
