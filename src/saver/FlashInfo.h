// TFlashInfo: the frame size of a Flash movie (SWF), read from the 17 bytes at
// file offset 8 that hold the frame rectangle. Nothing else of the file is
// examined: not the signature, not the version, and a compressed movie is decoded
// as if its bytes were a rectangle.
#pragma once

#include <cstdint>
#include <string>

#include "platform/FileSystem.h"

namespace lumivane {

class TFlashInfo {
public:
    static constexpr std::size_t kHeaderSize = 17;
    static constexpr std::uint64_t kHeaderOffset = 8;

    explicit TFlashInfo(FileSystem& files) : files_(files) {}

    // The 17 header bytes. Raises EFOpenError "Cannot open file <path>" when the
    // file cannot be opened and EReadError "Stream read error" when fewer than 17
    // bytes follow offset 8.
    std::string ReadHeader(const std::string& path);

    static std::uint32_t GetNbits(const std::string& buffer);
    static std::uint32_t GetWidth(const std::string& buffer);
    static std::uint32_t GetHeight(const std::string& buffer);
    static bool GetBit(const std::string& buffer, std::uint32_t position);
    static std::uint32_t SetBit(std::uint32_t value, std::uint32_t bit);

private:
    FileSystem& files_;
};

} // namespace lumivane
