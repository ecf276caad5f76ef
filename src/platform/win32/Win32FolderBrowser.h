// The folder browser over the shell's folder-browse dialog.
#pragma once

#include <windows.h>

#include "platform/Dialogs.h"
#include "platform/win32/Toolkit.h"

namespace lumivane::win32 {

// Shows SHBrowseForFolder from the desktop down, centred on its owner window,
// the last confirmed folder preselected, OK usable only on a file-system folder
// (not Control Panel or a printer). Paths of any length.
class Win32FolderBrowser : public FolderBrowser {
public:
    explicit Win32FolderBrowser(Application& app) : app_(app) {}
    // The window the dialog belongs to; set once it exists.
    void SetOwner(HWND owner) { owner_ = owner; }

    bool Execute() override;
    std::string SelectedFolder() const override { return selectedFolder_; }

private:
    static int CALLBACK Callback(HWND dialog, UINT message, LPARAM lParam, LPARAM data) noexcept;

    Application& app_;
    HWND owner_ = nullptr;
    std::string selectedFolder_;
};

} // namespace lumivane::win32
