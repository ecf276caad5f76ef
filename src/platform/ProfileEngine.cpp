// The host profile-file engine (see ProfileEngine.h).
#include "platform/ProfileEngine.h"

#include <fstream>
#include <sstream>

namespace lumivane {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x + 32);
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y + 32);
        if (x != y)
            return false;
    }
    return true;
}

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

bool ReadWholeFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return true;
}

} // namespace

ProfileDocument ProfileDocument::Parse(std::string_view text) {
    ProfileDocument doc;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = Trim(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty())
            continue;
        if (line.front() == '[') {
            std::size_t close = line.rfind(']');
            std::string_view name = close == std::string_view::npos ? line.substr(1) : line.substr(1, close - 1);
            doc.sections_.push_back({std::string(Trim(name)), true, {}});
            continue;
        }
        if (doc.sections_.empty())
            doc.sections_.push_back({"", false, {}});
        Entry entry;
        std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) {
            entry.name = std::string(line);
            entry.hasValue = false;
        } else {
            entry.name = std::string(Trim(line.substr(0, eq)));
            entry.value = std::string(Trim(line.substr(eq + 1)));
        }
        doc.sections_.back().entries.push_back(std::move(entry));
    }
    return doc;
}

std::string ProfileDocument::Serialize() const {
    std::string out;
    for (const auto& section : sections_) {
        if (section.hasHeader)
            out += "[" + section.name + "]\r\n";
        for (const auto& entry : section.entries)
            out += entry.hasValue ? entry.name + "=" + entry.value + "\r\n" : entry.name + "\r\n";
    }
    return out;
}

const ProfileDocument::Section* ProfileDocument::FindSection(std::string_view name) const {
    for (const auto& section : sections_)
        if (section.hasHeader && SameName(section.name, name))
            return &section;
    return nullptr;
}

const std::string* ProfileDocument::Find(std::string_view section, std::string_view key) const {
    const Section* s = FindSection(section);
    if (!s)
        return nullptr;
    for (const auto& entry : s->entries)
        if (entry.hasValue && SameName(entry.name, key))
            return &entry.value;
    return nullptr;
}

void ProfileDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    Section* s = const_cast<Section*>(FindSection(section));
    if (!s) {
        sections_.push_back({std::string(section), true, {}});
        s = &sections_.back();
    }
    for (auto& entry : s->entries) {
        if (entry.hasValue && SameName(entry.name, key)) {
            entry.value = std::string(value);
            return;
        }
    }
    s->entries.push_back({std::string(key), std::string(value), true});
}

std::vector<ProfileEntry> ProfileDocument::Entries(std::string_view section) const {
    std::vector<ProfileEntry> entries;
    if (const Section* s = FindSection(section))
        for (const auto& entry : s->entries)
            entries.push_back({entry.name, entry.value});
    return entries;
}

std::string HostProfileFile::ReadString(const std::string& path, const std::string& section, const std::string& key,
                                        const std::string& defaultValue, std::size_t bufferSize) {
    std::string text;
    std::string value = defaultValue;
    if (ReadWholeFile(path, text)) {
        auto doc = ProfileDocument::Parse(text);
        if (const std::string* found = doc.Find(section, key))
            value = std::string(Unquote(*found));
    }
    if (bufferSize == 0)
        return {};
    if (value.size() > bufferSize - 1)
        value.resize(bufferSize - 1);
    return value;
}

bool HostProfileFile::WriteString(const std::string& path, const std::string& section, const std::string& key,
                                  const std::string& value) {
    std::string text;
    ReadWholeFile(path, text);
    auto doc = ProfileDocument::Parse(text);
    doc.Set(section, key, value);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    out << doc.Serialize();
    return static_cast<bool>(out.flush());
}

std::vector<ProfileEntry> HostProfileFile::ReadSection(const std::string& path, const std::string& section) {
    std::string text;
    if (!ReadWholeFile(path, text))
        return {};
    return ProfileDocument::Parse(text).Entries(section);
}

bool HostProfileFile::Flush(const std::string&) {
    return true;
}

} // namespace lumivane
