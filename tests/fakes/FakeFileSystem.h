// An in-memory Windows-like file system: paths with backslashes, names matched
// without regard to ASCII case, attributes per entry, enumeration in creation
// order (as a fresh NTFS folder would not guarantee, but tests want a fixed order),
// wildcard masks with "*" and "?", and folders that can be made unreadable.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace lumivane::test {

class FakeFileSystem : public FileSystem {
public:
    // Creates the file and any missing parent folders.
    void AddFile(const std::string& path, const std::string& content = "", std::uint32_t attributes = attr::kArchive);
    void AddFolder(const std::string& path, std::uint32_t attributes = attr::kDirectory);
    void Remove(const std::string& path);
    void SetUnreadable(const std::string& folder) { unreadable_.push_back(Key(folder)); }
    int enumerations = 0;
    int opens = 0;
    int existsChecks = 0; // FileExists calls: one per draw of a random pick

    bool FileExists(const std::string& path) override;
    std::vector<DirEntry> FindFiles(const std::string& pattern) override;
    std::unique_ptr<InputFile> OpenRead(const std::string& path) override;

private:
    struct Node {
        std::string name; // as created
        std::uint32_t attributes = 0;
        std::string content;
        std::vector<std::string> children; // keys, in creation order
    };
    static std::string Key(const std::string& path);
    Node* Find(const std::string& path);
    Node& EnsureFolder(const std::string& path);
    std::map<std::string, Node> nodes_;
    std::vector<std::string> unreadable_;
};

// Wildcard match as FindFirstFile does it for simple masks: "*" any run, "?" one
// character, ASCII case ignored. "*.*" matches every name.
bool MatchesMask(const std::string& name, const std::string& mask);

} // namespace lumivane::test
