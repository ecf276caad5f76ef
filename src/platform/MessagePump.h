// Contract: letting the window handle its pending messages from inside a long
// event handler. The search over a drive runs in the Search button's handler on
// the one GUI thread; between two sub-folders it hands control back so that
// "Stop", the other buttons and painting can act.
// - ProcessMessages dispatches every message already queued for the thread
//   (handlers included, through the same routes as the main loop) and returns
//   when none is left. It never waits for new ones.
// - A quit request met on the way is left for the main loop.
#pragma once

namespace lumivane {

class MessagePump {
public:
    virtual ~MessagePump() = default;
    virtual void ProcessMessages() = 0;
};

} // namespace lumivane
