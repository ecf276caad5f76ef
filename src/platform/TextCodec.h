// Contract: the system's text rules that depend on its settings: the ANSI code
// page, in which a profile file without a byte-order mark is kept, and the
// upper-casing of file names. Texts inside the program are UTF-8.
// - AnsiToUtf8 reads bytes of the ANSI code page as the system does
//   (MultiByteToWideChar(CP_ACP)): on a single-byte code page every byte is a
//   character, the five that Windows-1252 leaves open included.
// - Utf8ToAnsi gives the text in the ANSI code page, or nothing when a character
//   has no byte of its own there: no best-fit stand-in ("a" for "ā") and no "?".
// - UpperFileName upper-cases by the system's rules for file names
//   (CharUpperBuffW): every small letter that has a capital becomes it, accented,
//   Greek and Cyrillic ones too; everything else stays. Never fails.
// The Win32 side converts with the system's functions; hosts without an ANSI code
// page use Windows1252Codec below.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lumivane {

class TextCodec {
public:
    virtual ~TextCodec() = default;
    virtual std::string AnsiToUtf8(std::string_view bytes) = 0;
    virtual std::optional<std::string> Utf8ToAnsi(std::string_view text) = 0;
    virtual std::string UpperFileName(std::string_view text) = 0;
};

// Windows-1252 (Western European) in portable code: the code page of the hosts
// the program is most often run on, and a fixed one for the tests. Its capitals
// cover Latin-1, the letters of Windows-1252 and basic Greek and Cyrillic.
class Windows1252Codec : public TextCodec {
public:
    std::string AnsiToUtf8(std::string_view bytes) override;
    std::optional<std::string> Utf8ToAnsi(std::string_view text) override;
    std::string UpperFileName(std::string_view text) override;
};

} // namespace lumivane
