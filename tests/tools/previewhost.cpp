// A stand-in for the Display Settings dialog in preview mode: a top-level window
// with a 152 x 112 child like the monitor picture, painted a known colour, whose
// handle is handed to a screensaver as "<saver> /p <handle>". It waits for the
// saver to end and reports, one "key=value" line each, on standard output:
//   handle, exit_code (or "timeout"), elapsed_ms, own_windows /
//   visible_own_windows / own_window_classes (top-level windows of the saver's
//   process seen while it ran), pane_children (windows the saver put inside the
//   pane), pane_shown_ms (-1: never shown), and the pane's pixels that no longer
//   have the known colour, inside the three text bands and outside (-1: the pane
//   was not there to read).
//
// usage: previewhost [--show-after MS | --never-show | --closed] [--timeout MS]
//                    [--args TEXT] <saver.scr>
//   --show-after MS  the pane starts hidden and is shown MS after the start
//   --never-show     the pane stays hidden
//   --closed         the pane is destroyed before the start; its stale handle is passed
//   --timeout MS     the saver is ended after MS (default 60000)
//   --args TEXT      the arguments instead of "/p <handle>"; "%h" becomes the handle
//                    in decimal, "%x" in hexadecimal digits
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr int kPaneWidth = 152;
constexpr int kPaneHeight = 112;
// Teal, far from both white and black, so any drawn cell shows.
constexpr COLORREF kPaneColour = RGB(0, 128, 128);
constexpr char kPaneClass[] = "LumivanePreviewHostPane";
constexpr char kFrameClass[] = "LumivanePreviewHostFrame";

// Rows where the saver's three lines may fall: each line's top plus a generous
// line height, so a taller default font still lands inside its band.
bool InTextBand(int y) {
    for (int top : {12, 36, 72})
        if (y >= top && y < top + 20)
            return true;
    return false;
}

LRESULT CALLBACK PaneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        HBRUSH brush = CreateSolidBrush(kPaneColour);
        FillRect(dc, &paint.rcPaint, brush);
        DeleteObject(brush);
        EndPaint(window, &paint);
        return 0;
    }
    if (message == WM_ERASEBKGND)
        return 1;
    return DefWindowProcA(window, message, wParam, lParam);
}

struct Options {
    int showAfterMs = 0; // 0: shown from the start
    bool neverShow = false;
    bool closed = false;
    DWORD timeoutMs = 60000;
    std::string args = "/p %h";
    std::string saver;
};

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--show-after" && hasValue)
            options.showAfterMs = std::atoi(argv[++i]);
        else if (arg == "--never-show")
            options.neverShow = true;
        else if (arg == "--closed")
            options.closed = true;
        else if (arg == "--timeout" && hasValue)
            options.timeoutMs = static_cast<DWORD>(std::strtoul(argv[++i], nullptr, 10));
        else if (arg == "--args" && hasValue)
            options.args = argv[++i];
        else if (options.saver.empty() && arg.rfind("--", 0) != 0)
            options.saver = arg;
        else
            return false;
    }
    return !options.saver.empty();
}

std::string Substitute(std::string text, const std::string& marker, const std::string& value) {
    for (std::size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at + value.size()))
        text.replace(at, marker.size(), value);
    return text;
}

struct WindowCensus {
    DWORD processId = 0;
    std::set<HWND> seen;
    std::set<HWND> visible;
    std::set<std::string> classes;
};

BOOL CALLBACK CountOwnWindow(HWND window, LPARAM data) {
    auto* census = reinterpret_cast<WindowCensus*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != census->processId)
        return TRUE;
    census->seen.insert(window);
    if (IsWindowVisible(window))
        census->visible.insert(window);
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    census->classes.insert(name);
    return TRUE;
}

BOOL CALLBACK CountChild(HWND, LPARAM data) {
    ++*reinterpret_cast<int*>(data);
    return TRUE;
}

