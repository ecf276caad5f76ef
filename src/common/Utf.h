// UTF-8, in which the program keeps every text and path, and UTF-16, in which
// Windows takes them and screensavers store their descriptions. Both directions
// are lossless for what Windows can hold: a UTF-16 unit that pairs with nothing
// (a lone surrogate, legal in a file name) becomes the three bytes its value
// would take, and comes back as that unit. Bytes that are no UTF-8 become U+FFFD
// each, as the system's conversion does.
#pragma once

#include <string>
#include <string_view>

namespace lumivane {

std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);

// How many UTF-16 units the text takes ("日本" two, an emoji two).
std::size_t Utf16Length(std::string_view text);

// The longest start of the text that takes at most units UTF-16 units, cut
// between characters.
std::string_view Utf16Prefix(std::string_view text, std::size_t units);

} // namespace lumivane
