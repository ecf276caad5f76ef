// The Windows world: the real Win32 implementations, run under Wine.
#include "contract/World.h"

#include <windows.h>

#include "common/Utf.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32Drives.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32ProfileFile.h"
#include "platform/win32/Win32Semaphore.h"
#include "platform/win32/Win32Shell.h"

namespace lumivane::contract {

namespace {

// The W functions, so that values in any script pass; an ANSI file is read and
// written through the code page as the A functions would.
class WindowsCalls : public ProfileCalls {
public:
    std::string Read(const std::string& path, const std::string& section, const std::string& key) override {
        wchar_t buffer[2048];
        const DWORD n =
            GetPrivateProfileStringW(W(section).c_str(), W(key).c_str(), L"", buffer, 2048, W(path).c_str());
        return Utf16ToUtf8(std::u16string(reinterpret_cast<const char16_t*>(buffer), n));
    }
    bool Write(const std::string& path, const std::string& section, const std::string& key,
               const std::string& value) override {
        return WritePrivateProfileStringW(W(section).c_str(), W(key).c_str(), W(value).c_str(), W(path).c_str()) !=
               FALSE;
    }

private:
    static std::wstring W(const std::string& text) {
        const std::u16string units = Utf8ToUtf16(text);
        return std::wstring(units.begin(), units.end());
    }
};

class Win32FileHold : public FileHold {
public:
    explicit Win32FileHold(win32::FileHandle file) : file_(std::move(file)) {}

private:
    win32::FileHandle file_;
};

win32::Win32ProfileFile gProfile;
WindowsCalls gCalls;
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

std::vector<std::string> FolderNames(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    win32::FindHandle find(FindFirstFileA((folder + "*").c_str(), &data));
    if (!find)
        return names;
    do {
        const std::string name = data.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(find.Get(), &data));
    return names;
}

ProfileCalls& ReferenceCalls() {
    return gCalls;
}

std::unique_ptr<FileHold> HoldWithoutSharing(const std::string& path) {
    win32::FileHandle file(
        CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file ? std::make_unique<Win32FileHold>(std::move(file)) : nullptr;
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
