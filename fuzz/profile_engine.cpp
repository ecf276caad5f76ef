// Fuzz target: the profile document on arbitrary file bytes. Parsing never
// crashes; a written document reads back as written; a value set into it reads
// back exactly, with no line of its section lost; the list reader of the
// configuration file takes any section.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/Utf.h"
#include "config/ConfigFile.h"
#include "platform/ProfileDocument.h"

using namespace lumivane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    // What the first write leaves of the file; after it, writing and reading
    // again changes nothing.
    ProfileDocument doc = ProfileDocument::Parse(ProfileDocument::Parse(text).Serialize());
    const std::string written = doc.Serialize();
    if (ProfileDocument::Parse(written).Serialize() != written)
        std::abort();
    const std::size_t before = doc.Lines("ScreenList").size();
    doc.Set("ScreenList", "File0", "C:\\Savers\\waves.scr");
    ProfileDocument again = ProfileDocument::Parse(doc.Serialize());
    const std::string* value = again.Find("screenlist", "FILE0");
    if (!value || *value != "C:\\Savers\\waves.scr")
        std::abort();
    if (again.Lines("ScreenList").size() < before)
        std::abort();
    const ConfigDocument config(ProfileDocument::Parse(text));
    // The buffer counts UTF-16 units: a value of two- and three-byte characters
    // takes more bytes than the buffer has units.
    for (const std::string& entry : config.ReadList("ScreenList", INT_MAX))
        if (entry.empty() || Utf16Length(entry) > kProfileBufferSize - 1)
            std::abort();
    return 0;
}
