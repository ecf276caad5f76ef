// UTF-8 and UTF-16 (see Utf.h).
#include "common/Utf.h"

namespace lumivane {

namespace {

void Append(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The character at text[pos] and its length in bytes; U+FFFD and one byte for a
// byte that starts no well-formed sequence. Surrogates encoded alone pass, so
// that a lone unit survives the round trip.
char32_t Decode(std::string_view text, std::size_t pos, std::size_t& length) {
    const auto b0 = static_cast<unsigned char>(text[pos]);
    length = 1;
    if (b0 < 0x80)
        return b0;
    std::size_t need;
    char32_t c;
    char32_t least;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        need = 1, c = b0 & 0x1F, least = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        need = 2, c = b0 & 0x0F, least = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        need = 3, c = b0 & 0x07, least = 0x10000;
    } else {
        return 0xFFFD;
    }
    for (std::size_t i = 1; i <= need; ++i) {
        if (pos + i >= text.size())
            return 0xFFFD;
        const auto b = static_cast<unsigned char>(text[pos + i]);
        if ((b & 0xC0) != 0x80)
            return 0xFFFD;
        c = (c << 6) | (b & 0x3F);
    }
    if (c < least || c > 0x10FFFF)
        return 0xFFFD;
    length = need + 1;
    return c;
}

} // namespace

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            Append(out, 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else {
            Append(out, unit);
        }
    }
    return out;
}

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t pos = 0, length = 0; pos < text.size(); pos += length) {
        const char32_t c = Decode(text, pos, length);
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

std::size_t Utf16Length(std::string_view text) {
    std::size_t units = 0;
    for (std::size_t pos = 0, length = 0; pos < text.size(); pos += length)
        units += Decode(text, pos, length) >= 0x10000 ? 2 : 1;
    return units;
}

std::string_view Utf16Prefix(std::string_view text, std::size_t units) {
    std::size_t pos = 0;
    for (std::size_t length = 0; pos < text.size(); pos += length) {
        const std::size_t take = Decode(text, pos, length) >= 0x10000 ? 2 : 1;
        if (take > units)
            break;
        units -= take;
    }
    return text.substr(0, pos);
}

} // namespace lumivane
