// A small stand-in screensaver for the end-to-end tests and the demo. Every start
// appends the full command line, in UTF-8, to "<name>.log" beside the program
// (names in any script and paths of any length), so a test can read how Lumivane
// started it. With the saver switch ("s", "/s", "-s") it covers
// the screen in its own colour with its description (string resource 1) until a
// key or a click; with any other switch it only logs and ends with exit code 0.
// Each variant is the same source built with another colour and description;
// one is not always-on-top, as many real savers are not.
//
// Built with SAMPLE_PLAYER it is the stand-in standalone Flash player instead: a
// captioned window that paints its client area in its colour whatever it was
// started with, ignores keys and clicks (only WM_CLOSE ends it), and with
// LUMIVANE_PLAYER_EXIT_MS set ends by itself after that many milliseconds. With
// LUMIVANE_PLAYER_CLOSE_MS set it takes that long to close, as a player that
// saves its state does, logging "close" when asked; it answers meanwhile.
#include <windows.h>

#include <cmath>
#include <cstdlib>
#include <string>

#ifndef SAMPLE_SAVER_COLOR
#define SAMPLE_SAVER_COLOR 0x000000
#endif
// 0 waves, 1 stars, 2 rings: enough for a screenshot to tell the samples apart.
#ifndef SAMPLE_SAVER_PATTERN
#define SAMPLE_SAVER_PATTERN 0
#endif
#ifndef SAMPLE_SAVER_TOPMOST
#define SAMPLE_SAVER_TOPMOST 1
#endif
#ifndef SAMPLE_PLAYER
#define SAMPLE_PLAYER 0
#endif

namespace {

constexpr const char* kClassName = SAMPLE_PLAYER ? "LumivaneStandInPlayer" : "LumivaneSampleSaver";

std::wstring ModulePath() {
    std::wstring path(32768, L'\0');
    DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(length);
    return path;
}

std::wstring LogPath() {
    std::wstring path = ModulePath();
    std::size_t slash = path.find_last_of(L"\\/");
    std::size_t dot = path.find_last_of(L'.');
    if (dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash))
        path.erase(dot);
    // Past MAX_PATH the file functions need the long form.
    if (path.size() >= MAX_PATH - 12 && path.rfind(L"\\\\", 0) != 0)
        path = L"\\\\?\\" + path;
    return path + L".log";
}

