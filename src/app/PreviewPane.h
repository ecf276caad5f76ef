// Preview mode: waits for the host's preview pane to be visible, then writes the
// program's three lines into it once. Nothing else of the pane is touched, no
// window of the program's own is created, and nothing repaints the pane later.
#pragma once

#include <cstdint>

#include "platform/Clock.h"
#include "platform/MessagePump.h"
#include "platform/PreviewTarget.h"

namespace lumivane {

inline constexpr char kPreviewLine1[] = "Lumivane Standard";
inline constexpr char kPreviewLine2[] = "Run ScreenSavers randomly.";
// The program's own address. The reserved ".example" name can never lead a
// user to a site that belongs to someone else.
inline constexpr char kPreviewLine3[] = "www.lumivane.example";

inline constexpr char kCanvasError[] = "Canvas does not allow drawing";

// Between two visibility tests the thread sleeps this long (waking early for a
// message), so a pane shown after a while gets its lines within a fraction of a
// second without the wait spinning the processor.
inline constexpr unsigned kPaneTestPauseMs = 20;

// A pane that exists but stays hidden is waited for this long. The Display
// Settings page can take a few seconds to come up on a busy machine, so the
// bound is generous; past it the host has plainly moved on, and lingering would
// only leave a stray process behind.
inline constexpr unsigned kHiddenPaneWaitMs = 15000;

// Waits for the pane and draws into it. Returns without drawing when the handle
// names no window (now, or any more: the host closed the pane while we waited,
// or passed a handle that was never a window) or when the pane stayed hidden
// past kHiddenPaneWaitMs; there is nothing to draw into, and an error box would
// be the only window of ours the user ever saw in preview mode.
// Raises EInvalidOperation kCanvasError when the pane is visible but no device
// context can be had for it.
void DrawPreviewPane(PreviewTarget& target, MessagePump& messages, Clock& clock, std::intptr_t handle);

} // namespace lumivane
