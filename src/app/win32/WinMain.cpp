// The program entry of Lumivane.scr: hands the command line to the start-up.
#include <windows.h>

#include <cstdlib>

#include "app/Program.h"
#include "app/win32/Win32Startup.h"
#include "platform/win32/WideText.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    lumivane::win32::Win32Startup startup(instance);
    // The wide command line: a program path outside the ANSI code page stays whole.
    return lumivane::RunProgram(lumivane::win32::Narrow(GetCommandLineW()), startup);
}

// Every error reaches Lumivane's own handlers and boxes, so terminate() is never
// meant to run; should it, it ends the process as the C++ library's handler does,
// without printing the exception's demangled type to a console a screensaver does
// not have. Defining it here keeps that handler's demangler and printf engine
// (about 40 KB) out of the program.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
} // namespace __gnu_cxx
