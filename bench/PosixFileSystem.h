// The FileSystem contract over a real folder tree on a POSIX host, for the
// search benchmark: one drive letter stands for a base folder, backslashes
// become slashes, and each enumeration reads the folder once with readdir, as
// FindFirstFile / FindNextFile read it once on Windows. Attributes come from the
// directory entry's type (no stat per entry, as Windows returns them with the
// name); names starting with "." are hidden, as Wine shows them.
#pragma once

#include <dirent.h>
#include <sys/stat.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "fakes/FakeFileSystem.h" // MatchesMask: the wildcard rule of FindFirstFile
#include "platform/FileSystem.h"

namespace lumivane::bench {

class PosixFileSystem : public FileSystem {
public:
    // root is "T:\" style; base is the host folder it stands for.
    PosixFileSystem(std::string root, std::string base) : root_(std::move(root)), base_(std::move(base)) {}

    std::string HostPath(const std::string& path) const {
        if (path.compare(0, root_.size(), root_) != 0)
            return {};
        std::string out = base_ + "/";
        for (std::size_t i = root_.size(); i < path.size(); ++i)
            out += path[i] == '\\' ? '/' : path[i];
        return out;
    }

    bool FileExists(const std::string& path) override {
        const std::string host = HostPath(path);
        struct stat st {};
        return !host.empty() && stat(host.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    }

    std::vector<DirEntry> FindFiles(const std::string& pattern) override {
        std::vector<DirEntry> entries;
        const auto slash = pattern.find_last_of('\\');
        if (slash == std::string::npos)
            return entries;
        const std::string host = HostPath(pattern.substr(0, slash + 1));
        const std::string mask = pattern.substr(slash + 1);
        DIR* dir = host.empty() ? nullptr : opendir(host.c_str());
        if (!dir)
            return entries;
        while (const dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (!test::MatchesMask(name, mask))
                continue;
            std::uint32_t attributes = entry->d_type == DT_DIR ? attr::kDirectory : attr::kArchive;
            if (name.size() > 1 && name[0] == '.' && name != "..")
                attributes |= attr::kHidden;
            entries.push_back({name, attributes});
        }
        closedir(dir);
        return entries;
    }

    std::unique_ptr<InputFile> OpenRead(const std::string& path) override {
        const std::string host = HostPath(path);
        FILE* file = host.empty() ? nullptr : std::fopen(host.c_str(), "rb");
        if (!file)
            return nullptr;
        return std::make_unique<StdioFile>(file);
    }

private:
    class StdioFile : public InputFile {
    public:
        explicit StdioFile(FILE* file) : file_(file) {}
        ~StdioFile() override { std::fclose(file_); }
        std::uint64_t Size() override {
            std::fseek(file_, 0, SEEK_END);
            return static_cast<std::uint64_t>(std::ftell(file_));
        }
        std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t count) override {
            if (std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0)
                return 0;
            return std::fread(buffer, 1, count, file_);
        }

    private:
        FILE* file_;
    };

    std::string root_;
    std::string base_;
};

} // namespace lumivane::bench
