// A profile (INI) file's text as the Windows profile functions read and write it,
// so that the program can read a whole file once and write it once and still get
// what one profile call per value gives. Wine's profile functions are the
// reference the contract suite holds it to:
// - A line ends at CR or LF. Blanks (tab, LF, VT, FF, CR, space and ^Z) around a
//   line, a name and a value are dropped.
// - "[name]" opens a section; the name runs to the last "]" of the line. A line
//   that starts with "[" but has no "]" is a key line. Lines before the first
//   section belong to a section without a name, which is written without header.
// - A key line is a name, "=" and a value, or a name alone (a key without value).
//   A line with an empty name right after another key of empty name is dropped.
//   Names and values end at a NUL character.
// - Names match without regard to ASCII case. Only the first section of a name
//   and in it the first key of a name count, a key without value too: it reads
//   as missing and hides a later key of its name.
// - Set replaces a value in place, adds a new key at the end of its section and a
//   new section at the end of the document; blanks before the value are dropped.
//   Setting the value a key already has changes nothing (and the file is then
//   not written at all).
// - Serialize gives "[name]" and "name=value" (or "name") lines ending in CR LF.
#pragma once

#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ProfileFile.h"
#include "platform/TextCodec.h"

namespace lumivane {

// One key line of a section: its name and the value as stored.
struct ProfileLine {
    std::string name;
    std::string value;
    bool hasValue = true; // false for a line without "="
};

class ProfileDocument {
public:
    static ProfileDocument Parse(std::string_view text);
    std::string Serialize() const;

    // The stored value (quotes kept, no length cut); nullptr when the section or
    // key is missing or the key has no value.
    const std::string* Find(std::string_view section, std::string_view key) const;
    // Returns whether the document changed.
    bool Set(std::string_view section, std::string_view key, std::string_view value);
    // The lines of the first section of that name (none when it is missing),
    // valid until the document changes.
    std::span<const ProfileLine> Lines(std::string_view section) const;

private:
    using Entry = ProfileLine;
    struct Section {
        std::string name;
        std::vector<Entry> entries;
        std::map<std::string, std::size_t> firstEntry; // by folded name
    };
    const Section* FindSection(std::string_view name) const;
    void AddSection(std::string name);
    static void AddEntry(Section& section, Entry entry);

    std::vector<Section> sections_;
    std::map<std::string, std::size_t> firstSection_; // by folded name
};

// What a read with a buffer of bufferSize characters (UTF-16 units) gives of a
// stored value: one pair of matching quotes around it removed, then cut to
// bufferSize - 1 characters. As on Windows, a quoted value that just fills the
// buffer loses its last character with the closing quote.
std::string ProfileReadValue(std::string_view stored, std::size_t bufferSize);

// A file's text in UTF-8 and its form, as the profile functions read the bytes:
// EF BB BF starts UTF-8, FF FE UTF-16 little-endian, FE FF big-endian (the mark
// is no part of the text); any other file is in the ANSI code page.
ProfileText DecodeProfile(std::string_view bytes, TextCodec& ansi);
// The bytes of a text in a form, with its mark. A text for the ANSI code page
// with a character the code page lacks ("Привет.scr" on a Western system) is
// given in UTF-16 little-endian with its mark instead, which the profile
// functions read as well; it stays in that form from then on, as files written
// by the profile functions do.
std::string EncodeProfile(std::string_view text, ProfileForm form, TextCodec& ansi);

} // namespace lumivane
