// Contract: turning UTF-16 text found inside files (a screensaver's description)
// into the ANSI code page in which the program keeps every text and path.
// - Input is UTF-16 code units as stored; a lone surrogate is no error.
// - Output has one or more bytes per character; a character that the code page
//   cannot show becomes "?", as WideCharToMultiByte(CP_ACP) does with its default
//   character (on a single-byte code page, one "?" per UTF-16 unit). A U+0000 unit comes out as a zero byte: cutting at
//   it is the caller's business.
// - Never fails and raises nothing.
// UpperFileName upper-cases a file name by the system's rules for file names
// (CharUpperBuffA on Windows): on a single-byte code page every letter that has
// a capital in the same code page becomes it, accented letters included; a byte
// without one stays. Same length, never fails.
// The Win32 side converts with WideCharToMultiByte(CP_ACP); hosts without an ANSI
// code page use Windows1252Codec below.
#pragma once

#include <string>
#include <string_view>

namespace lumivane {

class TextCodec {
public:
    virtual ~TextCodec() = default;
    virtual std::string WideToAnsi(std::u16string_view text) = 0;
    virtual std::string UpperFileName(std::string text) = 0;
};

// Windows-1252 (Western European) in portable code: the code page of the hosts
// the program is most often run on, and a fixed one for the tests.
class Windows1252Codec : public TextCodec {
public:
    std::string WideToAnsi(std::u16string_view text) override;
    std::string UpperFileName(std::string text) override;
    // The byte for one UTF-16 unit, or '?'.
    static char ToByte(char16_t unit);
};

} // namespace lumivane
