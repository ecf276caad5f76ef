// Contract: modal message boxes.
// Texts are UTF-8. ShowBox has one OK button and returns when it is
// dismissed; nothing is returned because no caller looks at the answer. Ask has
// the buttons "Yes" and "No" and returns true for Yes.
#pragma once

#include <string>

namespace lumivane {

enum class BoxIcon { Information, Warning, Error };

class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual void ShowBox(const std::string& caption, const std::string& text, BoxIcon icon) = 0;
    virtual bool Ask(const std::string& caption, const std::string& text, BoxIcon icon) = 0;
};

// The warning box both windows use for their own messages.
inline void ShowWarning(Dialogs& dialogs, const std::string& text) {
    dialogs.ShowBox("Warning", text, BoxIcon::Warning);
}

// A window shown modally (the about box): ShowModal returns when it closes.
class ModalWindow {
public:
    virtual ~ModalWindow() = default;
    virtual void ShowModal() = 0;
};

// The shell's folder-browse dialog (SHBrowseForFolder): Execute shows it modally
// and returns true when the user confirms a file-system folder. SelectedFolder is
// that folder's path as the shell gives it, without a trailing backslash except
// for a drive root ("D:\"); a cancelled run leaves it unchanged.
class FolderBrowser {
public:
    virtual ~FolderBrowser() = default;
    virtual bool Execute() = 0;
    virtual std::string SelectedFolder() const = 0;
};

} // namespace lumivane
