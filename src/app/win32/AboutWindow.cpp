// The native about box (see AboutWindow.h).
#include "app/win32/AboutWindow.h"

#include "settings/fAbout.h"

namespace lumivane::win32 {

namespace {

constexpr char kClassName[] = "TfrmAbout";
constexpr int kOkId = IDOK;
constexpr int kNoticeId = 200;
constexpr int kMemoId = 201;

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i)
        text += (i ? "\r\n" : "") + lines[i];
    return text;
}

} // namespace

AboutWindow::AboutWindow(Application& app, HWND owner) : app_(app), owner_(owner) {}

void AboutWindow::Create() {
    HINSTANCE instance = app_.Instance();
    RegisterClassOnce(instance, kClassName, GetSysColorBrush(COLOR_BTNFACE), LoadIconW(instance, MAKEINTRESOURCEW(1)));
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_DLGMODALFRAME;
    RECT outer{0, 0, Scale(474), Scale(349)};
    AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    // Placed as the main window is: its outer corner at the same screen pixel
    // whatever the DPI, only its inside scales.
    CreateNative(app_, kClassName, TfrmAbout::kCaption, style, exStyle, 276, 206, outer.right - outer.left,
                 outer.bottom - outer.top, owner_);
    font_ = MakeFont("MS Sans Serif", 8, true, false);
    titleFont_ = MakeFont("Verdana", 19, false, true);
    picture_ = Icon(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, Scale(48), Scale(48), 0)));
    Layout();
}

AboutWindow::~AboutWindow() {
    DestroyNative(); // before the fonts its controls use
}

void AboutWindow::Layout() {
    const int width = Scale(474), height = Scale(349);
    band_ = {0, 0, width, Scale(57)};
    const int bottom = height - Scale(71);
    middle_ = {0, band_.bottom, width, bottom};
    pictureFrame_ = {Scale(4), Scale(4), Scale(4 + 50), Scale(4 + 50)};

    HWND title = CreateChecked(app_, 0, "STATIC", TfrmAbout::kTitle, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                               Scale(64), Scale(16), width - Scale(72), Scale(26), Handle());
    SendMessageW(title, WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_.Get()), FALSE);

    const int inset = Scale(4);
    HWND memo =
        CreateChecked(app_, WS_EX_CLIENTEDGE, "EDIT", JoinLines(TfrmAbout::MemoLines()).c_str(),
                      WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                      middle_.left + inset, middle_.top + inset, width - 2 * inset,
                      middle_.bottom - middle_.top - 2 * inset, Handle(), kMemoId);
    SendMessageW(memo, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);

    HWND notice = CreateChecked(app_, 0, "EDIT", JoinLines(TfrmAbout::LegalNotice()).c_str(),
                                WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_READONLY, Scale(8), bottom + Scale(9),
                                Scale(369), Scale(53), Handle(), kNoticeId);
    SendMessageW(notice, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);

    ok_ = CreateChecked(app_, 0, "BUTTON", TfrmAbout::kOkCaption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                        width - Scale(75 + 12), bottom + Scale(23), Scale(75), Scale(25), Handle(), kOkId);
    SendMessageW(ok_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
}

void AboutWindow::ShowModal() {
    modal_ = true;
    EnableWindow(owner_, FALSE);
    ShowWindow(Handle(), SW_SHOW);
    SetFocus(ok_);
    MSG msg;
    while (modal_ && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(Handle(), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        // An error from a window procedure ends the box; it is raised once the
        // owner is usable again.
        if (app_.HasDeferred())
            break;
    }
    if (msg.message == WM_QUIT && modal_)
        PostQuitMessage(static_cast<int>(msg.wParam));
    EnableWindow(owner_, TRUE);
    ShowWindow(Handle(), SW_HIDE);
    SetActiveWindow(owner_);
    app_.RaiseDeferred();
}

LRESULT AboutWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        const PaintDc paint(Handle());
        HDC dc = paint.Get();
        RECT band = band_, middle = middle_, frame = pictureFrame_;
        DrawEdge(dc, &band, BDR_RAISEDINNER, BF_RECT);
        DrawEdge(dc, &middle, BDR_RAISEDINNER, BF_RECT);
        DrawEdge(dc, &frame, EDGE_SUNKEN, BF_RECT);
        if (picture_)
            DrawIconEx(dc, frame.left + Scale(1), frame.top + Scale(1), picture_.Get(), Scale(48), Scale(48), 0,
                       nullptr, DI_NORMAL);
        return 0;
    }
    case WM_CTLCOLORSTATIC:
        // The legal notice sits on the scroll-bar colour, the title on the form.
        if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == kNoticeId) {
            SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_SCROLLBAR));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_SCROLLBAR));
        }
        if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == kMemoId) {
            SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        }
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == kOkId || LOWORD(wParam) == IDCANCEL) {
            modal_ = false;
            return 0;
        }
        break;
    case WM_CLOSE:
        modal_ = false;
        return 0;
    default:
        break;
    }
    return NativeWindow::HandleMessage(message, wParam, lParam);
}

} // namespace lumivane::win32
