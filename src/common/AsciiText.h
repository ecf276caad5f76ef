// ASCII-only text rules, for texts whose case must not depend on the code page:
// command-line switches and the rows of the random lists.
#pragma once

#include <string>
#include <string_view>

namespace lumivane {

// Upper-cases the ASCII letters a to z only.
std::string UpperAscii(std::string_view text);

} // namespace lumivane
