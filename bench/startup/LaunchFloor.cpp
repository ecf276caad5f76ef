// The launch floor of the start-up benchmarks: the least a program does to start
// a screensaver through the shell, as saver mode does (ShellExecute, verb "open",
// parameters "s"), and then it ends. The rows that wait for a started program
// (a sample saver, the standalone player) are reported against it, so the second
// process start they include is in the floor too.
//
//   LaunchFloor <program>
#include <windows.h>

#include <shellapi.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    ShellExecuteA(nullptr, "open", commandLine, "s", nullptr, SW_SHOWNORMAL);
    return 0;
}
