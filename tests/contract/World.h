// The world a contract suite runs in: the implementation under test and the
// means to prepare its surroundings. The host build supplies the fakes (and the
// host profile engine); the Windows build, run under Wine, supplies the real
// Win32 implementations. The same suites run against both, so the fakes are
// known to behave like the real API.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Drives.h"
#include "platform/FileSystem.h"
#include "platform/ProfileFile.h"
#include "platform/Semaphore.h"
#include "platform/Shell.h"

namespace lumivane::contract {

ProfileFile& Profile();
// A new, empty folder for profile files, as a path ending in the separator.
std::string ProfileFolder();
// Replaces a file's bytes (for hand-edited or broken files).
void WriteRawFile(const std::string& path, const std::string& bytes);
std::string ReadRawFile(const std::string& path);
// Makes a folder at a path, so that a file cannot be written there.
void MakePlainFolder(const std::string& path);
// The names in a folder (a path ending in the separator), "." and ".." left out.
std::vector<std::string> FolderNames(const std::string& folder);

// The profile functions called one value at a time, as the program called them
// before it read and wrote whole files: GetPrivateProfileStringA (a buffer of 2048,
// an empty default) and WritePrivateProfileStringA on Windows, the document
// engine applied per call on the host. The whole-file reads and writes are held
// to them.
class ProfileCalls {
public:
    virtual ~ProfileCalls() = default;
    virtual std::string Read(const std::string& path, const std::string& section, const std::string& key) = 0;
    virtual bool Write(const std::string& path, const std::string& section, const std::string& key,
                       const std::string& value) = 0;
};
ProfileCalls& ReferenceCalls();

// A file opened without sharing, as a backup program or a virus scanner holds it;
// closed when destroyed.
class FileHold {
public:
    virtual ~FileHold() = default;
};
// nullptr where the world cannot hold a file so (the host: its tests run as root).
std::unique_ptr<FileHold> HoldWithoutSharing(const std::string& path);

FileSystem& Files();
// A new, empty folder for the file system suite, Windows style, ending in "\".
std::string FilesRoot();
void MakeFile(const std::string& path, const std::string& content, std::uint32_t attributes);
void MakeFolder(const std::string& path, std::uint32_t attributes);

Semaphore& Semaphores();
std::string UniqueName(const std::string& stem);

Drives& DriveList();

Shell& TheShell();
// Registers what the shell should call a file (the real shell knows by itself).
void ExpectDisplayName(const std::string& path, const std::string& name);

} // namespace lumivane::contract
