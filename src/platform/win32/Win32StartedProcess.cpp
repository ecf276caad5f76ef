// A program started through the shell and kept by its process (see
// Win32StartedProcess.h).
#include "platform/win32/Win32StartedProcess.h"

#include <shellapi.h>

#include <exception>
#include <vector>

#include "platform/win32/AnsweringWait.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

namespace lumivane::win32 {

namespace {

struct WindowSearch {
    DWORD pid;
    std::vector<HWND> found;
    std::exception_ptr error;
};

BOOL CALLBACK AddWindowOf(HWND window, LPARAM data) noexcept {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    try {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == search->pid && IsWindowVisible(window))
            search->found.push_back(window);
        return TRUE;
    } catch (...) {
        search->error = std::current_exception();
        return FALSE;
    }
}

// The visible top-level windows of a process. EnumWindows takes a snapshot of
// the list first: a GetWindow walk can loop, or reach a window destroyed
// meanwhile, when windows come and go during the walk, as a player's do.
std::vector<HWND> WindowsOf(DWORD pid) {
    WindowSearch search{pid, {}, nullptr};
    EnumWindows(&AddWindowOf, reinterpret_cast<LPARAM>(&search));
    // Out of memory: raised here, in our own frames, not inside EnumWindows.
    if (search.error)
        std::rethrow_exception(search.error);
    return std::move(search.found);
}

class Win32StartedProcess : public StartedProcess {
public:
    explicit Win32StartedProcess(HANDLE process) : process_(process), pid_(GetProcessId(process)) {}

    bool Running() override { return WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT; }

    bool Place(const Rect& client) override {
        const std::vector<HWND> windows = WindowsOf(pid_);
        if (windows.empty())
            return false;
        HWND window = windows.front();
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
        return true;
    }

    void AskToClose() override {
        for (HWND window : WindowsOf(pid_))
            PostMessageW(window, WM_CLOSE, 0, 0);
    }

    bool WaitForExit(unsigned milliseconds) override {
        return WaitAnswering(process_.Get(), milliseconds) == WAIT_OBJECT_0;
    }

    void Terminate() override {
        TerminateProcess(process_.Get(), 1);
        WaitAnswering(process_.Get(), 5000);
    }

private:
    KernelHandle process_;
    DWORD pid_;
};

} // namespace

std::unique_ptr<StartedProcess> StartWithShell(const std::string& file, const std::string& parameters) {
    const std::u16string wideFile = ShellPath(file), wideParameters = Wide(parameters);
    if (wideFile.empty())
        return nullptr;
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
