// TfrmAbout's texts (see fAbout.h).
#include "settings/fAbout.h"

#include "common/HelpText.h"

namespace lumivane {

namespace {

constexpr std::size_t kSearchLine = 4;    // line 5
constexpr std::size_t kShortcutLine = 17; // line 18
constexpr char kIndent[] = "    ";

} // namespace

std::vector<std::string> TfrmAbout::MemoLines() {
    std::vector<std::string> lines(kHelpLines.begin(), kHelpLines.end());
    // The about box was typed apart from the screen window's caption and kept its
    // own slips: a lost "b" and an indent that moved to the end of the line.
    lines[kSearchLine] = "click the [Search] utton , check the file you want to add , then click [Add] button.";
    std::string& shortcuts = lines[kShortcutLine];
    if (shortcuts.starts_with(kIndent))
        shortcuts = shortcuts.substr(4) + kIndent;
    return lines;
}

std::vector<std::string> TfrmAbout::LegalNotice() {
    return {
        "Lumivane is the author's work and protected by copyright.",
        "Copying it, passing it on or selling it, whole or in part,",
        "without the author's written consent is not allowed and",
        "may lead to claims for damages and to prosecution.",
    };
}

} // namespace lumivane
