// TfrmAbout: the about box of the configuration window. It has no behaviour of
// its own; this is what it shows, for the native window to lay out: the caption,
// the title, the help text of the screen window as memo lines (with the about
// box's own two differences), the legal notice and the OK button's caption.
#pragma once

#include <string>
#include <vector>

namespace lumivane {

class TfrmAbout {
public:
    static constexpr char kCaption[] = "About";
    static constexpr char kTitle[] = "Lumivane Standard V1.6";
    static constexpr char kOkCaption[] = "&OK";

    // One memo line per line of the help text.
    static std::vector<std::string> MemoLines();
    // Four lines.
    static std::vector<std::string> LegalNotice();
};

} // namespace lumivane
