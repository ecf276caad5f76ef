// Widget adapters over native controls (see Controls.h).
#include "platform/win32/Controls.h"

#include <windowsx.h>

#include "platform/win32/WideText.h"

namespace lumivane::win32 {

// Tooltips --------------------------------------------------------------------------

void Tooltips::Create(Application& app, HWND owner) {
    owner_ = owner;
    // Owned by the window, so it goes when the window goes.
    tips_ = CreateChecked(app, WS_EX_TOPMOST, "tooltips_class32", "", WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner);
    SendMessageW(tips_, TTM_SETMAXTIPWIDTH, 0, 600);
}

void Tooltips::Add(HWND control, const std::string& text) {
    SendTool(TTM_ADDTOOLW, TTF_IDISHWND, control, text);
}

void Tooltips::Update(HWND control, const std::string& text) {
    SendTool(TTM_UPDATETIPTEXTW, 0, control, text);
}

void Tooltips::SendTool(UINT message, UINT flags, HWND control, const std::string& text) const {
    if (!tips_)
        return;
    // The tooltip keeps its own copy of the text.
    std::u16string copy = Wide(text);
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V1_SIZE;
    info.uFlags = flags;
    info.hwnd = owner_;
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.lpszText = W(copy);
    SendMessageW(tips_, message, 0, reinterpret_cast<LPARAM>(&info));
}

void Tooltips::Relay(HWND control, UINT message, WPARAM wParam, LPARAM lParam) const {
    switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: {
        if (!tips_)
            return;
        const DWORD pos = GetMessagePos();
        MSG msg{control,
                message,
                wParam,
                lParam,
                static_cast<DWORD>(GetMessageTime()),
                {GET_X_LPARAM(pos), GET_Y_LPARAM(pos)}};
        SendMessageW(tips_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
        return;
    }
    default:
        return;
    }
}

// List boxes -----------------------------------------------------------------------------

void FillListBox(HWND list, const std::vector<std::string>& rows, bool replace) {
    if (rows.empty() && !replace)
        return;
    // Turning redrawing back on may mark a hidden window visible (the default
    // handling does); the box keeps the visibility it had.
    const LONG_PTR style = GetWindowLongPtrW(list, GWL_STYLE);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    if (replace)
        SendMessageW(list, LB_RESETCONTENT, 0, 0);
    std::size_t units = 0;
    for (const std::string& row : rows)
        units += row.size() + 1; // at least the UTF-16 length
    SendMessageW(list, LB_INITSTORAGE, rows.size(), static_cast<LPARAM>(units * sizeof(wchar_t)));
    for (const std::string& row : rows)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(Wide(row))));
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    if (!(style & WS_VISIBLE) && (GetWindowLongPtrW(list, GWL_STYLE) & WS_VISIBLE))
        SetWindowLongPtrW(list, GWL_STYLE, style);
    InvalidateRect(list, nullptr, TRUE);
}

void AddListRow(HWND list, const std::string& row) {
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(Wide(row))));
}

namespace {

// A row's text from a list or a combo box, which answer the same two messages
// under their own names; LB_ERR and CB_ERR are one value.
std::string RowText(HWND control, UINT lengthMessage, UINT textMessage, int index) {
    const LRESULT length = SendMessageW(control, lengthMessage, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR)
        return {};
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    const LRESULT n = SendMessageW(control, textMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(W(text)));
    text.resize(n == LB_ERR ? 0 : static_cast<std::size_t>(n));
    return Narrow(text);
}

} // namespace

template <class Base> std::string ListAdapterOf<Base>::Item(int index) const {
    return RowText(this->hwnd_, LB_GETTEXTLEN, LB_GETTEXT, index);
}

template <class Base> int ListAdapterOf<Base>::ItemAtPos(int x, int y) const {
    RECT client;
    GetClientRect(this->hwnd_, &client);
    if (x < 0 || y < 0 || x >= client.right || y >= client.bottom)
        return -1;
    const int top = static_cast<int>(SendMessageW(this->hwnd_, LB_GETTOPINDEX, 0, 0));
    const int height = static_cast<int>(SendMessageW(this->hwnd_, LB_GETITEMHEIGHT, 0, 0));
    const int row = top + (height > 0 ? y / height : 0);
    return row < Count() ? row : Count();
}

