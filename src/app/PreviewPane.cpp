// Preview mode's wait and drawing (see PreviewPane.h).
#include "app/PreviewPane.h"

#include "common/Errors.h"

namespace lumivane {

namespace {

struct PreviewLine {
    int x, y;
    const char* text;
};

constexpr PreviewLine kLines[] = {
    {6, 12, kPreviewLine1},
    {6, 36, kPreviewLine2},
    {6, 72, kPreviewLine3},
};

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};

// True once the pane is visible; false when it is gone or the wait ran out.
bool WaitForPane(PreviewTarget& target, MessagePump& messages, Clock& clock, std::intptr_t handle) {
    const std::uint64_t start = clock.Milliseconds();
    for (;;) {
        if (target.IsWindowVisible(handle))
            return true;
        // A handle that names no window can never become visible: a window handle
        // is given out when the window is made, never later.
        if (!target.WindowExists(handle))
            return false;
        if (clock.Milliseconds() - start >= kHiddenPaneWaitMs)
            return false;
        messages.ProcessMessages();
        messages.WaitForMessages(kPaneTestPauseMs);
    }
}

} // namespace

void DrawPreviewPane(PreviewTarget& target, MessagePump& messages, Clock& clock, std::intptr_t handle) {
    if (!WaitForPane(target, messages, clock, handle))
        return;

    auto canvas = target.GetCanvas(handle);
    // The window can vanish between the visibility test and the device context;
    // the drawing then has nowhere to go, and that is an error of its own.
    if (!canvas)
        throw EInvalidOperation(kCanvasError);

    canvas->SelectDefaultGuiFont();
    canvas->SetTextColor(kWhite);
    canvas->SetBkColor(kBlack);
    canvas->SetBkModeOpaque();
    for (const PreviewLine& line : kLines)
        canvas->TextAt(line.x, line.y, line.text);
}

} // namespace lumivane