std::string Utf8(const wchar_t* text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? static_cast<std::size_t>(n) : 1u, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

// Opened per line and shared for both reading and writing, so that a test may read
// the log while the saver runs and two quick starts never lose a line.
void AppendLog(const std::string& line) {
    HANDLE file = CreateFileW(LogPath().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    std::string text = line + "\r\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

// The first argument after the program path, by the usual quoting rule.
std::string FirstArgument(const char* commandLine) {
    const char* p = commandLine;
    if (*p == '"') {
        ++p;
        while (*p && *p != '"')
            ++p;
        if (*p)
            ++p;
    } else {
        while (*p && static_cast<unsigned char>(*p) > ' ')
            ++p;
    }
    while (*p && static_cast<unsigned char>(*p) <= ' ')
        ++p;
    std::string arg;
    bool quoted = false;
    for (; *p && (quoted || static_cast<unsigned char>(*p) > ' '); ++p) {
        if (*p == '"')
            quoted = !quoted;
        else
            arg += *p;
    }
    return arg;
}

bool IsSaverSwitch(const std::string& arg) {
    std::size_t i = (!arg.empty() && (arg[0] == '/' || arg[0] == '-')) ? 1 : 0;
    return i < arg.size() && (arg[i] == 's' || arg[i] == 'S');
}

std::string Description(HINSTANCE instance) {
    char text[256] = {};
    int length = LoadStringA(instance, 1, text, sizeof text);
    return length > 0 ? std::string(text, length) : std::string("Sample Saver");
}

COLORREF Shade(int percent) {
    const unsigned color = SAMPLE_SAVER_COLOR;
    auto part = [&](unsigned value) { return static_cast<BYTE>(value + (255 - value) * percent / 100); };
    return RGB(part((color >> 16) & 0xFF), part((color >> 8) & 0xFF), part(color & 0xFF));
}

void DrawPattern(HDC dc, const RECT& client) {
    const int width = client.right;
    const int height = client.bottom;
    if (SAMPLE_SAVER_PATTERN == 0) {
        for (int wave = 0; wave < 12; ++wave) {
            HPEN pen = CreatePen(PS_SOLID, 3, Shade(20 + wave * 5));
            HGDIOBJ old = SelectObject(dc, pen);
            int base = height * (wave + 1) / 13;
            MoveToEx(dc, 0, base, nullptr);
            for (int x = 0; x <= width; x += 8) {
                double angle = (x + wave * 37) * 2 * 3.14159265 / 160;
                LineTo(dc, x, base + static_cast<int>(20 * std::sin(angle)));
            }
            SelectObject(dc, old);
            DeleteObject(pen);
        }
    } else if (SAMPLE_SAVER_PATTERN == 1) {
        unsigned seed = 12345;
        for (int star = 0; star < 500; ++star) {
            seed = seed * 1103515245u + 12345u;
            int x = static_cast<int>((seed >> 8) % static_cast<unsigned>(width));
            seed = seed * 1103515245u + 12345u;
            int y = static_cast<int>((seed >> 8) % static_cast<unsigned>(height));
            int size = 1 + static_cast<int>((seed >> 4) % 3);
            RECT dot = {x, y, x + size, y + size};
            HBRUSH brush = CreateSolidBrush(Shade(60 + size * 12));
            FillRect(dc, &dot, brush);
            DeleteObject(brush);
        }
    } else {
        HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
        for (int ring = 0; ring < 10; ++ring) {
            int radius = (10 - ring) * height / 20;
            HBRUSH brush = CreateSolidBrush(Shade(ring * 8));
            HGDIOBJ oldBrush = SelectObject(dc, brush);
            Ellipse(dc, width / 2 - radius, height / 2 - radius, width / 2 + radius, height / 2 + radius);
            SelectObject(dc, oldBrush);
            DeleteObject(brush);
        }
        SelectObject(dc, oldPen);
    }
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        if (SAMPLE_PLAYER)
            break;
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        DrawPattern(dc, client);
        HFONT font = CreateFontA(48, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Arial");
        HGDIOBJ oldFont = SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 255));
        char caption[256] = {};
        GetWindowTextA(window, caption, sizeof caption);
        DrawTextA(dc, caption, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        SelectObject(dc, oldFont);
        DeleteObject(font);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (!SAMPLE_PLAYER)
            DestroyWindow(window);
        return 0;
    case WM_TIMER:
        DestroyWindow(window);
        return 0;
    case WM_CLOSE: {
        char closeMs[32] = {};
        if (!SAMPLE_PLAYER || !GetEnvironmentVariableA("LUMIVANE_PLAYER_CLOSE_MS", closeMs, sizeof closeMs))
            break;
        AppendLog("close");
        SetTimer(window, 2, static_cast<UINT>(std::atoi(closeMs)), nullptr);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int RunSaver(HINSTANCE instance) {
    // SAMPLE_SAVER_COLOR is written 0xRRGGBB; GDI wants the bytes the other way round.
    const unsigned color = SAMPLE_SAVER_COLOR;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = CreateSolidBrush(RGB((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF));
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassA(&windowClass))
        return 1;
    HWND window =
        SAMPLE_PLAYER
            ? CreateWindowExA(0, kClassName, "Stand-in Flash player", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 640,
                              480, nullptr, nullptr, instance, nullptr)
            : CreateWindowExA(SAMPLE_SAVER_TOPMOST ? WS_EX_TOPMOST : 0, kClassName, Description(instance).c_str(),
                              WS_POPUP | WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                              nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    char exitMs[32] = {};
    if (SAMPLE_PLAYER && GetEnvironmentVariableA("LUMIVANE_PLAYER_EXIT_MS", exitMs, sizeof exitMs))
        SetTimer(window, 1, static_cast<UINT>(std::atoi(exitMs)), nullptr);
    SetForegroundWindow(window);
    SetFocus(window);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const char* commandLine = GetCommandLineA();
    AppendLog(Utf8(GetCommandLineW()));
    if (SAMPLE_PLAYER || IsSaverSwitch(FirstArgument(commandLine)))
        return RunSaver(instance);
    return 0;
}
