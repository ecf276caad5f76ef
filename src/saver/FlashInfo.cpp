// TFlashInfo (see FlashInfo.h).
#include "saver/FlashInfo.h"

#include "common/Errors.h"

namespace lumivane {

namespace {

// Reads the n-bit field that starts at bit position start, most significant first.
std::uint32_t ReadField(const std::string& buffer, std::uint32_t start, std::uint32_t n) {
    std::uint32_t value = 0;
    for (std::uint32_t k = 0; k < n; ++k)
        if (TFlashInfo::GetBit(buffer, start + k))
            value = TFlashInfo::SetBit(value, n - 1 - k);
    return value;
}

} // namespace

std::string TFlashInfo::ReadHeader(const std::string& path) {
    auto file = files_.OpenRead(path);
    if (!file)
        throw EFOpenError("Cannot open file " + path);
    std::string buffer(kHeaderSize, '\0');
    if (file->ReadAt(kHeaderOffset, buffer.data(), kHeaderSize) != kHeaderSize)
        throw EReadError("Stream read error");
    return buffer;
}

std::uint32_t TFlashInfo::GetNbits(const std::string& buffer) {
    return buffer.empty() ? 0 : static_cast<unsigned char>(buffer[0]) >> 3;
}

std::uint32_t TFlashInfo::GetWidth(const std::string& buffer) {
    const std::uint32_t n = GetNbits(buffer);
    return ReadField(buffer, 5 + n, n) / 20;
}

std::uint32_t TFlashInfo::GetHeight(const std::string& buffer) {
    const std::uint32_t n = GetNbits(buffer);
    return ReadField(buffer, 5 + 3 * n, n) / 20;
}

bool TFlashInfo::GetBit(const std::string& buffer, std::uint32_t position) {
    const std::size_t byte = position / 8;
    if (byte >= buffer.size())
        return false;
    return (static_cast<unsigned char>(buffer[byte]) >> (7 - position % 8)) & 1u;
}

std::uint32_t TFlashInfo::SetBit(std::uint32_t value, std::uint32_t bit) { return value | (1u << bit); }

} // namespace lumivane
