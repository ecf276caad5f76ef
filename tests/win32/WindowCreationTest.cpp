// The native windows on a system that refuses to make one of their windows: the
// start-up ends in the process-level "Application Error" box naming the call,
// with exit code 1, and no window of the program is left behind. A CBT hook is
// the system's own way to veto a creation, so the program runs unchanged.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/Program.h"
#include "app/win32/Win32Startup.h"
#include "fakes/FakeServices.h"

using namespace lumivane;

namespace {

// The class whose windows the hook refuses; the hook has no other way to learn it.
std::string gRefusedClass;

LRESULT CALLBACK RefuseClass(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        const char* name = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs->lpszClass;
        if (!IS_INTRESOURCE(name) && lstrcmpiA(name, gRefusedClass.c_str()) == 0)
            return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class BoxRecordingStartup : public win32::Win32Startup {
public:
    BoxRecordingStartup() : Win32Startup(GetModuleHandleA(nullptr)) {}
    Dialogs& GetDialogs() override { return boxes; }
    test::FakeDialogs boxes;
};

int CountThreadWindows() {
    int count = 0;
    EnumThreadWindows(
        GetCurrentThreadId(), [](HWND, LPARAM counter) { return ++*reinterpret_cast<int*>(counter), TRUE; },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

} // namespace

TEST(WindowCreation, AWindowThatCannotBeMadeEndsTheStartWithApplicationError) {
    struct Case {
        const char* commandLine;
        const char* refused;
    };
    // A control of the configuration window, the window itself, the about box and
    // its memo (made with it, hidden), the taskbar's window, a window of the
    // toolkit's own class in the screen window, and a label created by hand.
    const Case cases[] = {
        {"Lumivane.scr /c", "LISTBOX"}, {"Lumivane.scr /c", "TfrmMain"},        {"Lumivane.scr /c", "TfrmAbout"},
        {"Lumivane.scr /c", "EDIT"},    {"Lumivane.scr /c", "LumivaneTaskbar"}, {"Lumivane.scr /c", "tooltips_class32"},
        {"Lumivane.scr /s", "TPanel"},
    };
    for (const Case& c : cases) {
        gRefusedClass = c.refused;
        HHOOK hook = SetWindowsHookExA(WH_CBT, &RefuseClass, nullptr, GetCurrentThreadId());
        ASSERT_NE(hook, nullptr);
        BoxRecordingStartup startup;
        const int exitCode = RunProgram(c.commandLine, startup);
        UnhookWindowsHookEx(hook);

        EXPECT_EQ(exitCode, 1) << c.refused;
        ASSERT_EQ(startup.boxes.boxes.size(), 1u) << c.refused;
        EXPECT_EQ(startup.boxes.boxes[0].caption, "Application Error");
        const std::string& text = startup.boxes.boxes[0].text;
        EXPECT_EQ(text.rfind("Exception EOSError in module ", 0), 0u) << text;
        EXPECT_NE(text.find(std::string("CreateWindowEx(") + c.refused + ") failed"), std::string::npos) << text;
        EXPECT_EQ(CountThreadWindows(), 0) << c.refused;
    }
}
