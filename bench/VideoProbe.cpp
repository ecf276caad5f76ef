// The least Media Foundation code that shows a video's first frame in a window:
// the yardstick for how long Lumivane takes from its start to a video's first
// frame. Prints the milliseconds from this program's start to that frame being
// painted, then keeps the window up for the time asked (or exits at once).
//
//   video_probe.exe <video file> [hold ms]
#include <windows.h>

#include <mfapi.h>
#include <mfidl.h>
#include <mfreadwrite.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/VideoFrames.h"
#include "platform/win32/Handles.h"

using namespace lumivane;
using lumivane::win32::ComRef;

namespace {

std::vector<std::uint32_t> gPixels;
int gWidth = 0, gHeight = 0;

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept try {
    if (message == WM_PAINT) {
        win32::PaintDc dc(window);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, gWidth, -gHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        StretchDIBits(dc.Get(), 0, 0, gWidth, gHeight, 0, 0, gWidth, gHeight, gPixels.data(), &info, DIB_RGB_COLORS,
                      SRCCOPY);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
} catch (...) {
    return 0;
}

// A sample's buffer, locked while this lives.
struct Locked {
    ComRef<IMFMediaBuffer> buffer;
    BYTE* data = nullptr;
    DWORD length = 0;
    explicit Locked(IMFSample& sample) {
        if (SUCCEEDED(sample.ConvertToContiguousBuffer(buffer.Put())) && FAILED(buffer->Lock(&data, nullptr, &length)))
            buffer.Reset();
    }
    ~Locked() {
        if (buffer)
            buffer->Unlock();
    }
};

int Fail(const char* what, HRESULT hr) {
    std::printf("video_probe: %s failed (0x%08lx)\n", what, static_cast<unsigned long>(hr));
    return 1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const ULONGLONG start = GetTickCount64();
    if (argc < 2) {
        std::printf("usage: video_probe <video file> [hold ms]\n");
        return 2;
    }
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    HRESULT hr = MFStartup(MF_VERSION, MFSTARTUP_LITE);
    if (FAILED(hr))
        return Fail("MFStartup", hr);
    ComRef<IMFSourceReader> reader;
    if (FAILED(hr = MFCreateSourceReaderFromURL(argv[1], nullptr, reader.Put())))
        return Fail("MFCreateSourceReaderFromURL", hr);
    reader->SetStreamSelection(MF_SOURCE_READER_ALL_STREAMS, FALSE);
    reader->SetStreamSelection(MF_SOURCE_READER_FIRST_VIDEO_STREAM, TRUE);
    ComRef<IMFMediaType> nv12;
    MFCreateMediaType(nv12.Put());
    nv12->SetGUID(MF_MT_MAJOR_TYPE, MFMediaType_Video);
    nv12->SetGUID(MF_MT_SUBTYPE, MFVideoFormat_NV12);
    if (FAILED(hr = reader->SetCurrentMediaType(MF_SOURCE_READER_FIRST_VIDEO_STREAM, nullptr, nv12.Get())))
        return Fail("SetCurrentMediaType NV12", hr);
    ComRef<IMFSample> sample;
    DWORD stream = 0, flags = 0;
    LONGLONG time = 0;
    while (!sample && !(flags & MF_SOURCE_READERF_ENDOFSTREAM))
        if (FAILED(
                hr = reader->ReadSample(MF_SOURCE_READER_FIRST_VIDEO_STREAM, 0, &stream, &flags, &time, sample.Put())))
            return Fail("ReadSample", hr);
    if (!sample)
        return Fail("ReadSample (no frame)", E_FAIL);
    ComRef<IMFMediaType> type;
    reader->GetCurrentMediaType(MF_SOURCE_READER_FIRST_VIDEO_STREAM, type.Put());
    UINT64 size = 0;
    type->GetUINT64(MF_MT_FRAME_SIZE, &size);
    gWidth = static_cast<int>(size >> 32);
    gHeight = static_cast<int>(size & 0xFFFFFFFF);
    {
        const Locked frame(*sample.Get());
        if (!frame.buffer || frame.length < static_cast<DWORD>(gWidth * gHeight * 3 / 2))
            return Fail("frame size", E_FAIL);
        gPixels.resize(static_cast<std::size_t>(gWidth) * gHeight);
        Nv12ToBgrx({frame.data, frame.data + gWidth * gHeight, gWidth, gWidth, gHeight}, YuvMatrix::Bt601,
                   gPixels.data());
    }

    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"LumivaneVideoProbe";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(0, wc.lpszClassName, L"video probe", WS_POPUP | WS_VISIBLE, 0, 0, gWidth, gHeight,
                                  nullptr, nullptr, wc.hInstance, nullptr);
    UpdateWindow(window);
    GdiFlush();
    std::printf("video_probe: first frame %d x %d after %llu ms\n", gWidth, gHeight, GetTickCount64() - start);
    std::fflush(stdout);
    const ULONGLONG until = GetTickCount64() + (argc > 2 ? wcstoul(argv[2], nullptr, 10) : 0);
    MSG msg;
    while (GetTickCount64() < until) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        Sleep(10);
    }
    // The process ends without MFShutdown, as Lumivane does.
    return 0;
}
