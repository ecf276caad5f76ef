// The program entry of Lumivane.scr: hands the command line to the start-up.
#include <windows.h>

#include "app/Program.h"
#include "app/win32/Win32Startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    lumivane::win32::Win32Startup startup(instance);
    return lumivane::RunProgram(GetCommandLineA(), startup);
}
