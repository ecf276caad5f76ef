// libFuzzer target for the string-table reader: arbitrary bytes as a screensaver
// file (or its language file, which is read the same way), asked for its
// description (string 1) and for one more id taken from the input, for a user
// whose language the input also names. The reader must stay inside the file,
// must not read the file over and over (a loop in the resource tree), and what
// it returns must fit in a counted string; the result must come back whole from
// UTF-8, in which the program keeps it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/Utf.h"
#include "platform/FileSystem.h"
#include "platform/PeStrings.h"

namespace {

using namespace lumivane;

class MemoryFile : public InputFile {
public:
    MemoryFile(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint64_t Size() override { return size_; }
    std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t count) override {
        if (offset > size_ || count > size_ - offset)
            std::abort(); // the reader checks every range before it reads
        std::memcpy(buffer, data_ + offset, count);
        bytesRead += count;
        return count;
    }
    std::uint64_t bytesRead = 0;

private:
    const std::uint8_t* data_;
    std::size_t size_;
};

void Check(const std::uint8_t* data, std::size_t size, std::uint32_t id, std::uint16_t language) {
    MemoryFile file(data, size);
    const std::uint16_t preferred[] = {language, kEnglishUnitedStates};
    const auto text = ReadPeString(file, id, preferred).text;
    // Headers, three directory levels and one block: a few passes over the file at
    // most, however the offsets point.
    if (file.bytesRead > 8 * size + 4096)
        std::abort();
    if (!text)
        return;
    if (text->size() > 0xFFFF)
        std::abort();
    if (Utf8ToUtf16(Utf16ToUtf8(*text)) != *text)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The last two bytes name the other id, the two before them the language.
    const auto word = [&](std::size_t back) {
        return static_cast<std::uint16_t>(size >= back ? data[size - back + 1] | (data[size - back] << 8) : 0x0407);
    };
    Check(data, size, 1, word(4));
    if (size >= 2)
        Check(data, size, word(2), word(4));
    return 0;
}
