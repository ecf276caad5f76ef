// The Windows video world: Win32VideoPlayer over a shown window with a black
// background, playing the videos that make_videos.sh left in videos\ beside this
// program (copied to the temporary folder, where the tests may delete them).
// The first open of the process also starts the system's media engine, which
// may scan its plug-ins first; it is waited out once, before any time limit.
#include "contract/VideoWorld.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/win32/WideText.h"
#include "platform/win32/Win32VideoPlayer.h"

namespace lumivane::contract {

namespace {

HWND gSurface = nullptr;
std::unique_ptr<win32::Win32VideoPlayer> gPlayer;
std::u16string gFolder; // the temporary copies, with a trailing backslash

void PumpFor(unsigned ms) {
    const ULONGLONG until = GetTickCount64() + ms;
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (ms)
            Sleep(5);
    } while (GetTickCount64() < until);
}

std::u16string ProgramFolder() {
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::u16string path = reinterpret_cast<const char16_t*>(exe);
    // The test bed maps no drive to the build folder: only the "\\?\" form of
    // Wine's "unix\..." name opens.
    if (path.rfind(u"unix\\", 0) == 0)
        path = u"\\\\?\\" + path;
    return path.substr(0, path.find_last_of(u'\\') + 1);
}

// Says so when an open of the engine never returned: Wine then ends the process
// with a segmentation fault in GStreamer's threads, which run_video_suite.sh
// accepts only after this line and a run without failures.
void ReportStuckOpens() {
    if (const int stuck = win32::Win32VideoPlayer::StuckOpens())
        std::printf("video world: %d open(s) of the engine never returned\n", stuck);
    std::fflush(stdout);
}

void MakeWorld() {
    if (gSurface)
        return;
    std::atexit(ReportStuckOpens);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    gFolder = reinterpret_cast<const char16_t*>(temp);
    gFolder += u"lumivane-videos\\";
    CreateDirectoryW(win32::W(gFolder), nullptr);
    const std::u16string source = ProgramFolder() + u"videos\\";
    for (const char16_t* name :
         {u"wide.mp4", u"sound.mp4", u"truncated.mp4", u"cut.mp4", u"text.mp4", u"empty.mp4", u"huge.mp4"})
        if (!CopyFileW(win32::W(source + name), win32::W(gFolder + name), FALSE))
            throw std::runtime_error("no test video " + win32::Narrow(source + name) +
                                     ": make_videos.sh makes them (error " + std::to_string(GetLastError()) + ")");

    WNDCLASSW surface{};
    surface.lpfnWndProc = DefWindowProcW;
    surface.hInstance = GetModuleHandleW(nullptr);
    surface.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    surface.lpszClassName = L"LumivaneVideoContractSurface";
    RegisterClassW(&surface);
    gSurface = CreateWindowExW(WS_EX_TOOLWINDOW, surface.lpszClassName, L"Video contract", WS_POPUP, 0, 0,
                               kVideoSurface.width, kVideoSurface.height, nullptr, nullptr, surface.hInstance, nullptr);

    // The engine's start-up, once and without a limit.
    win32::Win32VideoPlayer warmUp(gSurface, 120000);
    warmUp.Open(win32::Narrow(gFolder) + "wide.mp4");
    const ULONGLONG until = GetTickCount64() + 120000;
    while (warmUp.State() == VideoState::Opening && GetTickCount64() < until)
        PumpFor(20);
}

} // namespace

const VideoFiles& Videos() {
    static const VideoFiles files = [] {
        MakeWorld();
        const std::string folder = win32::Narrow(gFolder);
        return VideoFiles{folder + "wide.mp4", folder + "sound.mp4", folder + "truncated.mp4", folder + "cut.mp4",
                          folder + "text.mp4", folder + "empty.mp4", folder + "gone.mp4",      folder + "huge.mp4"};
    }();
    return files;
}

VideoPlayer& NewVideoPlayer() {
    Videos();
    gPlayer.reset();
    gPlayer = std::make_unique<win32::Win32VideoPlayer>(gSurface, kVideoOpenLimitMs);
    SetWindowPos(gSurface, HWND_TOPMOST, 0, 0, kVideoSurface.width, kVideoSurface.height,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    RedrawWindow(gSurface, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    return *gPlayer;
}

VideoState WaitWhile(VideoPlayer& player, VideoState from, unsigned ms) {
    const ULONGLONG until = GetTickCount64() + ms;
    while (player.State() == from && GetTickCount64() < until)
        PumpFor(10);
    PumpFor(0);
    return player.State();
}

void Pump(unsigned ms) {
    PumpFor(ms);
}

std::uint32_t SurfacePixel(int x, int y) {
    PumpFor(0);
    UpdateWindow(gSurface);
    HDC dc = GetDC(gSurface);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(gSurface, dc);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

std::uint32_t WaitForColour(int x, int y, std::uint32_t rgb, unsigned ms) {
    const ULONGLONG until = GetTickCount64() + ms;
    std::uint32_t pixel = SurfacePixel(x, y);
    while (!NearColour(pixel, rgb) && GetTickCount64() < until) {
        PumpFor(20);
        pixel = SurfacePixel(x, y);
    }
    return pixel;
}

std::string CopyVideo(const std::string& path) {
    static int copies = 0;
    const std::string copy = win32::Narrow(gFolder) + "copy" + std::to_string(++copies) + ".mp4";
    if (!CopyFileW(win32::W(win32::Wide(path)), win32::W(win32::Wide(copy)), FALSE))
        throw std::runtime_error("cannot copy " + path);
    return copy;
}

bool DeleteVideo(const std::string& path, unsigned ms) {
    const ULONGLONG until = GetTickCount64() + ms;
    for (;;) {
        if (DeleteFileW(win32::W(win32::Wide(path))))
            return true;
        if (GetTickCount64() >= until)
            return false;
        PumpFor(20);
    }
}

bool PlayerThreadsGone(unsigned ms) {
    const ULONGLONG until = GetTickCount64() + ms;
    while (gPlayer && gPlayer->RunningWorkers() > 0 && GetTickCount64() < until)
        PumpFor(20);
    return !gPlayer || gPlayer->RunningWorkers() == 0;
}

void ReleaseVideoWorld() {
    gPlayer.reset();
    if (gSurface)
        ShowWindow(gSurface, SW_HIDE);
    PumpFor(0);
}

} // namespace lumivane::contract
