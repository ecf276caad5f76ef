// The shell's folder-browse dialog (see Win32FolderBrowser.h).
#include "platform/win32/Win32FolderBrowser.h"

#include <shlobj.h>

#include <cwchar>

#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

namespace lumivane::win32 {

namespace {

// The file-system path of a folder of the shell, at any length; empty for a
// folder that is none (Control Panel, a printer).
std::u16string FolderPath(PCIDLIST_ABSOLUTE pidl) {
    std::u16string path(32768, u'\0');
    if (!SHGetPathFromIDListEx(pidl, W(path), static_cast<DWORD>(path.size()), GPFIDL_DEFAULT))
        return {};
    path.resize(std::wcslen(W(path)));
    return path;
}

} // namespace

int CALLBACK Win32FolderBrowser::Callback(HWND dialog, UINT message, LPARAM lParam, LPARAM data) noexcept {
    auto* self = reinterpret_cast<Win32FolderBrowser*>(data);
    try {
        if (message == BFFM_INITIALIZED) {
            RECT owner, box;
            GetWindowRect(self->owner_, &owner);
            GetWindowRect(dialog, &box);
            const int w = box.right - box.left, h = box.bottom - box.top;
            SetWindowPos(dialog, nullptr, (owner.left + owner.right - w) / 2, (owner.top + owner.bottom - h) / 2, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER);
            if (!self->selectedFolder_.empty())
                SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE,
                             reinterpret_cast<LPARAM>(W(Wide(self->selectedFolder_))));
            SendMessageW(dialog, BFFM_ENABLEOK, 0, 0);
        } else if (message == BFFM_SELCHANGED) {
            SendMessageW(dialog, BFFM_ENABLEOK, 0, !FolderPath(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam)).empty());
        }
    } catch (...) {
        self->app_.Defer(std::current_exception());
    }
    return 0;
}

bool Win32FolderBrowser::Execute() {
    wchar_t display[MAX_PATH] = {};
    BROWSEINFOW info{};
    info.hwndOwner = owner_;
    info.pidlRoot = nullptr; // the desktop
    info.pszDisplayName = display;
    info.lpszTitle = L"Select a folder";
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = &Callback;
    info.lParam = reinterpret_cast<LPARAM>(this);
    const Pidl pidl(SHBrowseForFolderW(&info));
    app_.RaiseDeferred();
    if (!pidl)
        return false;
    const std::u16string path = FolderPath(pidl.Get());
    if (path.empty())
        return false;
    selectedFolder_ = Narrow(path);
    return true;
}

} // namespace lumivane::win32
