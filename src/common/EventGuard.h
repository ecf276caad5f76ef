// The toolkit's catch point around every event handler: an error that escapes a
// handler ends that handler and is reported as the box text (the message with its
// period); the window goes on running. Whatever is thrown stops here, so no
// exception ever unwinds into the system's code that called the handler.
#pragma once

#include <string>

#include "common/ErrorText.h"

namespace lumivane {

// The title the toolkit uses when the program sets none: the program's name.
inline constexpr char kDefaultTitle[] = "Lumivane";

template <class Handler, class Report> void RunGuarded(Handler&& handler, Report&& report) noexcept {
    try {
        handler();
    } catch (...) {
        report(WithPeriod(CurrentError().message));
    }
}

} // namespace lumivane
