// Integer text conversion shared by the preview handle and every integer of
// "Lumivane.ini": optional leading blanks, then a signed decimal number or a
// hexadecimal one after "$", "x", "X", "0x" or "0X", fitting in 32 bits (hex is
// taken as a 32-bit pattern), with nothing after it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lumivane {

std::optional<std::int32_t> TryStrToInt(std::string_view text);

// Raises EConvertError "'%s' is not a valid integer value" when text is no number.
std::int32_t StrToInt(std::string_view text);

std::int32_t StrToIntDef(std::string_view text, std::int32_t defaultValue);

// The value in upper-case hexadecimal, zero-padded to `digits` digits (more when it
// needs them): what "%08X" prints, without pulling in the printf engine.
std::string HexDigits(std::uint64_t value, int digits);

} // namespace lumivane
