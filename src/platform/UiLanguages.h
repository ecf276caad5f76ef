// Contract: the user's preferred UI languages, the order in which the system's
// string loader picks among the translations a program file carries.
// - Most preferred first: the thread's preferred languages, then the user's and
//   the system's, each name once (GetThreadPreferredUILanguages with the user
//   and system fallbacks merged, as the resource loader uses them).
// - Each language has its id (a LANGID: primary language in the low 10 bits,
//   sublanguage above, 0x0407 for German (Germany)) and its name as that call
//   spells it ("de-DE"), which is also the folder name of its satellite files.
// - Never fails and raises nothing; a system that names no language gives an
//   empty list.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lumivane {

struct UiLanguage {
    std::uint16_t id = 0;
    std::string name;
    bool operator==(const UiLanguage&) const = default;
};

class UiLanguages {
public:
    virtual ~UiLanguages() = default;
    virtual std::vector<UiLanguage> Preferred() = 0;
};

} // namespace lumivane
