// Contract: the widgets the windows' logic drives. Each window's native code
// implements these over real controls; tests use fakes that remember state.
// Texts are UTF-8. Indices count from 0; -1 means "none".
// Setting a value from code never raises the widget's own user event (a tab set
// by code is no "change", a selection set by code is no "click").
#pragma once

#include <string>
#include <vector>

namespace lumivane {

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Rect&) const = default;
};

enum class MouseButton { Left, Right, Middle };

class Control {
public:
    virtual ~Control() = default;
    virtual void SetVisible(bool visible) = 0;
    virtual bool Visible() const = 0;
    virtual void SetBounds(const Rect& bounds) = 0;
    virtual Rect Bounds() const = 0;
};

class Label : public Control {
public:
    virtual void SetCaption(const std::string& caption) = 0;
    virtual std::string Caption() const = 0;
};

class Button : public Control {
public:
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Enabled() const = 0;
};

class ListBox : public Control {
public:
    virtual void Clear() = 0;
    virtual void Add(const std::string& text) = 0;
    // Appends the rows; a native list box draws and lays out once for the lot.
    virtual void AddItems(const std::vector<std::string>& rows) {
        for (const std::string& row : rows)
            Add(row);
    }
    // Replaces every row, as Clear and AddItems do.
    virtual void SetItems(const std::vector<std::string>& rows) {
        Clear();
        AddItems(rows);
    }
    virtual int Count() const = 0;
    virtual std::string Item(int index) const = 0;
    virtual int ItemIndex() const = 0;
    // Setting the index it already has does nothing; an index past the rows may
    // keep or clear the selection.
    virtual void SetItemIndex(int index) = 0;
    // Row at a point in list coordinates: the row under it, Count() below the last
    // row, -1 outside the list.
    virtual int ItemAtPos(int x, int y) const = 0;
    virtual void SetHint(const std::string& hint) = 0;
    virtual std::string Hint() const = 0;
};

class CheckListBox : public ListBox {
public:
    virtual bool Checked(int index) const = 0;
    virtual void SetChecked(int index, bool checked) = 0;
};

class ComboBox : public Control {
public:
    virtual void Add(const std::string& text) = 0;
    virtual void DeleteLast() = 0;
    virtual int Count() const = 0;
    virtual std::string Item(int index) const = 0;
    virtual int ItemIndex() const = 0;
    virtual void SetItemIndex(int index) = 0;
    virtual std::string Text() const = 0; // the selected item's text, empty with none
    virtual void SetHint(const std::string& hint) = 0;
    virtual std::string Hint() const = 0;
};

class TabControl : public Control {
public:
    virtual int TabIndex() const = 0;
    // An index other than 0, 1 or 2 leaves no tab active.
    virtual void SetTabIndex(int index) = 0;
};

class CheckBox : public Control {
public:
    virtual bool Checked() const = 0;
    virtual void SetChecked(bool checked) = 0;
};

class MenuItem {
public:
    virtual ~MenuItem() = default;
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Checked() const = 0;
    virtual void SetChecked(bool checked) = 0;
};

class StatusBar {
public:
    virtual ~StatusBar() = default;
    virtual void SetPanelText(int panel, const std::string& text) = 0;
    virtual std::string PanelText(int panel) const = 0;
};

class ProgressBar {
public:
    virtual ~ProgressBar() = default;
    virtual int Position() const = 0;
    virtual void SetPosition(int position) = 0;
    virtual int Max() const = 0;
    // Advance by the step; past the maximum the position starts over at the minimum.
    virtual void StepIt() = 0;
};

class Timer {
public:
    virtual ~Timer() = default;
    virtual void SetInterval(unsigned milliseconds) = 0;
    virtual unsigned Interval() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Enabled() const = 0;
};

// The top-level window a form's logic belongs to.
class Window {
public:
    virtual ~Window() = default;
    // Asks the window to close; the close happens through the message loop.
    virtual void Close() = 0;
    virtual void BringToForeground() = 0; // SetForegroundWindow
    virtual void ShowCursor() = 0;        // ShowCursor(TRUE), once
    virtual Rect ClientRect() const = 0;
    // Shows the window now, before its creation handler has finished (it shows
    // itself afterwards otherwise), so that a program it then starts opens above it.
    virtual void ShowNow() {}
};

} // namespace lumivane
