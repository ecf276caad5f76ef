// Command-line splitting and the run-mode choice (see CommandLine.h).
#include "app/CommandLine.h"

namespace lumivane {

namespace {

bool IsSeparator(char c) {
    auto u = static_cast<unsigned char>(c);
    return u >= 1 && u <= 32;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

} // namespace

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
    std::vector<std::string> pieces;
    std::size_t i = 0;
    const std::size_t n = commandLine.size();
    for (;;) {
        // Skip separators and empty quoted pairs standing before a piece: `"" /s`
        // gives the piece /s, not an empty piece.
        for (;;) {
            while (i < n && IsSeparator(commandLine[i]))
                ++i;
            if (i + 1 < n && commandLine[i] == '"' && commandLine[i + 1] == '"')
                i += 2;
            else
                break;
        }
        if (i >= n || commandLine[i] == '\0')
            break;
        std::string piece;
        while (i < n && commandLine[i] != '\0' && !IsSeparator(commandLine[i])) {
            if (commandLine[i] == '"') {
                ++i;
                while (i < n && commandLine[i] != '"' && commandLine[i] != '\0')
                    piece += commandLine[i++];
                if (i < n && commandLine[i] == '"')
                    ++i;
            } else {
                piece += commandLine[i++];
            }
        }
        pieces.push_back(std::move(piece));
    }
    return pieces;
}

RunMode ChooseRunMode(std::string_view first) {
    RunMode mode = RunMode::Saver;
    if (StartsWith(first, "/A") || StartsWith(first, "-A") || StartsWith(first, "A"))
        mode = RunMode::Password;
    if (StartsWith(first, "/P") || StartsWith(first, "-P") || StartsWith(first, "P"))
        mode = RunMode::Preview;
    if (StartsWith(first, "/C") || StartsWith(first, "-C") || StartsWith(first, "C") || first.empty())
        mode = RunMode::Configure;
    return mode;
}

} // namespace lumivane
