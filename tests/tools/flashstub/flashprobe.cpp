// Proves the Flash hosting (Win32FlashHost) against the stand-in control under
// Wine, before and apart from the screen window: a black window with a panel at
// the Flash panel's place, the control created in it, every call of the
// FlashControl contract made once, the control's window checked after each, and
// the stand-in's call log compared line by line at the end, teardown included.
//
//   flashprobe            the stand-in must be registered (regsvr32 flashstub.dll)
//   flashprobe missing    no player registered: creation must fail with the
//                         system's "Class not registered"
//   --hold <ms>           keep the movie showing that long (for a screenshot)
//
// Run through flashprobe.sh, which registers the stand-in around it.
// Prints one line per check and exits 0 when all passed, 1 otherwise.
#include <windows.h>

#include <ole2.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "common/Errors.h"
#include "platform/win32/Win32FlashHost.h"

using lumivane::EOleSysError;
using lumivane::FlashControl;
using lumivane::Rect;
using lumivane::win32::Win32FlashHost;

namespace {

int gFailed = 0;
int gPassed = 0;

void Check(bool condition, const std::string& what) {
    std::printf("%s %s\n", condition ? "ok  " : "FAIL", what.c_str());
    std::fflush(stdout);
    (condition ? gPassed : gFailed)++;
}

void Pump(DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(10);
    } while (GetTickCount64() < end);
}

// The control's window relative to the panel, or an empty rect with none.
Rect ChildBounds(HWND panel) {
    HWND child = GetWindow(panel, GW_CHILD);
    if (!child)
        return {};
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, panel, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

std::string Text(const Rect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.width) + "," +
           std::to_string(r.height);
}

// The stand-in's log without the time stamps.
std::vector<std::string> ReadCalls(const std::string& path) {
    std::vector<std::string> calls;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t space = line.find(' ');
        calls.push_back(space == std::string::npos ? line : line.substr(space + 1));
    }
    return calls;
}

void CheckCalls(const std::string& path, const std::vector<std::string>& expected, const std::string& what) {
    const std::vector<std::string> calls = ReadCalls(path);
    bool same = calls == expected;
    Check(same, what);
    if (!same) {
        std::printf("     expected:\n");
        for (const auto& c : expected)
            std::printf("       %s\n", c.c_str());
        std::printf("     logged:\n");
        for (const auto& c : calls)
            std::printf("       %s\n", c.c_str());
    }
    DeleteFileA(path.c_str());
}

template <class Call> std::string ErrorOf(Call&& call) {
    try {
        call();
    } catch (const EOleSysError& error) {
        return error.Message();
    }
    return "(no error)";
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

struct Windows {
    HWND frame = nullptr;
    HWND panel = nullptr;
};

Windows MakeWindows() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA frameClass{};
    frameClass.lpfnWndProc = PlainProc;
    frameClass.hInstance = instance;
    frameClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    frameClass.lpszClassName = "FlashProbeFrame";
    RegisterClassA(&frameClass);
    WNDCLASSA panelClass = frameClass;
    panelClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH));
    panelClass.lpszClassName = "FlashProbePanel";
    RegisterClassA(&panelClass);

    Windows w;
    w.frame = CreateWindowExA(0, "FlashProbeFrame", "flashprobe", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 1024,
                              768, nullptr, nullptr, instance, nullptr);
    // Where the screen window lays out palFlash before a movie sizes it.
    w.panel = CreateWindowExA(0, "FlashProbePanel", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 624, 248, 313, 249,
                              w.frame, nullptr, instance, nullptr);
    return w;
}

const Rect kLaidOut{64, 32, 192, 192};

int Missing(const Windows& w) {
    Win32FlashHost host(w.panel, kLaidOut);
    const std::string first = ErrorOf([&] { host.CreateFlash(); });
    Check(first == "Class not registered", "no player: \"" + first + "\"");
    const std::string second = ErrorOf([&] { host.CreateFlash(); });
    Check(second == first, "no player, asked again: the same error");
    Check(GetWindow(w.panel, GW_CHILD) == nullptr, "no player: nothing left in the panel");
    return 0;
}

