// The Windows video world: Win32VideoPlayer over a shown window with a black
// background, playing the videos make_videos.sh left in videos\ beside this
// program, copied to the temporary folder, where tests may delete them. The
// first open also starts the system's media engine, which may scan its plug-ins
// first: it is waited out once, before any time limit counts.
#include "contract/VideoWorld.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32VideoPlayer.h"

namespace lumivane::contract {

namespace {

HWND gSurface = nullptr;
std::unique_ptr<win32::Win32VideoPlayer> gPlayer;
std::string gFolder; // the temporary copies, with a trailing backslash

bool CopyTo(const std::u16string& from, const std::string& to) {
    return CopyFileW(win32::W(from), win32::W(win32::Wide(to)), FALSE) != FALSE;
}

// When an open never returned, Wine ends the process with a segmentation fault
// in GStreamer's threads; run_video_suite.sh accepts that after this line only.
// Workers still closing a file or an audio device are waited for first, as the
// screen window does: Wine may crash at exit under one of them too.
void ReportStuckOpens() {
    win32::Win32VideoPlayer::SettleWorkers(3000);
    if (const int stuck = win32::Win32VideoPlayer::StuckOpens())
        std::printf("video world: %d open(s) of the engine never returned\n", stuck);
    std::fflush(stdout);
}

void MakeWorld() {
    std::atexit(ReportStuckOpens);
    wchar_t path[MAX_PATH];
    GetTempPathW(MAX_PATH, path);
    gFolder = win32::Narrow(path) + "lumivane-videos\\";
    CreateDirectoryW(win32::W(win32::Wide(gFolder)), nullptr);
    // The test bed maps no drive to the build folder: only the "\\?\" form of
    // Wine's "unix\..." name for this program opens.
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::u16string source = reinterpret_cast<const char16_t*>(path);
    if (source.rfind(u"unix\\", 0) == 0)
        source = u"\\\\?\\" + source;
    source = source.substr(0, source.find_last_of(u'\\') + 1) + u"videos\\";
    for (const char* name : {"wide.mp4", "sound.mp4", "truncated.mp4", "cut.mp4", "text.mp4", "empty.mp4", "huge.mp4"})
        if (!CopyTo(source + win32::Wide(name), gFolder + name))
            throw std::runtime_error(std::string("no test video ") + name + ": make_videos.sh makes them");

    WNDCLASSW surface{};
    surface.lpfnWndProc = DefWindowProcW;
    surface.hInstance = GetModuleHandleW(nullptr);
    surface.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    surface.lpszClassName = L"LumivaneVideoContractSurface";
    RegisterClassW(&surface);
    gSurface = CreateWindowExW(WS_EX_TOOLWINDOW, surface.lpszClassName, L"Video contract", WS_POPUP, 0, 0,
                               kVideoSurface.width, kVideoSurface.height, nullptr, nullptr, surface.hInstance, nullptr);
    win32::Win32VideoPlayer warmUp(gSurface, 120000);
    warmUp.Open(gFolder + "wide.mp4");
    WaitFor([&] { return warmUp.State() != VideoState::Opening; }, 120000);
}

} // namespace

const VideoFiles& Videos() {
    static const VideoFiles files = [] {
        MakeWorld();
        const std::string& f = gFolder;
        return VideoFiles{f + "wide.mp4", f + "sound.mp4", f + "truncated.mp4", f + "cut.mp4",
                          f + "text.mp4", f + "empty.mp4", f + "gone.mp4",      f + "huge.mp4"};
    }();
    return files;
}

VideoPlayer& NewVideoPlayer() {
    Videos();
    gPlayer.reset();
    gPlayer = std::make_unique<win32::Win32VideoPlayer>(gSurface, kVideoOpenLimitMs);
    SetWindowPos(gSurface, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return *gPlayer;
}

void Step() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
    Sleep(10);
}

std::uint32_t SurfacePixel(int x, int y) {
    RedrawWindow(gSurface, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); // paint what is pending
    const win32::WindowDc dc(gSurface);
    const COLORREF c = GetPixel(dc.Get(), x, y);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

std::string CopyVideo(const std::string& path) {
    static int copies = 0;
    const std::string copy = gFolder + "copy" + std::to_string(++copies) + ".mp4";
    if (!CopyTo(win32::Wide(path), copy))
        throw std::runtime_error("cannot copy " + path);
    return copy;
}

bool DeleteVideo(const std::string& path) {
    return DeleteFileW(win32::W(win32::Wide(path))) != FALSE;
}

bool PlayerThreadsGone() {
    return !gPlayer || gPlayer->RunningWorkers() == 0;
}

void ReleaseVideoWorld() {
    gPlayer.reset();
    ShowWindow(gSurface, SW_HIDE);
}

} // namespace lumivane::contract
