// The host's preview world: the scripted fake pane, one pane at a time.
#include "contract/PreviewWorld.h"

#include "fakes/FakePreviewTarget.h"

namespace lumivane::contract {

namespace {
test::FakePreviewTarget gPreview;
std::intptr_t gNextPane = 0x10010;
} // namespace

PreviewTarget& Preview() {
    return gPreview;
}

std::intptr_t MakePane(bool visible, int, int) {
    gPreview.paneHandle = gNextPane;
    gNextPane += 0x10;
    gPreview.visibleFrom.reset();
    if (visible)
        gPreview.visibleFrom = gPreview.now;
    gPreview.goneFrom.reset();
    return gPreview.paneHandle;
}

void ShowPane(std::intptr_t) {
    gPreview.visibleFrom = gPreview.now;
}

void ClosePane(std::intptr_t) {
    gPreview.goneFrom = gPreview.now;
}

} // namespace lumivane::contract
