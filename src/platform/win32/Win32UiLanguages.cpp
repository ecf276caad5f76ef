// The preferred UI languages over GetThreadPreferredUILanguages (see Win32UiLanguages.h).
#include "platform/win32/Win32UiLanguages.h"

#include <algorithm>

#include "platform/win32/WideText.h"

namespace lumivane::win32 {

std::vector<UiLanguage> Win32UiLanguages::Preferred() {
    // The merged list is the one the resource loader walks: on a German Windows
    // whose user put French first, "fr-FR", then "de-DE".
    const DWORD flags = MUI_LANGUAGE_NAME | MUI_MERGE_USER_FALLBACK | MUI_MERGE_SYSTEM_FALLBACK;
    ULONG count = 0;
    ULONG size = 0;
    if (!GetThreadPreferredUILanguages(flags, &count, nullptr, &size) || size == 0)
        return {};
    std::u16string names(size, u'\0');
    if (!GetThreadPreferredUILanguages(flags, &count, W(names), &size))
        return {};
    names.resize(size);

    // A list of zero-terminated names ending in an empty one.
    std::vector<UiLanguage> languages;
    for (std::size_t at = 0; at < names.size() && names[at] != u'\0';) {
        const std::u16string name(names.c_str() + at);
        at += name.size() + 1;
        const LANGID id = LANGIDFROMLCID(LocaleNameToLCID(W(name), 0));
        const bool seen = std::any_of(languages.begin(), languages.end(), [&](const UiLanguage& l) {
            return std::equal(l.name.begin(), l.name.end(), name.begin(), name.end());
        });
        if (id == 0 || seen)
            continue; // a name the system cannot place matches no resource language
        // Language names are ASCII ("sr-Latn-RS" at the longest).
        languages.push_back({id, std::string(name.begin(), name.end())});
    }
    return languages;
}

} // namespace lumivane::win32
