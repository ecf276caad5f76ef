// Display names (see DisplayName.h).
#include "settings/DisplayName.h"

#include "common/Utf.h"
#include "platform/PeStrings.h"

namespace lumivane {

namespace {

constexpr std::uint32_t kDescriptionId = 1;

// Text up to its first zero, at most `limit` UTF-16 units: what a C buffer of
// limit + 1 characters would hold.
std::string UpToTerminator(std::string_view text, std::size_t limit) {
    return std::string(Utf16Prefix(text.substr(0, text.find('\0')), limit));
}

} // namespace

std::string ExtractFileExt(std::string_view path) {
    const auto dot = path.find_last_of("./\\:");
    if (dot == std::string_view::npos || path[dot] != '.')
        return std::string();
    return std::string(path.substr(dot));
}

bool IsScreenSaverFile(TextCodec& codec, std::string_view path) {
    return codec.UpperFileName(ExtractFileExt(path)) == codec.UpperFileName(kScreenSaverExt);
}

std::string ExtractFileName(std::string_view path) {
    const auto sep = path.find_last_of("/\\:");
    return std::string(sep == std::string_view::npos ? path : path.substr(sep + 1));
}

std::string GetDisplayName(DisplayNameSources& sources, const std::string& path) {
    if (!sources.files.FileExists(path))
        return kFileNotFound;
    if (!IsScreenSaverFile(sources.codec, path))
        return ExtractFileName(path);

    const auto description = LoadPeString(sources.files, path, kDescriptionId, sources.languages.Preferred());
    // A description that begins with a zero unit still counts as found: it gives
    // an empty name, not the shell's.
    if (!description || description->empty()) {
        // The shell names no file past 260 characters; its file name then stands in.
        std::string name = GetShellDisplayName(sources.shell, path);
        return name.empty() ? ExtractFileName(path) : name;
    }
    return UpToTerminator(Utf16ToUtf8(*description), kDescriptionLimit);
}

std::string GetShellDisplayName(Shell& shell, const std::string& path) {
    return UpToTerminator(shell.DisplayName(path), kShellNameLimit);
}

} // namespace lumivane
