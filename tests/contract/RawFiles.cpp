// Raw file bytes for the contract suites, the same in every world: the profile
// suites write hand-edited and broken files and read back what was written.
#include <fstream>
#include <sstream>

#include "contract/World.h"

namespace lumivane::contract {

void WriteRawFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadRawFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace lumivane::contract
