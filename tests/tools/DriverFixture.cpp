// A window with known controls for the test bed's own check: the e2e tests trust
// what lvdriver reads from Lumivane's windows only because it reads these right.
// Started with "msgbox" it shows one warning message box instead and ends with
// exit code 7 once it is dismissed, which also proves exit codes pass through Wine.
#include <windows.h>

#include <cstring>
#include <string>

namespace {

constexpr char kClassName[] = "LumivaneDriverFixture";
constexpr int kListId = 101;
constexpr int kComboId = 102;
constexpr int kSaveId = 103;
constexpr int kStatusId = 104;
constexpr int kDisabledId = 105;
constexpr int kExitCodeAfterBox = 7;

int saveCount = 0;

void CreateControls(HWND window, HINSTANCE instance) {
    auto child = [&](const char* className, const char* text, DWORD style, int x, int y, int w, int h, int id) {
        return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, window,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    };
    HWND list = child("LISTBOX", "", WS_BORDER | LBS_NOTIFY | LBS_EXTENDEDSEL, 10, 10, 200, 120, kListId);
    for (const char* row : {"Ocean Waves", "Starfield", "C:\\Savers\\Ember Glow.scr"})
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row));
    SendMessageA(list, LB_SETSEL, TRUE, 1);
    HWND combo = child("COMBOBOX", "", CBS_DROPDOWNLIST, 220, 10, 150, 120, kComboId);
    for (const char* row : {"C:\\", "D:\\", "My Documents"})
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row));
    SendMessageA(combo, CB_SETCURSEL, 2, 0);
    child("BUTTON", "&Save", BS_PUSHBUTTON, 10, 140, 80, 24, kSaveId);
    HWND disabled = child("BUTTON", "Locked", BS_PUSHBUTTON, 100, 140, 80, 24, kDisabledId);
    EnableWindow(disabled, FALSE);
    child("STATIC", "line one\r\nline two", SS_LEFT, 10, 180, 200, 40, kStatusId);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        CreateControls(window, reinterpret_cast<CREATESTRUCTA*>(lParam)->hInstance);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == kSaveId && HIWORD(wParam) == BN_CLICKED) {
            std::string status = "Saved " + std::to_string(++saveCount);
            SetDlgItemTextA(window, kStatusId, status.c_str());
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    if (std::strstr(commandLine, "msgbox")) {
        MessageBoxA(nullptr, "Fixture message\r\nsecond line", "Fixture", MB_OK | MB_ICONWARNING);
        return kExitCodeAfterBox;
    }
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, kClassName, "Driver Fixture", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 50, 400, 280,
                                  nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