void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: previewhost [--show-after MS | --never-show | --closed] [--timeout MS] "
                             "[--args TEXT] <saver.scr>\n");
        return 2;
    }

    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA paneClass{};
    paneClass.lpfnWndProc = PaneProc;
    paneClass.hInstance = instance;
    paneClass.lpszClassName = kPaneClass;
    WNDCLASSA frameClass{};
    frameClass.lpfnWndProc = DefWindowProcA;
    frameClass.hInstance = instance;
    frameClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    frameClass.lpszClassName = kFrameClass;
    if (!RegisterClassA(&paneClass) || !RegisterClassA(&frameClass)) {
        std::fprintf(stderr, "previewhost: RegisterClass failed (%lu)\n", GetLastError());
        return 3;
    }

    HWND frame = CreateWindowExA(0, kFrameClass, "Display Properties", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 40, 40,
                                 320, 260, nullptr, nullptr, instance, nullptr);
    const bool paneVisibleAtStart = options.showAfterMs == 0 && !options.neverShow;
    HWND pane = CreateWindowExA(0, kPaneClass, "", WS_CHILD | (paneVisibleAtStart ? WS_VISIBLE : 0), 80, 40, kPaneWidth,
                                kPaneHeight, frame, nullptr, instance, nullptr);
    if (!frame || !pane) {
        std::fprintf(stderr, "previewhost: CreateWindowEx failed (%lu)\n", GetLastError());
        return 3;
    }
    UpdateWindow(frame);
    UpdateWindow(pane);
    PumpMessages();

    const auto handleValue = static_cast<long long>(reinterpret_cast<std::intptr_t>(pane));
    const std::string handle = std::to_string(handleValue);
    char hexDigits[32];
    std::snprintf(hexDigits, sizeof hexDigits, "%llX", handleValue);
    if (options.closed) {
        DestroyWindow(pane);
        PumpMessages();
    }

    std::string commandLine =
        "\"" + options.saver + "\" " + Substitute(Substitute(options.args, "%h", handle), "%x", hexDigits);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const ULONGLONG started = GetTickCount64();
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        std::fprintf(stderr, "previewhost: cannot start %s (%lu)\n", commandLine.c_str(), GetLastError());
        return 3;
    }
    CloseHandle(process.hThread);

    WindowCensus census;
    census.processId = process.dwProcessId;
    int paneChildren = 0;
    long long shownMs = paneVisibleAtStart && !options.closed ? 0 : -1;
    bool timedOut = false;
    for (;;) {
        const ULONGLONG elapsed = GetTickCount64() - started;
        if (!options.closed && !options.neverShow && shownMs < 0 &&
            elapsed >= static_cast<ULONGLONG>(options.showAfterMs)) {
            ShowWindow(pane, SW_SHOW);
            UpdateWindow(pane);
            shownMs = static_cast<long long>(elapsed);
        }
        EnumWindows(CountOwnWindow, reinterpret_cast<LPARAM>(&census));
        if (elapsed >= options.timeoutMs) {
            TerminateProcess(process.hProcess, 255);
            WaitForSingleObject(process.hProcess, 5000);
            timedOut = true;
            break;
        }
        // Short steps: a window of the saver's that lives only briefly must still be seen.
        const DWORD woke = MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 5, QS_ALLINPUT);
        PumpMessages();
        if (woke == WAIT_OBJECT_0)
            break;
    }
    const ULONGLONG elapsed = GetTickCount64() - started;
    if (!options.closed)
        EnumChildWindows(pane, CountChild, reinterpret_cast<LPARAM>(&paneChildren));

    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hProcess);

    // The pane's pixels as they are now, read from the screen where the pane sits.
    long long bandChanged = -1, outsideChanged = -1;
    if (!options.closed && IsWindowVisible(pane)) {
        PumpMessages();
        bandChanged = outsideChanged = 0;
        HDC dc = GetDC(pane);
        for (int y = 0; y < kPaneHeight; ++y)
            for (int x = 0; x < kPaneWidth; ++x)
                if (GetPixel(dc, x, y) != kPaneColour)
                    ++(InTextBand(y) ? bandChanged : outsideChanged);
        ReleaseDC(pane, dc);
    }

    std::string classes;
    for (const std::string& name : census.classes)
        classes += (classes.empty() ? "" : ",") + name;
    std::printf("handle=%s\n", handle.c_str());
    if (timedOut)
        std::printf("exit_code=timeout\n");
    else
        std::printf("exit_code=%lu\n", exitCode);
    std::printf("elapsed_ms=%llu\n", elapsed);
    std::printf("own_windows=%zu\n", census.seen.size());
    std::printf("visible_own_windows=%zu\n", census.visible.size());
    std::printf("own_window_classes=%s\n", classes.c_str());
    std::printf("pane_children=%d\n", paneChildren);
    std::printf("pane_shown_ms=%lld\n", shownMs);
    std::printf("pane_band_changed_pixels=%lld\n", bandChanged);
    std::printf("pane_outside_changed_pixels=%lld\n", outsideChanged);
    std::fflush(stdout);
    DestroyWindow(frame);
    return 0;
}
