// The host's text world: the portable Windows-1252 codec, the fake languages.
#include "contract/TextWorld.h"

#include "fakes/FakeServices.h"

namespace lumivane::contract {

TextCodec& Codec() {
    static Windows1252Codec codec;
    return codec;
}

unsigned AnsiCodePage() {
    return 1252;
}

} // namespace lumivane::contract

namespace lumivane::contract {

UiLanguages& Languages() {
    static test::FakeUiLanguages languages;
    return languages;
}

} // namespace lumivane::contract
