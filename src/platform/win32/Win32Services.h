// The service contracts over the real Win32 API: profile files, file system,
// shell, drives, semaphore, clock and message boxes.
#pragma once

#include <windows.h>

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Drives.h"
#include "platform/FileSystem.h"
#include "platform/ProfileFile.h"
#include "platform/Semaphore.h"
#include "platform/Shell.h"
#include "platform/TextCodec.h"

namespace lumivane::win32 {

class Win32ProfileFile : public ProfileFile {
public:
    std::string ReadString(const std::string& path, const std::string& section, const std::string& key,
                           const std::string& defaultValue, std::size_t bufferSize) override;
    bool WriteString(const std::string& path, const std::string& section, const std::string& key,
                     const std::string& value) override;
    std::vector<ProfileEntry> ReadSection(const std::string& path, const std::string& section) override;
    bool Flush(const std::string& path) override;
};

class Win32FileSystem : public FileSystem {
public:
    bool FileExists(const std::string& path) override;
    std::vector<DirEntry> FindFiles(const std::string& pattern) override;
    std::unique_ptr<InputFile> OpenRead(const std::string& path) override;
};

class Win32Shell : public Shell {
public:
    void Execute(const std::string& verb, const std::string& file, const std::string& parameters) override;
    std::string DisplayName(const std::string& path) override;
};

class Win32Drives : public Drives {
public:
    std::vector<std::string> LogicalDriveStrings() override;
    DriveType TypeOf(const std::string& root) override;
};

class Win32Semaphore : public Semaphore {
public:
    SemaphoreResult CreateOrOpen(const std::string& name) override;
};

class Win32Clock : public Clock {
public:
    TimeOfDay UtcTimeOfDay() override;
    void Sleep(unsigned milliseconds) override;
};

// UTF-16 to the ANSI code page (CP_ACP), "?" for what it cannot show.
class Win32TextCodec : public TextCodec {
public:
    std::string WideToAnsi(std::u16string_view text) override;
    std::string UpperFileName(std::string text) override; // CharUpperBuffA
};

// Boxes belong to the active window of the program when there is one (the
// toolkit's boxes); otherwise they stand alone, task-modal, centred on the screen.
class Win32Dialogs : public Dialogs {
public:
    void ShowBox(const std::string& caption, const std::string& text, BoxIcon icon) override;
};

} // namespace lumivane::win32
