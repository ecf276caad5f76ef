// The file system contract over FindFirstFile, GetFileAttributes and CreateFile (see Win32FileSystem.h).
#include "platform/win32/Win32FileSystem.h"

#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

#include <algorithm>

namespace lumivane::win32 {

bool Win32FileSystem::FileExists(const std::string& path) {
    if (path.empty())
        return false;
    const DWORD attributes = GetFileAttributesW(W(WidePath(path)));
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<DirEntry> Win32FileSystem::FindFiles(const std::string& pattern) {
    std::vector<DirEntry> entries;
    WIN32_FIND_DATAW data;
    const FindHandle find(FindFirstFileW(W(WidePath(pattern)), &data));
    if (!find)
        return entries;
    do {
        entries.push_back({Narrow(data.cFileName), static_cast<std::uint32_t>(data.dwFileAttributes)});
    } while (FindNextFileW(find.Get(), &data));
    return entries;
}

namespace {

class Win32InputFile : public InputFile {
public:
    explicit Win32InputFile(FileHandle file) : file_(std::move(file)) {}

    std::uint64_t Size() override {
        LARGE_INTEGER size{};
        return GetFileSizeEx(file_.Get(), &size) ? static_cast<std::uint64_t>(size.QuadPart) : 0;
    }

    std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t count) override {
        LARGE_INTEGER position{};
        position.QuadPart = static_cast<LONGLONG>(offset);
        if (!SetFilePointerEx(file_.Get(), position, nullptr, FILE_BEGIN))
            return 0;
        std::size_t total = 0;
        auto* out = static_cast<char*>(buffer);
        while (total < count) {
            DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count - total, 1u << 30));
            DWORD read = 0;
            if (!ReadFile(file_.Get(), out + total, chunk, &read, nullptr) || read == 0)
                break;
            total += read;
        }
        return total;
    }

private:
    FileHandle file_;
};

} // namespace

std::unique_ptr<InputFile> Win32FileSystem::OpenRead(const std::string& path) {
    // Others may read the file meanwhile, but not write it.
    FileHandle file(CreateFileW(W(WidePath(path)), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return nullptr;
    return std::make_unique<Win32InputFile>(std::move(file));
}

} // namespace lumivane::win32
