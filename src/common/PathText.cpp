// Path text (see PathText.h).
#include "common/PathText.h"

namespace lumivane {

std::string ExtractFilePath(std::string_view path) {
    const auto separator = path.find_last_of("\\/:");
    return separator == std::string_view::npos ? std::string() : std::string(path.substr(0, separator + 1));
}

} // namespace lumivane
