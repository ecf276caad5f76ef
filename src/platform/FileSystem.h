// Contract: the file system as the program sees it on Windows.
// - Paths are UTF-8 with backslashes, of any length; a folder path used as a base
//   ends in a backslash.
// - FileExists is true only for an existing file; a folder is not a file.
// - FindFiles enumerates a pattern (folder + wildcard mask) like FindFirstFile /
//   FindNextFile, in the file system's order, and closes the enumeration before it
//   returns. A folder that is missing or unreadable gives no entries.
// - OpenRead opens a file for reading while letting others read it too but not
//   write it; nullptr when it cannot be opened.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace lumivane {

namespace attr {
constexpr std::uint32_t kReadOnly = 0x01;
constexpr std::uint32_t kHidden = 0x02;
constexpr std::uint32_t kSystem = 0x04;
constexpr std::uint32_t kVolumeLabel = 0x08;
constexpr std::uint32_t kDirectory = 0x10;
constexpr std::uint32_t kArchive = 0x20;
constexpr std::uint32_t kNormal = 0x80;
constexpr std::uint32_t kReparsePoint = 0x400; // junctions and symbolic links
constexpr std::uint32_t kOffline = 0x1000;
// Cloud placeholders: opening one, or reading it, downloads it first.
constexpr std::uint32_t kRecallOnOpen = 0x40000;
constexpr std::uint32_t kRecallOnDataAccess = 0x400000;
} // namespace attr

struct DirEntry {
    std::string name;
    std::uint32_t attributes = 0;
};

// An open file; closed when destroyed.
class InputFile {
public:
    virtual ~InputFile() = default;
    virtual std::uint64_t Size() = 0;
    // Reads up to count bytes at offset; returns how many were read.
    virtual std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t count) = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual bool FileExists(const std::string& path) = 0;
    virtual std::vector<DirEntry> FindFiles(const std::string& pattern) = 0;
    virtual std::unique_ptr<InputFile> OpenRead(const std::string& path) = 0;
};

} // namespace lumivane
