// The profile document (see ProfileDocument.h).
#include "platform/ProfileDocument.h"

#include <algorithm>

#include "common/Utf.h"

namespace lumivane {

namespace {

bool IsBlank(char c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == ' ';
}

std::string_view TrimLeft(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    return s;
}

std::string_view Trim(std::string_view s) {
    s = TrimLeft(s);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Names and values are C strings to the profile functions: "a\0b" is "a".
std::string_view UpToNul(std::string_view s) {
    return s.substr(0, std::min(s.find('\0'), s.size()));
}

std::string Folded(std::string_view name) {
    std::string folded(name);
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return folded;
}

} // namespace

ProfileDocument ProfileDocument::Parse(std::string_view text) {
    ProfileDocument doc;
    doc.AddSection("");
    const Entry* previous = nullptr;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        while (pos < text.size() && text[pos] != '\n' && text[pos] != '\r')
            ++pos;
        const std::size_t end = pos;
        while (pos < text.size() && (text[pos] == '\n' || text[pos] == '\r'))
            ++pos;
        const std::string_view line = Trim(text.substr(start, end - start));
        if (line.empty())
            continue;
        if (line.front() == '[') {
            const std::size_t close = line.rfind(']');
            if (close != std::string_view::npos && close > 0) {
                doc.AddSection(std::string(UpToNul(Trim(line.substr(1, close - 1)))));
                previous = nullptr;
                continue;
            }
        }
        Entry entry;
        std::string_view name = line;
        const std::size_t eq = line.find('=');
        if (eq != std::string_view::npos) {
            name = Trim(line.substr(0, eq));
            entry.value = std::string(UpToNul(TrimLeft(line.substr(eq + 1))));
        } else {
            entry.hasValue = false;
        }
        // "=a" after "=b" is dropped, but not after a key with a name.
        if (name.empty() && previous && previous->name.empty())
            continue;
        entry.name = std::string(UpToNul(name));
        Section& section = doc.sections_.back();
        AddEntry(section, std::move(entry));
        previous = &section.entries.back();
    }
    return doc;
}

void ProfileDocument::AddSection(std::string name) {
    firstSection_.try_emplace(Folded(name), sections_.size());
    sections_.push_back({std::move(name), {}, {}});
}

void ProfileDocument::AddEntry(Section& section, Entry entry) {
    section.firstEntry.try_emplace(Folded(entry.name), section.entries.size());
    section.entries.push_back(std::move(entry));
}

std::string ProfileDocument::Serialize() const {
    std::size_t size = 0;
    for (const auto& section : sections_) {
        size += section.name.size() + 4;
        for (const auto& entry : section.entries)
            size += entry.name.size() + entry.value.size() + 3;
    }
    std::string out;
    out.reserve(size);
    for (const auto& section : sections_) {
        if (!section.name.empty())
            out.append("[").append(section.name).append("]\r\n");
        for (const auto& entry : section.entries) {
            out += entry.name;
            if (entry.hasValue)
                out.append("=").append(entry.value);
            out += "\r\n";
        }
    }
    return out;
}

const ProfileDocument::Section* ProfileDocument::FindSection(std::string_view name) const {
    const auto it = firstSection_.find(Folded(Trim(UpToNul(name))));
    return it == firstSection_.end() ? nullptr : &sections_[it->second];
}

const std::string* ProfileDocument::Find(std::string_view section, std::string_view key) const {
    const Section* s = FindSection(section);
    if (!s)
        return nullptr;
    const auto it = s->firstEntry.find(Folded(Trim(UpToNul(key))));
    if (it == s->firstEntry.end() || !s->entries[it->second].hasValue)
        return nullptr;
    return &s->entries[it->second].value;
}

bool ProfileDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    section = TrimLeft(UpToNul(section));
    key = TrimLeft(UpToNul(key));
    const std::string_view newValue = TrimLeft(UpToNul(value));
    auto* s = const_cast<Section*>(FindSection(section));
    if (!s) {
        AddSection(std::string(section));
        s = &sections_.back();
    }
    const auto it = s->firstEntry.find(Folded(Trim(key)));
    if (it == s->firstEntry.end()) {
        AddEntry(*s, {std::string(key), std::string(newValue), true});
        return true;
    }
    Entry& entry = s->entries[it->second];
    if (entry.hasValue && entry.value == newValue)
        return false;
    entry.value = std::string(newValue);
    entry.hasValue = true;
    return true;
}

std::span<const ProfileLine> ProfileDocument::Lines(std::string_view section) const {
    const Section* s = FindSection(section);
    return s ? std::span<const ProfileLine>(s->entries) : std::span<const ProfileLine>();
}

std::string ProfileReadValue(std::string_view stored, std::size_t bufferSize) {
    if (bufferSize == 0)
        return {};
    std::string_view value = stored;
    const bool quoted =
        value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front();
    if (quoted)
        value.remove_prefix(1);
    std::string_view out = Utf16Prefix(value, bufferSize - 1);
    if (quoted && bufferSize >= Utf16Length(value) && !out.empty()) {
        // The closing quote, or the last character when the quote did not fit:
        // a whole character, never the last byte of "é".
        std::size_t lead = out.size() - 1;
        while (lead > 0 && (static_cast<unsigned char>(out[lead]) & 0xC0) == 0x80)
            --lead;
        out = out.substr(0, lead);
    }
    return std::string(out);
}

ProfileText DecodeProfile(std::string_view bytes, TextCodec& ansi) {
    auto starts = [&](std::string_view mark) { return bytes.substr(0, mark.size()) == mark; };
    if (starts("\xEF\xBB\xBF"))
        return {ProfileRead::Read, Utf16ToUtf8(Utf8ToUtf16(bytes.substr(3))), ProfileForm::Utf8};
    const bool little = starts("\xFF\xFE");
    if (little || starts("\xFE\xFF")) {
        std::u16string units;
        units.reserve(bytes.size() / 2);
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            const auto lo = static_cast<unsigned char>(bytes[little ? i : i + 1]);
            const auto hi = static_cast<unsigned char>(bytes[little ? i + 1 : i]);
            units += static_cast<char16_t>(lo | (hi << 8));
        }
        return {ProfileRead::Read, Utf16ToUtf8(units), little ? ProfileForm::Utf16Le : ProfileForm::Utf16Be};
    }
    return {ProfileRead::Read, ansi.AnsiToUtf8(bytes), ProfileForm::Ansi};
}

std::string EncodeProfile(std::string_view text, ProfileForm form, TextCodec& ansi) {
    if (form == ProfileForm::Ansi) {
        if (std::optional<std::string> bytes = ansi.Utf8ToAnsi(text))
            return std::move(*bytes);
        form = ProfileForm::Utf16Le;
    }
    if (form == ProfileForm::Utf8)
        return "\xEF\xBB\xBF" + std::string(text);
    const bool little = form == ProfileForm::Utf16Le;
    std::string bytes = little ? "\xFF\xFE" : "\xFE\xFF";
    const std::u16string units = Utf8ToUtf16(text);
    bytes.reserve(2 + 2 * units.size());
    for (char16_t unit : units) {
        const char lo = static_cast<char>(unit & 0xFF), hi = static_cast<char>(unit >> 8);
        bytes += little ? lo : hi;
        bytes += little ? hi : lo;
    }
    return bytes;
}

} // namespace lumivane
