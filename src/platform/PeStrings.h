// Reads one entry of a Windows program file's string table straight from the
// file's bytes. Loading a screensaver as a module just to read its description
// would run its start-up code; a screensaver is untrusted code, so its headers
// are parsed instead and nothing of it is ever executed.
//
// The file is walked as the loader would: DOS header, PE header (PE32 or PE32+),
// section table, the resource directory of the optional header, then type
// RT_STRING (6), name (string id / 16 + 1), the language LoadString would take
// (PickLanguage), and in that block of 16 counted UTF-16 strings the entry
// string id % 16.
//
// A language-neutral file (one with an "MUI" resource, as the screensavers in
// System32 are since Windows Vista) keeps its strings in satellite files,
// <folder>\<language name>\<file name>.mui; LoadPeString reads those the same way.
//
// Every offset and size is checked against the file and the section that holds
// it; the tree is walked exactly three levels deep, so a directory that points
// back at itself cannot make it loop. Anything malformed gives "nothing".
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/UiLanguages.h"

namespace lumivane {

inline constexpr std::uint16_t kResourceTypeString = 6; // RT_STRING

inline constexpr std::uint16_t kEnglishUnitedStates = 0x0409;

// The index of the language the string loader takes among a block's languages
// (in directory order) for the preferred languages: each preferred language
// itself; then, again in order, its primary language (German 0x0007 for German
// (Austria) 0x0C07) or, failing that, the first with the same primary language
// and another sublanguage; then a neutral language; then English (United
// States); then the first listed. Nothing only when `available` is empty.
std::optional<std::size_t> PickLanguage(std::span<const std::uint16_t> available,
                                        std::span<const std::uint16_t> preferred);

struct PeString {
    // The text of the string as stored (it may be empty or hold zero units), or
    // nothing when the file is no PE image or carries no such string.
    std::optional<std::u16string> text;
    bool image = false;    // the file is a PE image
    bool hasBlock = false; // its string table holds the block of the id, in some language
    bool hasMui = false;   // it carries an "MUI" resource: a language-neutral file
};

// String resource `id` of the file itself, in the language PickLanguage takes.
PeString ReadPeString(InputFile& file, std::uint32_t id, std::span<const std::uint16_t> preferred = {});

// String resource `id` of the program file at `path` as LoadString gives it. When
// the file is an image without the id's block, or a language-neutral one, the
// string comes from the first satellite that has it, looked for in the folder
// of each preferred language's name and then of "en-US"; without one, from the
// file itself. Every file is parsed, none is loaded.
std::optional<std::u16string> LoadPeString(FileSystem& files, const std::string& path, std::uint32_t id,
                                           const std::vector<UiLanguage>& preferred);

} // namespace lumivane
