// Fuzz target: the command line of a start (splitting, upper-casing, run-mode
// choice and the preview handle's integer conversion) must never crash, and the
// conversion must agree with a plain re-reading of the digits it accepted.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/CommandLine.h"
#include "common/IntegerText.h"
#include "app/Program.h"

using namespace lumivane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const Arguments args = ReadArguments(text);
    const RunMode mode = ChooseRunMode(args.first);
    if (args.first.empty() && mode != RunMode::Configure)
        std::abort();
    for (char c : args.first)
        if (c >= 'a' && c <= 'z')
            std::abort();

    if (auto value = TryStrToInt(text)) {
        // Whatever was accepted must print back to a number that converts again
        // to the same value.
        if (TryStrToInt(std::to_string(*value)) != value)
            std::abort();
    }
    return 0;
}
