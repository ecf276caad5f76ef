// The shortcuts of the lists' popup menus: which command a key press runs while a
// list has the keyboard focus. A shortcut matches its modifiers exactly, as the
// menu shows it: Del is Del alone and Ctrl+A is Ctrl with A, so Shift+Del or
// Ctrl+Shift+A run nothing (a slip on Ctrl+Shift+A must not empty the list).
#pragma once

namespace lumivane {

enum class PopupCommand { None, Setup, Preview, Delete, ClearAll };

// Keys are virtual-key codes: a letter is its capital, Del is kKeyDelete.
inline constexpr unsigned kKeyDelete = 0x2E;

struct KeyChord {
    unsigned key = 0;
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
};

PopupCommand PopupShortcut(const KeyChord& chord);

} // namespace lumivane