template class ListAdapterOf<ListBox>;
template class ListAdapterOf<CheckListBox>;

void CheckListBoxAdapter::SetChecked(int index, bool checked) {
    SendMessageW(hwnd_, LB_SETITEMDATA, static_cast<WPARAM>(index), checked ? 1 : 0);
    RECT rc;
    if (SendMessageW(hwnd_, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rc)) != LB_ERR)
        InvalidateRect(hwnd_, &rc, FALSE);
}

void CheckListBoxAdapter::Draw(const DRAWITEMSTRUCT& item) const {
    if (item.itemID == static_cast<UINT>(-1))
        return;
    const bool selected = item.itemState & ODS_SELECTED;
    HDC dc = item.hDC;
    RECT rc = item.rcItem;
    const int box = rc.bottom - rc.top;
    RECT boxRect{rc.left + 1, rc.top + 1, rc.left + box - 1, rc.bottom - 1};
    FillRect(dc, &rc, GetSysColorBrush(COLOR_WINDOW));
    DrawFrameControl(dc, &boxRect, DFC_BUTTON,
                     DFCS_BUTTONCHECK | DFCS_FLAT | (Checked(static_cast<int>(item.itemID)) ? DFCS_CHECKED : 0));
    RECT textRect{rc.left + box + 2, rc.top, rc.right, rc.bottom};
    FillRect(dc, &textRect, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    const std::u16string text = Wide(Item(static_cast<int>(item.itemID)));
    DrawTextW(dc, W(text), static_cast<int>(text.size()), &textRect,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
    if (item.itemState & ODS_FOCUS)
        DrawFocusRect(dc, &textRect);
}

bool CheckListBoxAdapter::ToggleAt(int x, int y) {
    const int row = ItemAtPos(x, y);
    if (row < 0 || row >= Count())
        return false;
    const int box = static_cast<int>(SendMessageW(hwnd_, LB_GETITEMHEIGHT, 0, 0));
    if (x >= box)
        return false;
    SetChecked(row, !Checked(row));
    return true;
}

void CheckListBoxAdapter::ToggleSelected() {
    const int row = ItemIndex();
    if (row >= 0)
        SetChecked(row, !Checked(row));
}

void CheckListBoxAdapter::SetAll(bool checked) {
    for (int i = 0; i < Count(); ++i)
        SetChecked(i, checked);
}

// Combo box ----------------------------------------------------------------------------------

void ComboBoxAdapter::DeleteLast() {
    const int count = Count();
    if (count > 0)
        SendMessageW(hwnd_, CB_DELETESTRING, static_cast<WPARAM>(count - 1), 0);
}

std::string ComboBoxAdapter::Item(int index) const {
    return RowText(hwnd_, CB_GETLBTEXTLEN, CB_GETLBTEXT, index);
}

// Tabs ---------------------------------------------------------------------------------------

void TabControlAdapter::SetTabIndex(int index) {
    SendMessageW(hwnd_, TCM_SETCURSEL, static_cast<WPARAM>(index >= 0 && index <= 2 ? index : -1), 0);
    ShowActivePage();
}

void TabControlAdapter::ShowActivePage() const {
    const int active = TabIndex();
    for (int i = 0; i < 3; ++i)
        ShowWindow(pages_[i], i == active ? SW_SHOW : SW_HIDE);
}

// Status bar ---------------------------------------------------------------------------------

std::string StatusBarAdapter::PanelText(int panel) const {
    const LRESULT info = SendMessageW(hwnd_, SB_GETTEXTLENGTHW, static_cast<WPARAM>(panel), 0);
    std::u16string text(LOWORD(info) + 1u, u'\0');
    SendMessageW(hwnd_, SB_GETTEXTW, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(W(text)));
    text.resize(LOWORD(info));
    return Narrow(text);
}

} // namespace lumivane::win32
