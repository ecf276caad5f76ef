// The service contracts over the real Win32 API (see Win32Services.h).
#include "platform/win32/Win32Services.h"

#include <shellapi.h>

#include <cstring>

namespace lumivane::win32 {

// Profile files ------------------------------------------------------------------

std::string Win32ProfileFile::ReadString(const std::string& path, const std::string& section, const std::string& key,
                                         const std::string& defaultValue, std::size_t bufferSize) {
    std::string buffer(bufferSize, '\0');
    const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer.data(),
                                             static_cast<DWORD>(bufferSize), path.c_str());
    buffer.resize(n);
    return buffer;
}

bool Win32ProfileFile::WriteString(const std::string& path, const std::string& section, const std::string& key,
                                   const std::string& value) {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str()) != FALSE;
}

std::vector<ProfileEntry> Win32ProfileFile::ReadSection(const std::string& path, const std::string& section) {
    // The lines come terminated one after another; the function reports size - 2
    // when the buffer was too small.
    std::vector<char> buffer(1u << 16);
    DWORD n = 0;
    for (;;) {
        n = GetPrivateProfileSectionA(section.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()), path.c_str());
        if (n + 2 < buffer.size() || buffer.size() >= (256u << 20))
            break;
        buffer.resize(buffer.size() * 4);
    }
    std::vector<ProfileEntry> entries;
    for (std::size_t i = 0; i < n;) {
        const std::size_t len = std::strlen(buffer.data() + i);
        if (len == 0)
            break;
        const std::string line(buffer.data() + i, len);
        const auto eq = line.find('=');
        entries.push_back(eq == std::string::npos ? ProfileEntry{line, ""}
                                                  : ProfileEntry{line.substr(0, eq), line.substr(eq + 1)});
        i += len + 1;
    }
    return entries;
}

bool Win32ProfileFile::Flush(const std::string& path) {
    return WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str()) != FALSE;
}

// File system ----------------------------------------------------------------------

bool Win32FileSystem::FileExists(const std::string& path) {
    if (path.empty())
        return false;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<DirEntry> Win32FileSystem::FindFiles(const std::string& pattern) {
    std::vector<DirEntry> entries;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return entries;
    do {
        entries.push_back({data.cFileName, static_cast<std::uint32_t>(data.dwFileAttributes)});
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return entries;
}

namespace {

class Win32InputFile : public InputFile {
public:
    explicit Win32InputFile(HANDLE file) : file_(file) {}
    ~Win32InputFile() override { CloseHandle(file_); }
    Win32InputFile(const Win32InputFile&) = delete;
    Win32InputFile& operator=(const Win32InputFile&) = delete;

    std::uint64_t Size() override {
        LARGE_INTEGER size{};
        return GetFileSizeEx(file_, &size) ? static_cast<std::uint64_t>(size.QuadPart) : 0;
    }

    std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t count) override {
        LARGE_INTEGER position{};
        position.QuadPart = static_cast<LONGLONG>(offset);
        if (!SetFilePointerEx(file_, position, nullptr, FILE_BEGIN))
            return 0;
        std::size_t total = 0;
        auto* out = static_cast<char*>(buffer);
        while (total < count) {
            DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count - total, 1u << 30));
            DWORD read = 0;
            if (!ReadFile(file_, out + total, chunk, &read, nullptr) || read == 0)
                break;
            total += read;
        }
        return total;
    }

private:
    HANDLE file_;
};

} // namespace

std::unique_ptr<InputFile> Win32FileSystem::OpenRead(const std::string& path) {
    // Others may read the file meanwhile, but not write it.
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    return std::make_unique<Win32InputFile>(file);
}

// Shell --------------------------------------------------------------------------------

void Win32Shell::Execute(const std::string& verb, const std::string& file, const std::string& parameters) {
    ShellExecuteA(nullptr, verb.c_str(), file.c_str(), parameters.empty() ? nullptr : parameters.c_str(), nullptr,
                  SW_SHOWNORMAL);
}

std::string Win32Shell::DisplayName(const std::string& path) {
    SHFILEINFOA info;
    std::memset(&info, 0, sizeof info);
    SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_DISPLAYNAME);
    info.szDisplayName[sizeof info.szDisplayName - 1] = '\0';
    return info.szDisplayName;
}

// Drives ---------------------------------------------------------------------------------

std::vector<std::string> Win32Drives::LogicalDriveStrings() {
    char buffer[256] = {};
    const DWORD n = GetLogicalDriveStringsA(sizeof buffer, buffer);
    std::vector<std::string> roots;
    if (n == 0 || n > sizeof buffer)
        return roots;
    for (const char* p = buffer; *p; p += std::strlen(p) + 1)
        roots.emplace_back(p);
    return roots;
}

DriveType Win32Drives::TypeOf(const std::string& root) {
    const UINT type = GetDriveTypeA(root.c_str());
    return type <= DRIVE_RAMDISK ? static_cast<DriveType>(type) : DriveType::Unknown;
}

// Semaphore ---------------------------------------------------------------------------------

SemaphoreResult Win32Semaphore::CreateOrOpen(const std::string& name) {
    HANDLE handle = CreateSemaphoreA(nullptr, 0, 1, name.c_str());
    if (!handle)
        return SemaphoreResult::Failed;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(handle);
        return SemaphoreResult::AlreadyExists;
    }
    // The handle of a new marker stays open until the process ends: the marker
    // exists exactly as long as this saver runs.
    return SemaphoreResult::Created;
}

// Clock -------------------------------------------------------------------------------------

TimeOfDay Win32Clock::UtcTimeOfDay() {
    SYSTEMTIME t;
    GetSystemTime(&t);
    return {t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

void Win32Clock::Sleep(unsigned milliseconds) {
    ::Sleep(milliseconds);
}

// Text ----------------------------------------------------------------------------------------

std::string Win32TextCodec::WideToAnsi(std::u16string_view text) {
    if (text.empty())
        return {};
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int length = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_ACP, 0, wide, length, out.data(), n, nullptr, nullptr);
    return out;
}

std::string Win32TextCodec::UpperFileName(std::string text) {
    if (!text.empty())
        CharUpperBuffA(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// Message boxes ------------------------------------------------------------------------------

void Win32Dialogs::ShowBox(const std::string& caption, const std::string& text, BoxIcon icon) {
    UINT flags = MB_OK;
    switch (icon) {
    case BoxIcon::Information:
        flags |= MB_ICONINFORMATION;
        break;
    case BoxIcon::Warning:
        flags |= MB_ICONWARNING;
        break;
    case BoxIcon::Error:
        flags |= MB_ICONSTOP;
        break;
    }
    HWND owner = GetActiveWindow();
    if (!owner)
        flags |= MB_TASKMODAL;
    MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
}

} // namespace lumivane::win32
