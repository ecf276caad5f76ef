// In-memory file system (see FakeFileSystem.h).
#include "fakes/FakeFileSystem.h"

#include <algorithm>
#include <cstring>

namespace lumivane::test {

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

std::string Normalize(std::string path) {
    // Doubled separators are accepted as one, as the Windows file functions do.
    std::string out;
    for (char c : path) {
        if (c == '\\' && !out.empty() && out.back() == '\\')
            continue;
        out += c;
    }
    while (out.size() > 3 && out.back() == '\\')
        out.pop_back();
    return out;
}

std::string ParentOf(const std::string& path) {
    auto slash = path.find_last_of('\\');
    if (slash == std::string::npos)
        return "";
    return slash == 2 && path[1] == ':' ? path.substr(0, 3) : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    auto slash = path.find_last_of('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool Match(const char* n, const char* m) {
    if (*m == '\0')
        return *n == '\0';
    if (*m == '*')
        return Match(n, m + 1) || (*n != '\0' && Match(n + 1, m));
    if (*n == '\0')
        return false;
    return (*m == '?' || Lower(*m) == Lower(*n)) && Match(n + 1, m + 1);
}

class MemoryFile : public InputFile {
public:
    explicit MemoryFile(std::string data) : data_(std::move(data)) {}
    std::uint64_t Size() override { return data_.size(); }
    std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t count) override {
        if (offset >= data_.size())
            return 0;
        count = std::min<std::size_t>(count, data_.size() - offset);
        std::memcpy(buffer, data_.data() + offset, count);
        return count;
    }

private:
    std::string data_;
};

} // namespace

bool MatchesMask(const std::string& name, const std::string& mask) {
    if (mask == "*.*" || mask == "*")
        return true;
    return Match(name.c_str(), mask.c_str());
}

std::string FakeFileSystem::Key(const std::string& path) {
    std::string key = Normalize(path);
    std::transform(key.begin(), key.end(), key.begin(), Lower);
    return key;
}

FakeFileSystem::Node* FakeFileSystem::Find(const std::string& path) {
    auto it = nodes_.find(Key(path));
    return it == nodes_.end() ? nullptr : &it->second;
}

FakeFileSystem::Node& FakeFileSystem::EnsureFolder(const std::string& path) {
    const std::string norm = Normalize(path);
    if (Node* node = Find(norm))
        return *node;
    const std::string parent = ParentOf(norm);
    if (!parent.empty() && parent != norm)
        EnsureFolder(parent).children.push_back(Key(norm));
    Node& node = nodes_[Key(norm)];
    node.name = NameOf(norm);
    node.attributes = attr::kDirectory;
    return node;
}

void FakeFileSystem::AddFile(const std::string& path, const std::string& content, std::uint32_t attributes) {
    const std::string norm = Normalize(path);
    if (Node* existing = Find(norm)) {
        existing->content = content;
        existing->attributes = attributes;
        return;
    }
    EnsureFolder(ParentOf(norm)).children.push_back(Key(norm));
    Node& node = nodes_[Key(norm)];
    node.name = NameOf(norm);
    node.attributes = attributes;
    node.content = content;
}

void FakeFileSystem::AddFolder(const std::string& path, std::uint32_t attributes) {
    EnsureFolder(path).attributes = attributes | attr::kDirectory;
}

void FakeFileSystem::Remove(const std::string& path) {
    const std::string key = Key(path);
    if (Node* parent = Find(ParentOf(Normalize(path))))
        std::erase(parent->children, key);
    nodes_.erase(key);
}

bool FakeFileSystem::FileExists(const std::string& path) {
    ++existsChecks;
    if (path.empty())
        return false;
    Node* node = Find(path);
    return node && !(node->attributes & attr::kDirectory) && path.back() != '\\';
}

std::vector<DirEntry> FakeFileSystem::FindFiles(const std::string& pattern) {
    ++enumerations;
    std::vector<DirEntry> entries;
    const auto slash = pattern.find_last_of('\\');
    if (slash == std::string::npos)
        return entries;
    const std::string folder = pattern.substr(0, slash + 1);
    const std::string mask = pattern.substr(slash + 1);
    Node* dir = Find(folder);
    if (!dir || !(dir->attributes & attr::kDirectory))
        return entries;
    if (std::find(unreadable_.begin(), unreadable_.end(), Key(folder)) != unreadable_.end())
        return entries;
    // A real (non-root) folder lists "." and ".." first.
    if (Normalize(folder).size() > 3) {
        if (MatchesMask(".", mask))
            entries.push_back({".", attr::kDirectory});
        if (MatchesMask("..", mask))
            entries.push_back({"..", attr::kDirectory});
    }
    for (const auto& childKey : dir->children) {
        const Node& child = nodes_.at(childKey);
        if (MatchesMask(child.name, mask))
            entries.push_back({child.name, child.attributes});
    }
    return entries;
}

std::unique_ptr<InputFile> FakeFileSystem::OpenRead(const std::string& path) {
    ++opens;
    Node* node = Find(path);
    if (!node || (node->attributes & attr::kDirectory))
        return nullptr;
    return std::make_unique<MemoryFile>(node->content);
}

} // namespace lumivane::test
