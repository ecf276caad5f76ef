// The Windows Flash world: Win32FlashHost over a real panel in a shown window,
// with the stand-in control's class object registered for this process alone
// (CoRegisterClassObject), so the suite needs no registry entry and leaves the
// prefix as it found it. flashstub.dll is built into tools\ beside this program.
#include "contract/FlashWorld.h"

#include <windows.h>

#include <ole2.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "platform/win32/Win32FlashHost.h"

namespace lumivane::contract {

namespace {

const CLSID kFlashClassId = {0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

HWND gFrame = nullptr;
HWND gPanel = nullptr;
std::unique_ptr<win32::Win32FlashHost> gHost;

void RegisterStandIn() {
    static bool done = false;
    if (done)
        return;
    if (FAILED(OleInitialize(nullptr)))
        throw std::runtime_error("OleInitialize failed");
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring path = exe;
    // The test bed maps no drive to the build folder, so Wine names this program
    // "unix\<its Linux path>"; only the "\\?\" form of that name loads.
    if (path.rfind(L"unix\\", 0) == 0)
        path = L"\\\\?\\" + path;
    path = path.substr(0, path.find_last_of(L'\\') + 1) + L"tools\\flashstub.dll";
    HMODULE dll = LoadLibraryW(path.c_str());
    if (!dll)
        throw std::runtime_error("cannot load the stand-in Flash control tools\\flashstub.dll (error " +
                                 std::to_string(GetLastError()) + ")");
    using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    auto get = reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(GetProcAddress(dll, "DllGetClassObject")));
    IUnknown* factory = nullptr;
    if (!get || FAILED(get(kFlashClassId, IID_IClassFactory, reinterpret_cast<void**>(&factory))))
        throw std::runtime_error("the stand-in Flash control gives no class object");
    DWORD cookie = 0;
    const HRESULT hr = CoRegisterClassObject(kFlashClassId, factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie);
    factory->Release();
    if (FAILED(hr))
        throw std::runtime_error("CoRegisterClassObject failed");
    // A stand-in that stops on its own would make Playing depend on timing here.
    SetEnvironmentVariableA("LUMIVANE_STUB_STOP_MS", nullptr);
    SetEnvironmentVariableA("LUMIVANE_STUB_FAIL", nullptr);

    WNDCLASSA frame{};
    frame.lpfnWndProc = DefWindowProcA;
    frame.hInstance = GetModuleHandleA(nullptr);
    frame.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    frame.lpszClassName = "LumivaneFlashContractFrame";
    RegisterClassA(&frame);
    gFrame = CreateWindowExA(0, frame.lpszClassName, "Flash contract", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                             640, 480, nullptr, nullptr, frame.hInstance, nullptr);
    done = true;
}

} // namespace

FlashHost& NewFlashHost() {
    RegisterStandIn();
    gHost.reset(); // the control goes before its panel
    if (gPanel)
        DestroyWindow(gPanel);
    gPanel = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 24, 24, 313, 249, gFrame,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    gHost = std::make_unique<win32::Win32FlashHost>(gPanel, kFlashPlace);
    ShowWindow(gFrame, SW_SHOWNA);
    return *gHost;
}

void ReleaseFlashWorld() {
    gHost.reset();
    if (gPanel)
        DestroyWindow(gPanel);
    gPanel = nullptr;
    if (gFrame)
        ShowWindow(gFrame, SW_HIDE);
}

} // namespace lumivane::contract
