// The real program's start-up per run mode (see Win32Startup.h).
#include "app/win32/Win32Startup.h"

#include <commctrl.h>
#include <objbase.h>

#include "app/PreviewPane.h"
#include "app/win32/ConfigWindow.h"
#include "app/win32/ScreenWindow.h"
#include "config/ConfigFile.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32PreviewTarget.h"

namespace lumivane::win32 {

void Win32Startup::InitApplication() {
    // The Flash Player control and the shell's folder browser both need COM on
    // this thread as a single-threaded apartment.
    CoInitialize(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES |
                                                       ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
}

std::string Win32Startup::ProgramPath() {
    std::u16string path(MAX_PATH, u'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, W(path), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return Narrow(path);
        }
        path.resize(path.size() * 2);
    }
}

std::string Win32Startup::ModuleName() {
    const std::string path = ProgramPath();
    return path.substr(path.find_last_of('\\') + 1);
}

void Win32Startup::DrawPreview(std::intptr_t windowHandle) {
    Win32PreviewTarget target;
    DrawPreviewPane(target, app_, clock_, windowHandle);
}

void Win32Startup::RunConfigure() {
    ConfigWindow window(app_, MainServices{profile_, files_, shell_, app_.GetDialogs(), drives_, codec_,
                                           ConfigPathFor(ProgramPath()), clock_, app_, languages_});
    window.Show();
    app_.Run(Application::EscapedErrors::Show);
}

void Win32Startup::RunSaver() {
    ScreenWindow window(app_, ScreenServices{profile_, files_, clock_, shell_, app_.GetDialogs(), players_,
                                             ConfigPathFor(ProgramPath())});
    window.Show();
    app_.Run();
}

} // namespace lumivane::win32
