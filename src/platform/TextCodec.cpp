// Windows-1252 conversion (see TextCodec.h).
#include "platform/TextCodec.h"

#include <array>

namespace lumivane {

namespace {

// Characters of bytes 0x80 to 0x9F. The five bytes that the code page leaves
// undefined map to the control characters of the same number, as Windows does.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

char Windows1252Codec::ToByte(char16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return static_cast<char>(unit);
    for (std::size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == unit)
            return static_cast<char>(0x80 + i);
    return '?';
}

std::string Windows1252Codec::WideToAnsi(std::u16string_view text) {
    // Unit by unit, as the system converts to a single-byte code page: a character
    // beyond the basic plane (a surrogate pair) becomes two "?".
    std::string out;
    out.reserve(text.size());
    for (char16_t unit : text)
        out += ToByte(unit);
    return out;
}

std::string Windows1252Codec::UpperFileName(std::string text) {
    // The small letters of the code page whose capitals it also holds: ASCII,
    // the accented range (but not the division sign), and four letters whose
    // capitals lie elsewhere. Sharp s and micro sign have none here and stay.
    for (char& c : text) {
        const auto b = static_cast<unsigned char>(c);
        if ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7))
            c = static_cast<char>(b - 0x20);
        else if (b == 0x9A || b == 0x9C || b == 0x9E)
            c = static_cast<char>(b - 0x10);
        else if (b == 0xFF)
            c = static_cast<char>(0x9F);
    }
    return text;
}

} // namespace lumivane
