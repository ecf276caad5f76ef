// The host Flash world: the fake control, laid out as the screen window lays out
// the real one.
#include "contract/FlashWorld.h"

#include <memory>

#include "fakes/FakeWidgets.h"

namespace lumivane::contract {

namespace {
std::unique_ptr<test::FakeFlashHost> gHost;
}

FlashHost& NewFlashHost() {
    gHost = std::make_unique<test::FakeFlashHost>();
    gHost->flash.bounds = kFlashPlace;
    return *gHost;
}

void ReleaseFlashWorld() {
    gHost.reset();
}

} // namespace lumivane::contract
