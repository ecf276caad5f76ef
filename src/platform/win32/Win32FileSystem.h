// The file system contract over FindFirstFile, GetFileAttributes and CreateFile.
#pragma once

#include <windows.h>

#include "platform/FileSystem.h"

namespace lumivane::win32 {

class Win32FileSystem : public FileSystem {
public:
    bool FileExists(const std::string& path) override;
    std::vector<DirEntry> FindFiles(const std::string& pattern) override;
    std::unique_ptr<InputFile> OpenRead(const std::string& path) override;
};

} // namespace lumivane::win32
