// The toolkit's catch point around every event handler: an error that escapes a
// handler ends that handler and is shown in an error box (the message with its
// period, the application title as caption); the window goes on running.
#pragma once

#include <string>

#include "app/ErrorText.h"
#include "platform/Dialogs.h"
#include "platform/Errors.h"

namespace lumivane {

// The title the toolkit uses when the program sets none: the program's name.
inline constexpr char kDefaultTitle[] = "Lumivane";

template <class Handler> void RunGuarded(Dialogs& dialogs, const std::string& title, Handler&& handler) {
    try {
        handler();
    } catch (const Exception& error) {
        dialogs.ShowBox(title, WithPeriod(error.Message()), BoxIcon::Error);
    }
}

} // namespace lumivane
