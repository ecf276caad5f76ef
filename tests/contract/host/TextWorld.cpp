// The host's text world: the portable Windows-1252 codec.
#include "contract/TextWorld.h"

namespace lumivane::contract {

TextCodec& Codec() {
    static Windows1252Codec codec;
    return codec;
}

unsigned AnsiCodePage() {
    return 1252;
}

} // namespace lumivane::contract
