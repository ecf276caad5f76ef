// Paths for the W functions (see WideText.h).
#include "platform/win32/WideText.h"

#include <algorithm>

namespace lumivane::win32 {

namespace {

constexpr std::u16string_view kLongPrefix = u"\\\\?\\";
constexpr std::u16string_view kLongUncPrefix = u"\\\\?\\UNC\\";

// Under MAX_PATH less the room a folder's 8.3 file names need: the API takes
// such a path as it is.
bool FitsPlainly(std::u16string_view path) {
    return path.size() < MAX_PATH - 12;
}

bool IsSlash(char16_t c) {
    return c == u'\\' || c == u'/';
}

std::u16string FullPath(const std::u16string& path) {
    const DWORD size = GetFullPathNameW(W(path), 0, nullptr, nullptr);
    if (size == 0)
        return path;
    std::u16string full(size, u'\0');
    const DWORD n = GetFullPathNameW(W(path), size, W(full), nullptr);
    if (n == 0 || n >= size)
        return path;
    full.resize(n);
    // Wine leaves doubled backslashes after a share's name as they are.
    std::size_t out = 2;
    for (std::size_t in = 2; in < full.size(); ++in)
        if (full[in] != u'\\' || full[out - 1] != u'\\')
            full[out++] = full[in];
    full.resize(std::min(out, full.size()));
    return full;
}

} // namespace

std::u16string WidePath(std::string_view path) {
    const std::u16string wide = Wide(path);
    if (FitsPlainly(wide) || wide.starts_with(kLongPrefix) || wide.starts_with(u"\\\\.\\"))
        return wide;
    const bool drive = wide.size() >= 3 && wide[1] == u':' && IsSlash(wide[2]);
    const bool unc = wide.size() >= 3 && IsSlash(wide[0]) && IsSlash(wide[1]) && !IsSlash(wide[2]);
    if (!drive && !unc)
        return wide;
    const std::u16string full = FullPath(wide);
    if (FitsPlainly(full))
        return full;
    if (full.size() >= 3 && full[1] == u':' && full[2] == u'\\')
        return std::u16string(kLongPrefix) + full;
    if (full.starts_with(u"\\\\"))
        return std::u16string(kLongUncPrefix) + full.substr(2);
    return full;
}

std::u16string ShellPath(std::string_view path) {
    const std::u16string wide = Wide(path);
    if (wide.size() < MAX_PATH)
        return wide;
    const std::u16string longForm = WidePath(path);
    std::u16string shortForm(longForm.size() + 1, u'\0');
    const DWORD n = GetShortPathNameW(W(longForm), W(shortForm), static_cast<DWORD>(shortForm.size()));
    if (n == 0 || n >= shortForm.size())
        return {};
    shortForm.resize(n);
    if (shortForm.starts_with(kLongUncPrefix))
        shortForm = u"\\\\" + shortForm.substr(kLongUncPrefix.size());
    else if (shortForm.starts_with(kLongPrefix))
        shortForm.erase(0, kLongPrefix.size());
    return shortForm.size() < MAX_PATH ? shortForm : std::u16string();
}

} // namespace lumivane::win32
