// libFuzzer target for the movie frame-size reader: arbitrary bytes as a whole
// movie file through ReadHeader, and as a raw header buffer of any length
// through GetNbits, GetWidth and GetHeight. The reader must never read outside
// its buffer, must fail only with the read error and only for files shorter than
// 25 bytes, and must keep its results within what n <= 31 bits can hold.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/Errors.h"
#include "platform/FileSystem.h"
#include "saver/FlashInfo.h"

namespace {

using namespace lumivane;

class MemoryFile : public InputFile {
public:
    explicit MemoryFile(const std::string& content) : content_(content) {}
    std::uint64_t Size() override { return content_.size(); }
    std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t count) override {
        if (offset >= content_.size())
            return 0;
        const std::size_t n = std::min<std::size_t>(count, content_.size() - offset);
        std::memcpy(buffer, content_.data() + offset, n);
        return n;
    }

private:
    const std::string& content_;
};

// One file, "movie.swf", holding the fuzzer's bytes.
class OneFileSystem : public FileSystem {
public:
    explicit OneFileSystem(std::string content) : content_(std::move(content)) {}
    bool FileExists(const std::string& path) override { return path == "movie.swf"; }
    std::vector<DirEntry> FindFiles(const std::string&) override { return {}; }
    std::unique_ptr<InputFile> OpenRead(const std::string& path) override {
        if (path != "movie.swf")
            return nullptr;
        return std::make_unique<MemoryFile>(content_);
    }

private:
    std::string content_;
};

void Check(bool condition) {
    if (!condition)
        std::abort();
}

void CheckSizes(const std::string& buffer) {
    const std::uint32_t n = TFlashInfo::GetNbits(buffer);
    Check(n <= 31);
    const std::uint32_t kLargest = 0x7FFFFFFFu / 20;
    const std::uint32_t width = TFlashInfo::GetWidth(buffer);
    const std::uint32_t height = TFlashInfo::GetHeight(buffer);
    Check(width <= kLargest && height <= kLargest);
    // A field of n bits holds less than 2^n twips.
    if (n < 31) {
        Check(width <= ((1u << n) - 1) / 20);
        Check(height <= ((1u << n) - 1) / 20);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    // Any length as a raw buffer: short buffers read as zero bits past their end.
    CheckSizes(bytes);

    OneFileSystem files(bytes);
    TFlashInfo info(files);
    std::string header;
    bool readError = false;
    try {
        header = info.ReadHeader("movie.swf");
    } catch (const EReadError& error) {
        Check(error.Message() == "Stream read error");
        readError = true;
    }
    Check(readError == (size < 25));
    if (!readError) {
        Check(header.size() == TFlashInfo::kHeaderSize);
        Check(header == bytes.substr(8, 17));
        CheckSizes(header);
    }
    return 0;
}
