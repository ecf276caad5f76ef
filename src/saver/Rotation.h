// The no-repeat rotation of saver mode ("NoRepeat" in section Misc): every
// existing entry of the active list plays once, in random order, before any
// plays again. The round's memory is the list of entries played in it, oldest
// first; it lasts across runs (see LoadRound and SaveRound) and is kept per list.
#pragma once

#include <string>
#include <vector>

#include "config/ConfigFile.h"

namespace lumivane {

// The entries the next pick may choose from, in list order. Entries that left
// the list drop out of the round and entries new to it join the round. When
// every existing entry has played, a new round begins (the memory is cleared),
// and with two or more entries its first pick is not the one that played last.
std::vector<std::string> RoundCandidates(const std::vector<std::string>& existing, PlayedRound& round);

// Adds a play to the round.
void RecordPlay(PlayedRound& round, const std::string& entry);

} // namespace lumivane
