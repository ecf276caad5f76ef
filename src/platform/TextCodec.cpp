// Windows-1252 conversion (see TextCodec.h).
#include "platform/TextCodec.h"

#include <array>

#include "common/Utf.h"

namespace lumivane {

namespace {

// Characters of bytes 0x80 to 0x9F. The five bytes that the code page leaves
// undefined map to the control characters of the same number, as Windows does.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t Upper(char16_t c) {
    if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7) || (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) ||
        (c >= 0x430 && c <= 0x44F))
        return static_cast<char16_t>(c - 0x20);
    if (c >= 0x450 && c <= 0x45F)
        return static_cast<char16_t>(c - 0x50);
    if (c == 0xFF)
        return 0x178;
    if (c == 0x3AC) // Greek small letters with tonos
        return 0x386;
    if (c >= 0x3AD && c <= 0x3AF)
        return static_cast<char16_t>(c - 0x25);
    if (c == 0x161 || c == 0x153 || c == 0x17E) // š œ ž
        return static_cast<char16_t>(c - 1);
    return c;
}

} // namespace

std::string Windows1252Codec::AnsiToUtf8(std::string_view bytes) {
    std::u16string wide;
    wide.reserve(bytes.size());
    for (char b : bytes) {
        const auto byte = static_cast<unsigned char>(b);
        wide += byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : static_cast<char16_t>(byte);
    }
    return Utf16ToUtf8(wide);
}

std::optional<std::string> Windows1252Codec::Utf8ToAnsi(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char16_t unit : Utf8ToUtf16(text)) {
        if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
            out += static_cast<char>(unit);
            continue;
        }
        std::size_t i = 0;
        while (i < kHighControls.size() && kHighControls[i] != unit)
            ++i;
        if (i == kHighControls.size())
            return std::nullopt;
        out += static_cast<char>(0x80 + i);
    }
    return out;
}

std::string Windows1252Codec::UpperFileName(std::string_view text) {
    std::u16string wide = Utf8ToUtf16(text);
    for (char16_t& c : wide)
        c = Upper(c);
    return Utf16ToUtf8(wide);
}

} // namespace lumivane
