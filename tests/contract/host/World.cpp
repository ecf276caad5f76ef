// The host world: the fakes, and the host's profile files.
#include "contract/World.h"

#include <filesystem>
#include <unistd.h>

#include "fakes/FakeFileSystem.h"
#include "fakes/FakeServices.h"
#include "platform/ProfileDocument.h"
#include "platform/host/HostProfileFile.h"

namespace lumivane::contract {

namespace {

class EngineCalls : public ProfileCalls {
public:
    std::string Read(const std::string& path, const std::string& section, const std::string& key) override {
        const ProfileDocument doc = ProfileDocument::Parse(DecodeProfile(ReadRawFile(path), codec_).text);
        const std::string* value = doc.Find(section, key);
        return value ? ProfileReadValue(*value, 2048) : std::string();
    }
    bool Write(const std::string& path, const std::string& section, const std::string& key,
               const std::string& value) override {
        if (std::filesystem::is_directory(path))
            return false;
        const ProfileText file = DecodeProfile(ReadRawFile(path), codec_);
        ProfileDocument doc = ProfileDocument::Parse(file.text);
        if (doc.Set(section, key, value))
            WriteRawFile(path, EncodeProfile(doc.Serialize(), file.form, codec_));
        return true;
    }

private:
    Windows1252Codec codec_;
};

HostProfileFile gProfile;
EngineCalls gCalls;
test::FakeFileSystem gFiles;
test::FakeSemaphore gSemaphore;
test::FakeShell gShell;
test::FakeDrives gDrives;
int gCounter = 0;
} // namespace

ProfileFile& Profile() {
    return gProfile;
}

std::string ProfileFolder() {
    auto dir = std::filesystem::temp_directory_path() /
               ("lumivane-contract-" + std::to_string(::getpid()) + "-" + std::to_string(++gCounter));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir.string() + "/";
}

void MakePlainFolder(const std::string& path) {
    std::filesystem::create_directories(path);
}

std::vector<std::string> FolderNames(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    return names;
}

ProfileCalls& ReferenceCalls() {
    return gCalls;
}

std::unique_ptr<FileHold> HoldWithoutSharing(const std::string&) {
    return nullptr;
}

FileSystem& Files() {
    return gFiles;
}

std::string FilesRoot() {
    const std::string root = "C:\\contract" + std::to_string(++gCounter) + "\\";
    gFiles.AddFolder(root);
    return root;
}

void MakeFile(const std::string& path, const std::string& content, std::uint32_t attributes) {
    gFiles.AddFile(path, content, attributes);
}

void MakeFolder(const std::string& path, std::uint32_t attributes) {
    gFiles.AddFolder(path, attributes);
}

Semaphore& Semaphores() {
    return gSemaphore;
}

std::string UniqueName(const std::string& stem) {
    return stem + std::to_string(++gCounter);
}

Drives& DriveList() {
    gDrives.drives = {{"A:\\", DriveType::Removable}, {"C:\\", DriveType::Fixed}, {"D:\\", DriveType::CdRom}};
    return gDrives;
}

Shell& TheShell() {
    return gShell;
}

void ExpectDisplayName(const std::string& path, const std::string& name) {
    gShell.displayNames[path] = name;
}

} // namespace lumivane::contract
