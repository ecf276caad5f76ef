// The no-repeat rotation (see Rotation.h).
#include "saver/Rotation.h"

#include <algorithm>
#include <set>

namespace lumivane {

std::vector<std::string> RoundCandidates(const std::vector<std::string>& existing, PlayedRound& round) {
    const std::set<std::string> listed(existing.begin(), existing.end());
    std::erase_if(round.played, [&](const std::string& entry) { return !listed.contains(entry); });
    const std::set<std::string> played(round.played.begin(), round.played.end());

    std::vector<std::string> candidates;
    for (const std::string& entry : existing)
        if (!played.contains(entry))
            candidates.push_back(entry);
    if (!candidates.empty() || existing.empty())
        return candidates;

    round.played.clear();
    for (const std::string& entry : existing)
        if (listed.size() < 2 || entry != round.last)
            candidates.push_back(entry);
    return candidates;
}

void RecordPlay(PlayedRound& round, const std::string& entry) {
    round.played.push_back(entry);
    round.last = entry;
}

} // namespace lumivane
