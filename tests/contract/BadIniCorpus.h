// A corpus of damaged and hand-mangled "Lumivane.ini" files: garbage bytes,
// missing line ends, megabyte values, extreme and hexadecimal counts, duplicate
// sections and keys, odd case, broken headers, keys without "=". Each case says
// what the value rules make of it. The unit tests load both windows from it; the
// contract suite holds the whole-file reads and writes to the Windows profile
// functions over it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lumivane::test {

inline const std::string kCorpusA = "C:\\Savers\\a.scr";
inline const std::string kCorpusB = "C:\\Savers\\b.scr";
inline const std::string kCorpusMovie = "C:\\Movies\\m.swf";

// What LoadSettings must give; the screen window's list follows from it by the
// list kind.
struct Want {
    std::int32_t screenCount = 0;
    std::int32_t flashCount = 0;
    std::vector<std::string> screenList;
    std::vector<std::string> flashList;
    std::int32_t listKind = 0;
    bool flashSize = true;
    bool sub = true;
    std::string newestFolder; // slot 4
};

struct BadIni {
    std::string name;
    std::string text;
    Want want;
};

std::vector<BadIni> BadIniCorpus();

} // namespace lumivane::test
