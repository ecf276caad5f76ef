// Message boxes over MessageBox (see Win32Dialogs.h).
#include "platform/win32/Win32Dialogs.h"

#include "platform/win32/WideText.h"

namespace lumivane::win32 {

void Win32Dialogs::ShowBox(const std::string& caption, const std::string& text, BoxIcon icon) {
    Show(caption, text, icon, MB_OK);
}

bool Win32Dialogs::Ask(const std::string& caption, const std::string& text, BoxIcon icon) {
    return Show(caption, text, icon, MB_YESNO) == IDYES;
}

int Win32Dialogs::Show(const std::string& caption, const std::string& text, BoxIcon icon, UINT buttons) {
    UINT flags = buttons;
    switch (icon) {
    case BoxIcon::Information:
        flags |= MB_ICONINFORMATION;
        break;
    case BoxIcon::Warning:
        flags |= MB_ICONWARNING;
        break;
    case BoxIcon::Error:
        flags |= MB_ICONSTOP;
        break;
    }
    HWND owner = GetActiveWindow();
    if (!owner)
        flags |= MB_TASKMODAL;
    return MessageBoxW(owner, W(Wide(text)), W(Wide(caption)), flags);
}

} // namespace lumivane::win32
