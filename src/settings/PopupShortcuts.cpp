// The popup menus' shortcuts (see PopupShortcuts.h).
#include "settings/PopupShortcuts.h"

namespace lumivane {

namespace {

struct Shortcut {
    KeyChord chord;
    PopupCommand command;
};

constexpr Shortcut kShortcuts[] = {
    {{'S', true, false, false}, PopupCommand::Setup},
    {{'V', true, false, false}, PopupCommand::Preview},
    {{kKeyDelete, false, false, false}, PopupCommand::Delete},
    {{'A', true, false, false}, PopupCommand::ClearAll},
};

} // namespace

PopupCommand PopupShortcut(const KeyChord& chord) {
    for (const Shortcut& s : kShortcuts)
        if (s.chord.key == chord.key && s.chord.ctrl == chord.ctrl && s.chord.shift == chord.shift &&
            s.chord.alt == chord.alt)
            return s.command;
    return PopupCommand::None;
}

} // namespace lumivane
