// The program entry of Lumivane.scr: hands the command line to the start-up.
#include <windows.h>

#include "app/Program.h"
#include "app/win32/Win32Startup.h"
#include "platform/win32/WideText.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    lumivane::win32::Win32Startup startup(instance);
    // The wide command line: a program path outside the ANSI code page stays whole.
    return lumivane::RunProgram(lumivane::win32::Narrow(GetCommandLineW()), startup);
}
