// The help text the screen window shows when the active list is empty. The
// about box shows the same lines with its own two differences.
#pragma once

#include <array>
#include <string>

namespace lumivane {

inline constexpr std::array<const char*, 22> kHelpLines = {
    "If you can read this window, it is becuase you do not config Lumivane Standard correctly.",
    "",
    "How to add SCREENSAVER to random list:",
    "Select a folder or a disk to search your screensaver files, like \" C:\\WINDOWS\\SYSTEM\\ \", ",
    "click the [Search] button , check the file you want to add , then click [Add] button.",
    "",
    "How to add FLASH to random list:",
    "In the random list, choose the random type is FLASH, then do the same search job above.",
    "",
    "How to save the configuration:",
    "When you close Lumivane Standard, it will be saved automatically.",
    "",
    "Tips:",
    "1. Double click the file you selected in the listview,you can preview it.",
    "2. Select the file and click the [Setup] button you can config that screensaver.",
    "",
    "Shortcuts:",
    "    When you select a file in the listview, you can use some shortcuts",
    "    Ctrl + S     Setup the selected screensaver",
    "    Ctrl + V     Preview the selected screensaver",
    "    Ctrl + A     Clear all the screensave in the list",
    "    DEL         Clear the selected file in the list",
};

// The lines joined by CR LF, none after the last.
inline std::string HelpText() {
    std::string text;
    for (std::size_t i = 0; i < kHelpLines.size(); ++i) {
        if (i > 0)
            text += "\r\n";
        text += kHelpLines[i];
    }
    return text;
}

} // namespace lumivane
