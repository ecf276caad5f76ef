// The Windows world: the real Win32 implementations, run under Wine.
#include "contract/World.h"

#include <windows.h>

#include "platform/win32/Win32Drives.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32ProfileFile.h"
#include "platform/win32/Win32Semaphore.h"
#include "platform/win32/Win32Shell.h"

namespace lumivane::contract {

namespace {
win32::Win32ProfileFile gProfile;
win32::Win32FileSystem gFiles;
win32::Win32Semaphore gSemaphore;
win32::Win32Shell gShell;
win32::Win32Drives gDrives;
int gCounter = 0;

std::string NewTempFolder() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    // Wine reuses process ids from run to run, so the time keeps folders apart.
    std::string dir = std::string(temp) + "lumivane-contract-" + std::to_string(GetCurrentProcessId()) + "-" +
                      std::to_string(GetTickCount64()) + "-" + std::to_string(++gCounter);
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir + "\\";
}
} // namespace

ProfileFile& Profile() {
    return gProfile;
}
std::string ProfileFolder() {
    return NewTempFolder();
}

void MakePlainFolder(const std::string& path) {
    CreateDirectoryA(path.c_str(), nullptr);
}

FileSystem& Files() {
    return gFiles;
}
std::string FilesRoot() {
    return NewTempFolder();
}

void MakeFile(const std::string& path, const std::string& content, std::uint32_t attributes) {
    WriteRawFile(path, content);
    SetFileAttributesA(path.c_str(), attributes);
}

void MakeFolder(const std::string& path, std::uint32_t attributes) {
    CreateDirectoryA(path.c_str(), nullptr);
    if (attributes != FILE_ATTRIBUTE_DIRECTORY)
        SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_DIRECTORY);
}

Semaphore& Semaphores() {
    return gSemaphore;
}
std::string UniqueName(const std::string& stem) {
    return stem + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++gCounter);
}

Drives& DriveList() {
    return gDrives;
}
Shell& TheShell() {
    return gShell;
}
void ExpectDisplayName(const std::string&, const std::string&) {}

} // namespace lumivane::contract
