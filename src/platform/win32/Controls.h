// Adapters that implement the widget contracts over the native controls of the
// configuration window: list boxes (and an owner-drawn check list), combo box,
// tab control, buttons, check and radio buttons, popup menu items, status bar
// and progress bar. Hints are shown as tooltips.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "platform/win32/Toolkit.h"
#include "platform/win32/WideText.h"

namespace lumivane::win32 {

// One tooltip control per window; each control with a hint is a tool of it.
class Tooltips {
public:
    void Create(Application& app, HWND owner);
    // The control's mouse input must reach Relay (no TTF_SUBCLASS: see ControlHook).
    void Add(HWND control, const std::string& text);
    void Update(HWND control, const std::string& text);
    void Relay(HWND control, UINT message, WPARAM wParam, LPARAM lParam) const;

private:
    void SendTool(UINT message, UINT flags, HWND control, const std::string& text) const;

    HWND tips_ = nullptr;
    HWND owner_ = nullptr;
};

// Replaces a list box's rows, or appends to them, with redrawing off, so that the
// box lays out its scroll bar and paints once rather than once per row.
void FillListBox(HWND list, const std::vector<std::string>& rows, bool replace);
void AddListRow(HWND list, const std::string& row);

class ButtonAdapter : public ControlAdapter<Button> {
public:
    using ControlAdapter::ControlAdapter;
    void SetEnabled(bool enabled) override { EnableWindow(hwnd_, enabled); }
    bool Enabled() const override { return IsWindowEnabled(hwnd_) != FALSE; }
};

class CheckBoxAdapter : public ControlAdapter<CheckBox> {
public:
    using ControlAdapter::ControlAdapter;
    bool Checked() const override { return SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void SetChecked(bool checked) override {
        SendMessageW(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
};

template <class Base> class ListAdapterOf : public ControlAdapter<Base> {
public:
    void Init(HWND hwnd, Tooltips* tips) {
        this->Attach(hwnd);
        tips_ = tips;
    }
    void Clear() override { SendMessageW(this->hwnd_, LB_RESETCONTENT, 0, 0); }
    void Add(const std::string& text) override { AddListRow(this->hwnd_, text); }
    void AddItems(const std::vector<std::string>& rows) override { FillListBox(this->hwnd_, rows, false); }
    void SetItems(const std::vector<std::string>& rows) override { FillListBox(this->hwnd_, rows, true); }
    int Count() const override { return static_cast<int>(SendMessageW(this->hwnd_, LB_GETCOUNT, 0, 0)); }
    std::string Item(int index) const override;
    int ItemIndex() const override { return static_cast<int>(SendMessageW(this->hwnd_, LB_GETCURSEL, 0, 0)); }
    void SetItemIndex(int index) override {
        if (index != ItemIndex())
            SendMessageW(this->hwnd_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
    int ItemAtPos(int x, int y) const override;
    void SetHint(const std::string& hint) override {
        hint_ = hint;
        if (tips_)
            tips_->Update(this->hwnd_, hint);
    }
    std::string Hint() const override { return hint_; }

private:
    Tooltips* tips_ = nullptr;
    std::string hint_;
};

using ListBoxAdapter = ListAdapterOf<ListBox>;

// An owner-drawn list box whose rows carry a check box (item data 1 = ticked).
class CheckListBoxAdapter : public ListAdapterOf<CheckListBox> {
public:
    bool Checked(int index) const override {
        return SendMessageW(hwnd_, LB_GETITEMDATA, static_cast<WPARAM>(index), 0) == 1;
    }
    void SetChecked(int index, bool checked) override;
    // Native side: drawing and the user's ticking (box click, space, "+", "-").
    void Draw(const DRAWITEMSTRUCT& item) const;
    // Returns true when the click at x hit the row's check box and toggled it.
    bool ToggleAt(int x, int y);
    void ToggleSelected();
    void SetAll(bool checked);
};

class ComboBoxAdapter : public ControlAdapter<ComboBox> {
public:
    void Init(HWND hwnd, Tooltips* tips) {
        Attach(hwnd);
        tips_ = tips;
    }
    void Add(const std::string& text) override {
        SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(Wide(text))));
    }
    void DeleteLast() override;
    int Count() const override { return static_cast<int>(SendMessageW(hwnd_, CB_GETCOUNT, 0, 0)); }
    std::string Item(int index) const override;
    int ItemIndex() const override { return static_cast<int>(SendMessageW(hwnd_, CB_GETCURSEL, 0, 0)); }
    void SetItemIndex(int index) override { SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(index), 0); }
    std::string Text() const override { return ItemIndex() >= 0 ? Item(ItemIndex()) : std::string(); }
    void SetHint(const std::string& hint) override {
        hint_ = hint;
        if (tips_)
            tips_->Update(hwnd_, hint);
    }
    std::string Hint() const override { return hint_; }

private:
    Tooltips* tips_ = nullptr;
    std::string hint_;
};

// The tab control of the two random lists; it shows the list box of the active
// tab and hides the other (no tab active: neither).
class TabControlAdapter : public ControlAdapter<TabControl> {
public:
    void Init(HWND tabs, HWND page0, HWND page1, HWND page2) {
        Attach(tabs);
        pages_[0] = page0;
        pages_[1] = page1;
        pages_[2] = page2;
    }
    int TabIndex() const override { return static_cast<int>(SendMessageW(hwnd_, TCM_GETCURSEL, 0, 0)); }
    void SetTabIndex(int index) override;
    void ShowActivePage() const;

private:
    HWND pages_[3] = {};
};

class MenuItemAdapter : public MenuItem {
public:
    MenuItemAdapter(HMENU menu = nullptr, UINT id = 0) : menu_(menu), id_(id) {}
    bool Enabled() const override { return !(GetMenuState(menu_, id_, MF_BYCOMMAND) & (MF_DISABLED | MF_GRAYED)); }
    void SetEnabled(bool enabled) override {
        EnableMenuItem(menu_, id_, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    }
    bool Checked() const override { return (GetMenuState(menu_, id_, MF_BYCOMMAND) & MF_CHECKED) != 0; }
    void SetChecked(bool checked) override {
        CheckMenuItem(menu_, id_, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
    }

private:
    HMENU menu_;
    UINT id_;
};

class StatusBarAdapter : public StatusBar {
public:
    void Attach(HWND hwnd) { hwnd_ = hwnd; }
    void SetPanelText(int panel, const std::string& text) override {
        SendMessageW(hwnd_, SB_SETTEXTW, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(W(Wide(text))));
    }
    std::string PanelText(int panel) const override;

private:
    HWND hwnd_ = nullptr;
};

// Range 0 to max, step 10; past the maximum the position starts over at 0.
class ProgressBarAdapter : public ProgressBar {
public:
    void Attach(HWND hwnd) { hwnd_ = hwnd; }
    int Position() const override { return static_cast<int>(SendMessageW(hwnd_, PBM_GETPOS, 0, 0)); }
    void SetPosition(int position) override { SendMessageW(hwnd_, PBM_SETPOS, static_cast<WPARAM>(position), 0); }
    int Max() const override { return static_cast<int>(SendMessageW(hwnd_, PBM_GETRANGE, FALSE, 0)); }
    void StepIt() override {
        const int next = Position() + 10;
        SetPosition(next > Max() ? 0 : next);
    }

private:
    HWND hwnd_ = nullptr;
};

} // namespace lumivane::win32
