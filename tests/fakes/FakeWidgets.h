// Fake widgets: they remember rows, selection, ticks, captions, visibility,
// bounds and enabled states so tests can assert what the user would see.
#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/FlashControl.h"
#include "platform/Widgets.h"

namespace lumivane::test {

template <class Base> class FakeControlOf : public Base {
public:
    bool visible = true;
    Rect bounds;
    void SetVisible(bool v) override { visible = v; }
    bool Visible() const override { return visible; }
    void SetBounds(const Rect& r) override { bounds = r; }
    Rect Bounds() const override { return bounds; }
};

using FakeControl = FakeControlOf<Control>;

class FakeLabel : public FakeControlOf<Label> {
public:
    std::string caption;
    void SetCaption(const std::string& c) override { caption = c; }
    std::string Caption() const override { return caption; }
};

class FakeButton : public FakeControlOf<Button> {
public:
    bool enabled = true;
    void SetEnabled(bool e) override { enabled = e; }
    bool Enabled() const override { return enabled; }
};

template <class Base> class FakeListOf : public FakeControlOf<Base> {
public:
    std::vector<std::string> rows;
    int itemIndex = -1;
    int rowHeight = 13;
    std::string hint;
    void Clear() override {
        rows.clear();
        itemIndex = -1;
    }
    void Add(const std::string& text) override { rows.push_back(text); }
    int Count() const override { return static_cast<int>(rows.size()); }
    std::string Item(int index) const override { return rows.at(static_cast<std::size_t>(index)); }
    int ItemIndex() const override { return itemIndex; }
    // Like a Windows list box: an index past the rows clears the selection.
    void SetItemIndex(int index) override { itemIndex = (index >= 0 && index < Count()) ? index : -1; }
    int ItemAtPos(int x, int y) const override {
        if (x < 0 || y < 0 || x >= this->bounds.width || y >= this->bounds.height)
            return -1;
        return std::min(y / rowHeight, Count());
    }
    void SetHint(const std::string& h) override { hint = h; }
    std::string Hint() const override { return hint; }
};

using FakeListBox = FakeListOf<ListBox>;

class FakeCheckListBox : public FakeListOf<CheckListBox> {
public:
    std::vector<bool> checks;
    void Clear() override {
        FakeListOf<CheckListBox>::Clear();
        checks.clear();
    }
    void Add(const std::string& text) override {
        FakeListOf<CheckListBox>::Add(text);
        checks.push_back(false);
    }
    bool Checked(int index) const override { return checks.at(static_cast<std::size_t>(index)); }
    void SetChecked(int index, bool checked) override { checks.at(static_cast<std::size_t>(index)) = checked; }
};

class FakeComboBox : public FakeControlOf<ComboBox> {
public:
    std::vector<std::string> items;
    int itemIndex = -1;
    std::string hint;
    void Add(const std::string& text) override { items.push_back(text); }
    void DeleteLast() override {
        if (!items.empty())
            items.pop_back();
        if (itemIndex >= Count())
            itemIndex = -1;
    }
    int Count() const override { return static_cast<int>(items.size()); }
    std::string Item(int index) const override { return items.at(static_cast<std::size_t>(index)); }
    int ItemIndex() const override { return itemIndex; }
    void SetItemIndex(int index) override { itemIndex = (index >= 0 && index < Count()) ? index : -1; }
    std::string Text() const override { return itemIndex >= 0 ? items[static_cast<std::size_t>(itemIndex)] : ""; }
    void SetHint(const std::string& h) override { hint = h; }
    std::string Hint() const override { return hint; }
};

class FakeTabControl : public FakeControlOf<TabControl> {
public:
    int tabIndex = 0;
    int TabIndex() const override { return tabIndex; }
    void SetTabIndex(int index) override { tabIndex = (index >= 0 && index <= 2) ? index : -1; }
};

class FakeCheckBox : public FakeControlOf<CheckBox> {
public:
    bool checked = false;
    bool Checked() const override { return checked; }
    void SetChecked(bool c) override { checked = c; }
};

class FakeMenuItem : public MenuItem {
public:
    bool enabled = true, checked = false;
    bool Enabled() const override { return enabled; }
    void SetEnabled(bool e) override { enabled = e; }
    bool Checked() const override { return checked; }
    void SetChecked(bool c) override { checked = c; }
};

class FakeStatusBar : public StatusBar {
public:
    std::vector<std::string> panels{"Message", "Found:0", ""};
    void SetPanelText(int panel, const std::string& text) override {
        panels.at(static_cast<std::size_t>(panel)) = text;
    }
    std::string PanelText(int panel) const override { return panels.at(static_cast<std::size_t>(panel)); }
};

class FakeProgressBar : public ProgressBar {
public:
    int position = 0, max = 100, step = 10;
    int Position() const override { return position; }
    void SetPosition(int p) override { position = p; }
    int Max() const override { return max; }
    void StepIt() override {
        position += step;
        if (position > max)
            position = 0; // starts over from the minimum
    }
};

class FakeTimer : public Timer {
public:
    unsigned interval = 1000;
    bool enabled = true;
    void SetInterval(unsigned ms) override { interval = ms; }
    unsigned Interval() const override { return interval; }
    void SetEnabled(bool e) override { enabled = e; }
    bool Enabled() const override { return enabled; }
};

class FakeWindow : public Window {
public:
    int closes = 0, foregrounds = 0, cursorShows = 0, shows = 0;
    Rect client{0, 0, 1024, 768};
    void ShowNow() override { ++shows; }
    void Close() override { ++closes; }
    void BringToForeground() override { ++foregrounds; }
    void ShowCursor() override { ++cursorShows; }
    Rect ClientRect() const override { return client; }
};

class FakeFlash : public FakeControlOf<FlashControl> {
public:
    std::vector<std::string> calls; // "Movie=...", "Loop=1", "ScaleMode=0", "Zoom=0", "Play", "Repaint"
    std::string movie;
    bool loop = false, playing = false;
    int scaleMode = -1;
    void SetMovie(const std::string& path) override {
        movie = path;
        calls.push_back("Movie=" + path);
    }
    void SetLoop(bool l) override {
        loop = l;
        calls.push_back(std::string("Loop=") + (l ? "1" : "0"));
    }
    void SetScaleMode(int m) override {
        scaleMode = m;
        calls.push_back("ScaleMode=" + std::to_string(m));
    }
    bool Playing() override { return playing; }
    void Zoom(int f) override { calls.push_back("Zoom=" + std::to_string(f)); }
    void Play() override {
        calls.push_back("Play");
        playing = !movie.empty();
    }
    void Repaint() override { calls.push_back("Repaint"); }
};

class FakeFlashHost : public FlashHost {
public:
    FakeFlash flash;
    int creations = 0;
    std::function<void()> onCreate; // may throw, as a missing player does
    FlashControl& CreateFlash() override {
        if (onCreate)
            onCreate();
        ++creations;
        return flash;
    }
};

} // namespace lumivane::test
