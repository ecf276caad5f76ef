// Contract: letting the window handle its pending messages from inside a long
// event handler. The search over a drive runs in the Search button's handler on
// the one GUI thread; between two sub-folders it hands control back so that
// "Stop", the other buttons and painting can act.
// - ProcessMessages dispatches every message already queued for the thread
//   (handlers included, through the same routes as the main loop) and returns
//   when none is left. It never waits for new ones.
// - A quit request met on the way is left for the main loop.
// - WaitForMessages blocks the thread for up to the given time without using the
//   processor; a message arriving for the thread ends the wait early. Preview
//   mode waits this way for the host's pane, so the pane's messages are answered
//   within a fraction of a second.
#pragma once

namespace lumivane {

class MessagePump {
public:
    virtual ~MessagePump() = default;
    virtual void ProcessMessages() = 0;
    virtual void WaitForMessages(unsigned milliseconds) = 0;
};

} // namespace lumivane
