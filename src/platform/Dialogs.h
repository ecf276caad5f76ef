// Contract: modal message boxes.
// Texts are ANSI byte strings. Every box has one OK button and returns when it is
// dismissed; nothing is returned because no caller looks at the answer.
#pragma once

#include <string>

namespace lumivane {

enum class BoxIcon { Information, Warning, Error };

class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual void ShowBox(const std::string& caption, const std::string& text, BoxIcon icon) = 0;
};

// The warning box both windows use for their own messages.
inline void ShowWarning(Dialogs& dialogs, const std::string& text) {
    dialogs.ShowBox("Warning", text, BoxIcon::Warning);
}

} // namespace lumivane
