// Command-line splitting and the run-mode choice.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lumivane {

enum class RunMode : std::uint8_t { Password = 0, Preview = 1, Configure = 2, Saver = 3 };

// Splits a command line into pieces: runs of characters 1 to 32 separate them, a
// double quote opens a stretch that runs to the next one (the quotes are dropped),
// and an empty quoted pair before a piece is skipped. Piece 0 is the program path.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// The mode for the upper-cased first argument: only its first one or two
// characters count.
RunMode ChooseRunMode(std::string_view firstArgument);

} // namespace lumivane