void Hosting(const Windows& w, const std::string& log, DWORD hold) {
    // UTF-8 to the host; the stand-in logs what it got in the ANSI code page (1252 in the bed).
    const std::string movie = "C:\\Movies\\Caf\xc3\xa9 clip.swf";
    const std::string logged = "C:\\Movies\\Caf\xe9 clip.swf";
    auto host = std::make_unique<Win32FlashHost>(w.panel, kLaidOut);
    FlashControl& flash = host->CreateFlash();
    Check(&host->CreateFlash() == &flash, "a second CreateFlash returns the same control");
    Check(ChildBounds(w.panel) == kLaidOut, "control at its laid-out place: " + Text(ChildBounds(w.panel)));
    Check(IsWindowVisible(GetWindow(w.panel, GW_CHILD)) != FALSE, "control visible once created");
    Check(!flash.Playing(), "no movie: not playing");

    flash.SetMovie(movie);
    flash.SetBounds({0, 0, 550, 400});
    Check(ChildBounds(w.panel) == Rect{0, 0, 550, 400}, "SetBounds moves the control: " + Text(ChildBounds(w.panel)));
    Check(flash.Bounds() == Rect{0, 0, 550, 400}, "Bounds reports the place set");
    flash.Zoom(0);
    flash.SetScaleMode(0);
    flash.SetLoop(true);
    flash.Repaint();
    flash.SetVisible(false);
    Check(!IsWindowVisible(GetWindow(w.panel, GW_CHILD)) && !flash.Visible(), "SetVisible(false) hides the control");
    flash.SetVisible(true);
    Check(IsWindowVisible(GetWindow(w.panel, GW_CHILD)) && flash.Visible(), "SetVisible(true) shows it again");
    flash.Play();
    Check(flash.Playing(), "playing after Play");
    Pump(900); // the stand-in stops 600 ms after Play
    Check(!flash.Playing(), "stopped after the stand-in's time");
    flash.Play();
    Check(flash.Playing(), "playing again after a second Play");
    flash.Zoom(0);
    if (hold)
        Pump(hold);

    SetEnvironmentVariableA("LUMIVANE_STUB_FAIL", "Zoom");
    const std::string zoomError = ErrorOf([&] { flash.Zoom(0); });
    SetEnvironmentVariableA("LUMIVANE_STUB_FAIL", nullptr);
    Check(Contains(zoomError, "IShockwaveFlash.Zoom") && Contains(zoomError, "80004005"),
          "a failing Zoom names the call and the code: \"" + zoomError + "\"");

    host.reset();
    Check(GetWindow(w.panel, GW_CHILD) == nullptr, "teardown removes the control's window");
    CheckCalls(log,
               {"Create",
                "SetClientSite(site)",
                "InitNew",
                "DoVerb(-5)",
                "InPlaceActivate(64,32,192,192)",
                "DoVerb(-1)",
                "SetObjectRects(64,32,192,192)",
                "Playing?=false",
                "Movie=" + logged,
                "SetObjectRects(0,0,550,400)",
                "GetIDsOfNames(Zoom)",
                "Zoom(0)",
                "ScaleMode=0",
                "Loop=-1",
                "GetIDsOfNames(Play)",
                "Play",
                "Playing?=true",
                "Playing?=false",
                "Play",
                "Playing?=true",
                "Zoom(0)",
                "Zoom(0)",
                "InPlaceDeactivate",
                "Close",
                "SetClientSite(null)",
                "Released"},
               "the stand-in saw every call, in order, and the teardown in reverse");
}

void FailedActivation(const Windows& w, const std::string& log) {
    Win32FlashHost host(w.panel, kLaidOut);
    SetEnvironmentVariableA("LUMIVANE_STUB_FAIL", "DoVerb");
    const std::string error = ErrorOf([&] { host.CreateFlash(); });
    SetEnvironmentVariableA("LUMIVANE_STUB_FAIL", nullptr);
    Check(Contains(error, "IOleObject.DoVerb(INPLACEACTIVATE)") && Contains(error, "80004005"),
          "a failing activation names the call and the code: \"" + error + "\"");
    CheckCalls(log,
               {"Create", "SetClientSite(site)", "InitNew", "DoVerb(-5)", "Close", "SetClientSite(null)", "Released"},
               "a half-made control is closed and released");
    FlashControl& flash = host.CreateFlash();
    Check(ChildBounds(w.panel) == kLaidOut, "the next CreateFlash succeeds");
    flash.SetLoop(false);
    CheckCalls(log,
               {"Create", "SetClientSite(site)", "InitNew", "DoVerb(-5)", "InPlaceActivate(64,32,192,192)",
                "DoVerb(-1)", "SetObjectRects(64,32,192,192)", "Loop=0"},
               "the retry activates a fresh control");
}

} // namespace

int main(int argc, char** argv) {
    bool missing = false;
    DWORD hold = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "missing")
            missing = true;
        else if (arg == "--hold" && i + 1 < argc)
            hold = static_cast<DWORD>(std::strtoul(argv[++i], nullptr, 10));
        else {
            std::fprintf(stderr, "usage: flashprobe [missing] [--hold ms]\n");
            return 2;
        }
    }

    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string log = std::string(temp) + "flashprobe-" + std::to_string(GetCurrentProcessId()) + ".log";
    DeleteFileA(log.c_str());
    SetEnvironmentVariableA("LUMIVANE_STUB_LOG", log.c_str());
    SetEnvironmentVariableA("LUMIVANE_STUB_STOP_MS", "600");
    SetEnvironmentVariableA("LUMIVANE_STUB_FAIL", nullptr);

    if (FAILED(OleInitialize(nullptr))) {
        std::printf("FAIL OleInitialize\n");
        return 1;
    }
    const Windows w = MakeWindows();
    Pump(50);
    if (missing) {
        Missing(w);
    } else {
        Hosting(w, log, hold);
        FailedActivation(w, log);
    }
    DestroyWindow(w.frame);
    OleUninitialize();
    DeleteFileA(log.c_str());
    std::printf("%d passed, %d failed\n", gPassed, gFailed);
    return gFailed ? 1 : 0;
}
