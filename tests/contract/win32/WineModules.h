// The program files of the Wine prefix that the Windows tests run in: every
// DLL, program, driver and control Wine installs in C:\windows and the program
// folders (some seven hundred), with the string-table blocks the system's loader
// finds in each. A
// corpus nobody here wrote, many files in dozens of languages, on which the
// string-table reader is held to LoadString.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace lumivane::test {

// Every file under `folder` (ending in "\") whose first bytes are "MZ".
inline void FindModules(FileSystem& files, const std::string& folder, std::vector<std::string>& found) {
    for (const DirEntry& entry : files.FindFiles(folder + "*")) {
        if (entry.name == "." || entry.name == "..")
            continue;
        const std::string path = folder + entry.name;
        if (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) {
            FindModules(files, path + "\\", found);
            continue;
        }
        std::array<char, 2> magic{};
        if (auto file = files.OpenRead(path);
            file && file->ReadAt(0, magic.data(), 2) == 2 && magic[0] == 'M' && magic[1] == 'Z')
            found.push_back(path);
    }
}

// Not C:\users: Wine links its folders to the host's home, which holds anything.
inline std::vector<std::string> WineModules(FileSystem& files) {
    std::vector<std::string> found;
    for (const char* folder : {"C:\\windows\\", "C:\\Program Files\\", "C:\\Program Files (x86)\\"})
        FindModules(files, folder, found);
    return found;
}

// The string-table blocks (string id / 16 + 1) of a module, as the loader lists them.
inline std::vector<std::uint16_t> StringBlocks(HMODULE module) {
    std::vector<std::uint16_t> blocks;
    EnumResourceNamesW(
        module, MAKEINTRESOURCEW(6),
        [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR list) noexcept -> BOOL {
            if (IS_INTRESOURCE(name))
                reinterpret_cast<std::vector<std::uint16_t>*>(list)->push_back(LOWORD(name));
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&blocks));
    return blocks;
}

// The languages of one block, in directory order.
inline std::vector<std::uint16_t> BlockLanguages(HMODULE module, std::uint16_t block) {
    std::vector<std::uint16_t> languages;
    EnumResourceLanguagesW(
        module, MAKEINTRESOURCEW(6), MAKEINTRESOURCEW(block),
        [](HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR list) noexcept -> BOOL {
            reinterpret_cast<std::vector<std::uint16_t>*>(list)->push_back(language);
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&languages));
    return languages;
}

} // namespace lumivane::test
