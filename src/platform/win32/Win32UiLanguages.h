// The preferred UI languages over GetThreadPreferredUILanguages.
#pragma once

#include <windows.h>

#include "platform/UiLanguages.h"

namespace lumivane::win32 {

// The thread's list merged with the user's and the system's fallbacks, by name;
// each name's LANGID from LocaleNameToLCID.
class Win32UiLanguages : public UiLanguages {
public:
    std::vector<UiLanguage> Preferred() override;
};

} // namespace lumivane::win32
