// A program started through the shell and kept by its process (see
// Win32StartedProcess.h).
#include "platform/win32/Win32StartedProcess.h"

#include <shellapi.h>

#include <vector>

#include "platform/win32/AnsweringWait.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

namespace lumivane::win32 {

namespace {

// The visible top-level windows of a process, walked without EnumWindows so that
// no callback of ours runs inside the system's code.
std::vector<HWND> WindowsOf(DWORD pid) {
    std::vector<HWND> found;
    for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == pid && IsWindowVisible(window))
            found.push_back(window);
    }
    return found;
}

class Win32StartedProcess : public StartedProcess {
public:
    explicit Win32StartedProcess(HANDLE process) : process_(process), pid_(GetProcessId(process)) {}

    bool Running() override { return WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT; }

    void Place(const Rect& client) override {
        // A program shows its window a moment after it starts: about half a second
        // under Wine, more for a player that loads a runtime first.
        HWND window = nullptr;
        const DWORD start = GetTickCount();
        while (!window && Running() && GetTickCount() - start < 10000) {
            const std::vector<HWND> windows = WindowsOf(pid_);
            if (!windows.empty())
                window = windows.front();
            else
                WaitAnswering(nullptr, 20);
        }
        if (!window)
            return;
        if (IsZoomed(window) || IsIconic(window))
            ShowWindow(window, SW_RESTORE);
        const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)) &
                            ~(WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
        const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)) &
                              ~(WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME | WS_EX_STATICEDGE);
        SetWindowLongPtrW(window, GWL_STYLE, style);
        SetWindowLongPtrW(window, GWL_EXSTYLE, exStyle);
        // A player with a menu bar keeps it: its client area starts below it.
        RECT outer{client.left, client.top, client.left + client.width, client.top + client.height};
        AdjustWindowRectEx(&outer, style, GetMenu(window) != nullptr, exStyle);
        SetWindowPos(window, HWND_TOP, outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top,
                     SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    }

    void AskToClose() override {
        for (HWND window : WindowsOf(pid_))
            PostMessageW(window, WM_CLOSE, 0, 0);
    }

    bool WaitForExit(unsigned milliseconds) override {
        return WaitForSingleObject(process_.Get(), milliseconds) == WAIT_OBJECT_0;
    }

    void Terminate() override {
        TerminateProcess(process_.Get(), 1);
        WaitForSingleObject(process_.Get(), 5000);
    }

private:
    KernelHandle process_;
    DWORD pid_;
};

} // namespace

std::unique_ptr<StartedProcess> StartWithShell(const std::string& file, const std::string& parameters) {
    const std::u16string wideFile = Wide(file), wideParameters = Wide(parameters);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // No UI: a failed start must not stop the saver with a box of the shell's.
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = W(wideFile);
    info.lpParameters = parameters.empty() ? nullptr : W(wideParameters);
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&info) || !info.hProcess)
        return nullptr;
    return std::make_unique<Win32StartedProcess>(info.hProcess);
}

} // namespace lumivane::win32
