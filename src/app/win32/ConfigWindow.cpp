// The native configuration window (see ConfigWindow.h).
#include "app/win32/ConfigWindow.h"

#include "app/win32/ButtonImages.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Error.h"
#include "settings/PopupShortcuts.h"

#include <windowsx.h>

#include <span>

namespace lumivane::win32 {

namespace {

constexpr char kClassName[] = "TfrmMain";

enum ControlId : int {
    kBtClose = IDOK, // the default button: Enter closes the window
    kLsScreen = 101,
    kLsFlash,
    kLsSearch,
    kCboxDriver,
    kChkSub,
    kPage,
    kRbfOrigin,
    kRbfFull,
    kBtSearch,
    kBtStop,
    kBtCheck,
    kBtSave,
    kBtSetup,
    kBtAbout,
    kStatusBar,
    kProgressBar,
    kLsVideo,
};

enum MenuId : UINT {
    kMnuSetup = 201,
    kMnuPreview,
    kMnuReset,
    kMnuDelete,
    kMnuClear,
    kMnuViewName,
    kMnuViewPath,
    kMnuNoRepeat,
    kMnuVideoSound,
    kMnuSetup1 = 211,
    kMnuPreview1,
    kMnuReset1,
    kMnuDelete1,
    kMnuClear1,
    kMnuChangeEvery = 221, // one id per choice of kChangeEveryChoices
    kMnuMonitors = 231,    // one id per VideoMonitors value
};

constexpr UINT_PTR kNamingTimerId = 1;

constexpr const char* kChangeEveryTexts[] = {"Never", "1 minute", "2 minutes", "5 minutes", "10 minutes", "30 minutes"};
static_assert(std::size(kChangeEveryTexts) == kChangeEveryChoices.size());
constexpr const char* kMonitorsTexts[] = {"Each its own", "Same on all", "One across all", "Main only"};
static_assert(std::size(kMonitorsTexts) == kVideoMonitorModes);

bool KeyDown(int key) {
    return GetKeyState(key) < 0;
}

// What a control's notification or a popup command runs. Popup commands come
// back from TrackPopupMenu with code 0; the results menu's Reset, Delete and
// Clear All have no command.
struct Command {
    int id;
    int code;
    void (TfrmMain::*handler)();
};

constexpr Command kCommands[] = {
    {kBtClose, BN_CLICKED, &TfrmMain::btCloseClick},
    {kBtSetup, BN_CLICKED, &TfrmMain::btSetupClick},
    {kBtAbout, BN_CLICKED, &TfrmMain::btAboutClick},
    {kLsScreen, LBN_SELCHANGE, &TfrmMain::lsScreenClick},
    {kLsScreen, LBN_DBLCLK, &TfrmMain::lsScreenDblClick},
    {kLsFlash, LBN_SELCHANGE, &TfrmMain::lsFlashClick},
    {kLsFlash, LBN_DBLCLK, &TfrmMain::lsScreenDblClick},
    {kLsVideo, LBN_SELCHANGE, &TfrmMain::lsVideoClick},
    {kLsVideo, LBN_DBLCLK, &TfrmMain::lsScreenDblClick},
    {kLsSearch, LBN_SELCHANGE, &TfrmMain::lsSearchClick},
    {kLsSearch, LBN_DBLCLK, &TfrmMain::lsSearchDblClick},
    // The search runs in here and lets the window handle its messages between
    // sub-folders; a close meanwhile is deferred by FormClose until it returns.
    {kBtSearch, BN_CLICKED, &TfrmMain::btSearchClick},
    {kBtStop, BN_CLICKED, &TfrmMain::btStopClick},
    {kBtCheck, BN_CLICKED, &TfrmMain::btCheckClick},
    {kBtSave, BN_CLICKED, &TfrmMain::btSaveClick},
    {kCboxDriver, CBN_SELENDOK, &TfrmMain::cboxDriverSelect},
    {kMnuSetup, 0, &TfrmMain::btSetupClick},
    {kMnuPreview, 0, &TfrmMain::lsScreenDblClick},
    {kMnuReset, 0, &TfrmMain::mnuResetClick},
    {kMnuDelete, 0, &TfrmMain::mnuDeleteClick},
    {kMnuClear, 0, &TfrmMain::mnuClearClick},
    {kMnuViewName, 0, &TfrmMain::mnuViewNameClick},
    {kMnuViewPath, 0, &TfrmMain::mnuViewPathClick},
    {kMnuNoRepeat, 0, &TfrmMain::mnuNoRepeatClick},
    {kMnuVideoSound, 0, &TfrmMain::mnuVideoSoundClick},
    {kMnuSetup1, 0, &TfrmMain::btSetupClick},
    {kMnuPreview1, 0, &TfrmMain::lsSearchDblClick},
};

} // namespace

ConfigWindow::ConfigWindow(Application& app, MainServices services)
    : app_(app), services_(std::move(services)), dlgFolder_(app) {}

ConfigWindow::~ConfigWindow() {
    app_.SetMessageFilter(nullptr);
    form_.reset();
    about_.reset();
    // The controls go before the fonts, menus and images they use.
    DestroyNative();
}

HWND ConfigWindow::Child(const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id) {
    HWND hwnd = CreateChecked(app_, 0, cls, text, WS_CHILD | WS_VISIBLE | style, Scale(x), Scale(y), Scale(w), Scale(h),
                              Handle(), id);
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    return hwnd;
}

void ConfigWindow::Show() {
    HINSTANCE instance = app_.Instance();
    RegisterClassOnce(instance, kClassName, GetSysColorBrush(COLOR_BTNFACE), LoadIconW(instance, MAKEINTRESOURCEW(1)));
    // No WS_CLIPCHILDREN: group boxes are drawn by the parent's background.
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    // Owned by the taskbar's window, so the entry shows the application title.
    const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    RECT outer{0, 0, Scale(572), Scale(346)};
    AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    taskbar_ = std::make_unique<TaskbarWindow>(app_, app_.Title());
    CreateNative(app_, kClassName, kMainCaption, style, exStyle, 266, 158, outer.right - outer.left,
                 outer.bottom - outer.top, taskbar_->Handle());
    dlgFolder_.SetOwner(Handle());
    taskbar_->SetMainWindow(Handle());
    font_ = MakeFont("MS Sans Serif", 8, true, false);
    boldFont_ = MakeFont("MS Sans Serif", 8, true, true);
    tips_.Create(app_, Handle());
    CreateMenus();
    CreateControls();
    HookControls();
    about_ = std::make_unique<AboutWindow>(app_, Handle());
    namingTimer_ = std::make_unique<TimerAdapter>(Handle(), kNamingTimerId, kNamingTimerMs, false);

    form_ = std::make_unique<TfrmMain>(
        services_, MainView{
                       .window = *this,
                       .page = page_,
                       .lsScreen = lsScreen_,
                       .lsFlash = lsFlash_,
                       .lsVideo = lsVideo_,
                       .lsSearch = lsSearch_,
                       .cboxDriver = cboxDriver_,
                       .chkSub = chkSub_,
                       .rbfOrigin = rbfOrigin_,
                       .rbfFull = rbfFull_,
                       .btSearch = btSearch_,
                       .btStop = btStop_,
                       .statusBar = statusBar_,
                       .progressBar = progressBar_,
                       .mnuSetup = mnuSetup_,
                       .mnuPreview = mnuPreview_,
                       .mnuReset = mnuReset_,
                       .mnuDelete = mnuDelete_,
                       .mnuClear = mnuClear_,
                       .mnuViewName = mnuViewName_,
                       .mnuViewPath = mnuViewPath_,
                       .mnuSetup1 = mnuSetup1_,
                       .mnuPreview1 = mnuPreview1_,
                       .dlgFolder = dlgFolder_,
                       .frmAbout = *about_,
                       .mnuNoRepeat = mnuNoRepeat_,
                       .mnuChangeEvery = {&mnuChangeEvery_[0], &mnuChangeEvery_[1], &mnuChangeEvery_[2],
                                          &mnuChangeEvery_[3], &mnuChangeEvery_[4], &mnuChangeEvery_[5]},
                       .mnuVideoSound = mnuVideoSound_,
                       .mnuMonitors = {&mnuMonitors_[0], &mnuMonitors_[1], &mnuMonitors_[2], &mnuMonitors_[3]},
                       .namingTimer = *namingTimer_,
                   });
    app_.SetMessageFilter([this](MSG& msg) { return FilterMessage(msg); });

    app_.Guard([&] { form_->FormCreate(); });
    // Built now, hidden: an error while its controls are made is a start-up error.
    about_->Create();
    app_.Guard([&] { form_->FormShow(); });
    ShowWindow(Handle(), SW_SHOWNORMAL);
    UpdateWindow(Handle());
    // Buttons that share a place (Search over Stop) can first paint in creation
    // order; one more pass lets the z-order decide.
    RedrawWindow(btSearch_.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

namespace {

struct MenuLine {
    UINT flags;
    UINT id;
    const char* text; // nullptr for a separator
};

bool AppendLine(HMENU menu, UINT flags, UINT_PTR id, const char* text) {
    return AppendMenuW(menu, flags, id, text ? W(Wide(text)) : nullptr);
}

Menu MakePopup(std::initializer_list<MenuLine> lines) {
    Menu menu(CreatePopupMenu());
    if (!menu)
        RaiseLastError("CreatePopupMenu");
    for (const MenuLine& line : lines)
        if (!AppendLine(menu.Get(), line.flags, line.id, line.text))
            RaiseLastError("AppendMenu");
    return menu;
}

} // namespace

void ConfigWindow::CreateMenus() {
    pmActive_ = MakePopup({
        {MF_STRING, kMnuSetup, "Setup\tCtrl+S"},
        {MF_STRING, kMnuPreview, "Preview\tCtrl+V"},
        {MF_STRING | MF_GRAYED, kMnuReset, "Reset"},
        {MF_SEPARATOR, 0, nullptr}, // N1
        {MF_STRING, kMnuDelete, "Delete\tDel"},
        {MF_STRING, kMnuClear, "Clear All\tCtrl+A"},
        {MF_SEPARATOR, 0, nullptr}, // N2
        {MF_STRING | MF_CHECKED, kMnuViewName, "View in file name"},
        {MF_STRING, kMnuViewPath, "View in full path"},
        {MF_SEPARATOR, 0, nullptr},
        {MF_STRING, kMnuNoRepeat, "Play each once before repeating"},
    });
    // A submenu belongs to the popup once appended: it goes when the popup goes.
    auto appendChoices = [&](const char* caption, UINT firstId, std::span<const char* const> texts) {
        Menu choices(CreatePopupMenu());
        if (!choices)
            RaiseLastError("CreatePopupMenu");
        for (std::size_t i = 0; i < texts.size(); ++i)
            AppendLine(choices.Get(), MF_STRING, firstId + i, texts[i]);
        if (!AppendLine(pmActive_.Get(), MF_POPUP, reinterpret_cast<UINT_PTR>(choices.Get()), caption))
            RaiseLastError("AppendMenu");
        choices.Release();
    };
    appendChoices("Change every", kMnuChangeEvery, kChangeEveryTexts);
    if (!AppendLine(pmActive_.Get(), MF_STRING, kMnuVideoSound, "Play video sound"))
        RaiseLastError("AppendMenu");
    appendChoices("Monitors", kMnuMonitors, kMonitorsTexts);
    pmResult_ = MakePopup({
        {MF_STRING, kMnuSetup1, "Setup\tCtrl+S"},
        {MF_STRING, kMnuPreview1, "Preview\tCtrl+V"},
        {MF_STRING | MF_GRAYED, kMnuReset1, "Reset"},
        {MF_SEPARATOR, 0, nullptr}, // MenuItem3
        {MF_STRING | MF_GRAYED, kMnuDelete1, "Delete\tDel"},
        {MF_STRING | MF_GRAYED, kMnuClear1, "Clear All\tCtrl+A"},
    });

    mnuSetup_ = {pmActive_.Get(), kMnuSetup};
    mnuPreview_ = {pmActive_.Get(), kMnuPreview};
    mnuReset_ = {pmActive_.Get(), kMnuReset};
    mnuDelete_ = {pmActive_.Get(), kMnuDelete};
    mnuClear_ = {pmActive_.Get(), kMnuClear};
    mnuViewName_ = {pmActive_.Get(), kMnuViewName};
    mnuViewPath_ = {pmActive_.Get(), kMnuViewPath};
    mnuSetup1_ = {pmResult_.Get(), kMnuSetup1};
    mnuPreview1_ = {pmResult_.Get(), kMnuPreview1};
    mnuReset1_ = {pmResult_.Get(), kMnuReset1};
    mnuDelete1_ = {pmResult_.Get(), kMnuDelete1};
    mnuClear1_ = {pmResult_.Get(), kMnuClear1};
    mnuNoRepeat_ = {pmActive_.Get(), kMnuNoRepeat};
    for (std::size_t i = 0; i < mnuChangeEvery_.size(); ++i)
        mnuChangeEvery_[i] = {pmActive_.Get(), static_cast<UINT>(kMnuChangeEvery + i)};
    mnuVideoSound_ = {pmActive_.Get(), kMnuVideoSound};
    for (std::size_t i = 0; i < mnuMonitors_.size(); ++i)
        mnuMonitors_[i] = {pmActive_.Get(), static_cast<UINT>(kMnuMonitors + i)};
}

// The three tabs, each shown whole. The wider font that stands in for MS Sans
// Serif under Wine, with its least tab width of 54 pixels, makes three flat
// buttons overflow the control, which then hides "Video" behind scroll arrows;
// the least width goes, then the padding beside the captions shrinks, until
// no arrows are needed.
void ConfigWindow::InsertTabs(HWND tabs) {
    const int defaultPadding = 6; // the control's own, at 96 DPI
    for (int step = 0;; ++step) {
        const int padding = defaultPadding + 1 - step;
        SendMessageW(tabs, TCM_DELETEALLITEMS, 0, 0);
        if (step > 0)
            SendMessageW(tabs, TCM_SETMINTABWIDTH, 0, 0);
        if (padding < defaultPadding)
            SendMessageW(tabs, TCM_SETPADDING, 0, MAKELPARAM(Scale(padding), Scale(3)));
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        for (const wchar_t* caption : {L"ScreenSaver", L"Flash", L"Video"}) {
            item.pszText = const_cast<wchar_t*>(caption);
            SendMessageW(tabs, TCM_INSERTITEMW, SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0),
                         reinterpret_cast<LPARAM>(&item));
        }
        // The window is not shown yet: the arrows' own style tells whether they show.
        HWND arrows = FindWindowExW(tabs, nullptr, UPDOWN_CLASSW, nullptr);
        if (padding == 0 || !arrows || !(GetWindowLongW(arrows, GWL_STYLE) & WS_VISIBLE))
            return;
    }
}

void ConfigWindow::CreateControls() {
    // Creation order is the z-order and the tab order. Group boxes paint their
    // whole inside, so they go to the bottom once everything exists.
    HWND gboxActive = Child("BUTTON", "Random List", BS_GROUPBOX, 8, 8, 217, 313, -1);
    HWND gBoxSearch = Child("BUTTON", "Search List", BS_GROUPBOX, 232, 8, 193, 313, -1);
    SendMessageW(gboxActive, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.Get()), FALSE);
    SendMessageW(gBoxSearch, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.Get()), FALSE);
    HWND groupBox1 = Child("BUTTON", "Flash Size", BS_GROUPBOX, 432, 8, 137, 65, -1);
    Child("STATIC", "Select a folder:", SS_LEFT, 242, 32, 120, 13, -1);
    Child("STATIC", "Results:", SS_LEFT, 242, 96, 120, 13, -1);

    // Tab order: the search group, the random-list group, Config, Close, About,
    // the Flash Size pair, then Search, Stop, Check All and Save.
    lsSearch_.Init(Child("LISTBOX", "",
                         WS_TABSTOP | WS_VSCROLL | WS_BORDER | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, 242,
                         112, 175, 199, kLsSearch),
                   nullptr);
    cboxDriver_.Init(Child("COMBOBOX", "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 242, 48, 175, 200, kCboxDriver),
                     &tips_);
    chkSub_.Attach(Child("BUTTON", "Include sub-folder", WS_TABSTOP | BS_AUTOCHECKBOX, 240, 76, 129, 17, kChkSub));

    HWND tabs = Child(WC_TABCONTROLA, "", WS_TABSTOP | WS_CLIPSIBLINGS | TCS_BUTTONS | TCS_FLATBUTTONS, 10, 32, 213,
                      287, kPage);
    InsertTabs(tabs);
    RECT pageRect;
    GetClientRect(tabs, &pageRect);
    SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&pageRect));
    MapWindowPoints(tabs, Handle(), reinterpret_cast<POINT*>(&pageRect), 2);
    const DWORD listStyle = WS_TABSTOP | WS_VSCROLL | WS_BORDER | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    auto makeList = [&](int id) {
        HWND list =
            CreateChecked(app_, 0, "LISTBOX", "", WS_CHILD | WS_CLIPSIBLINGS | listStyle, pageRect.left, pageRect.top,
                          pageRect.right - pageRect.left, pageRect.bottom - pageRect.top, Handle(), id);
        SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
        SendMessageW(list, LB_SETITEMHEIGHT, 0, Scale(13));
        SetWindowPos(list, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        return list;
    };
    lsScreen_.Init(makeList(kLsScreen), &tips_);
    lsFlash_.Init(makeList(kLsFlash), &tips_);
    lsVideo_.Init(makeList(kLsVideo), &tips_);
    page_.Init(tabs, lsScreen_.Handle(), lsFlash_.Handle(), lsVideo_.Handle());
    page_.ShowActivePage();

    btSetup_.Attach(Child("BUTTON", "Config", WS_TABSTOP | BS_PUSHBUTTON, 432, 208, 137, 25, kBtSetup));
    btClose_.Attach(Child("BUTTON", "Close", WS_TABSTOP | BS_DEFPUSHBUTTON, 432, 288, 137, 25, kBtClose));
    btAbout_.Attach(Child("BUTTON", "About", WS_TABSTOP | BS_PUSHBUTTON, 432, 248, 137, 25, kBtAbout));
    rbfOrigin_.Attach(
        Child("BUTTON", "Original Size", WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, 448, 32, 97, 17, kRbfOrigin));
    rbfFull_.Attach(Child("BUTTON", "Full Screen", BS_AUTORADIOBUTTON, 448, 48, 89, 17, kRbfFull));
    rbfOrigin_.SetChecked(true);
    btSearch_.Attach(Child("BUTTON", "Search", WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON, 432, 88, 137, 25, kBtSearch));
    btStop_.Attach(Child("BUTTON", "Stop", WS_TABSTOP | BS_PUSHBUTTON, 432, 88, 137, 25, kBtStop));
    // Stop lies under Search until a search runs.
    SetWindowPos(btStop_.Handle(), btSearch_.Handle(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    btCheck_.Attach(Child("BUTTON", "Check All", WS_TABSTOP | BS_PUSHBUTTON, 432, 128, 137, 25, kBtCheck));
    btSave_.Attach(Child("BUTTON", "Save", WS_TABSTOP | BS_PUSHBUTTON, 432, 168, 137, 25, kBtSave));

    const std::pair<ButtonAdapter*, ButtonImage> images[] = {
        {&btSearch_, ButtonImage::Search}, {&btStop_, ButtonImage::Stop},    {&btCheck_, ButtonImage::CheckAll},
        {&btSave_, ButtonImage::Save},     {&btSetup_, ButtonImage::Config}, {&btAbout_, ButtonImage::About},
        {&btClose_, ButtonImage::Close}};
    for (const auto& [button, image] : images) {
        icons_.push_back(MakeButtonImage(image));
        SendMessageW(button->Handle(), BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icons_.back().Get()));
    }

    // The status bar keeps its laid-out place instead of sizing itself to its font.
    HWND status = Child(STATUSCLASSNAMEA, "", CCS_NORESIZE | CCS_NOPARENTALIGN, 0, 322, 572, 24, kStatusBar);
    int parts[3] = {Scale(100), Scale(160), -1};
    SendMessageW(status, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
    statusBar_.Attach(status);
    statusBar_.SetPanelText(0, "Message");
    statusBar_.SetPanelText(1, "Found:0");
    // The progress bar lies over the first panel. As a child of the status bar it
    // is always painted after it, so "Message" stays hidden.
    HWND progress = CreateChecked(app_, 0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 0, 0, Scale(100), Scale(22),
                                  status, kProgressBar);
    SendMessageW(progress, PBM_SETRANGE32, 0, 100);
    SendMessageW(progress, PBM_SETSTEP, 10, 0);
    progressBar_.Attach(progress);
    for (HWND group : {gboxActive, gBoxSearch, groupBox1})
        SetWindowPos(group, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    // The lists lie on top of the tab control (they must, to paint over it), and
    // the z-order is the dialog manager's tab order, which would put them first:
    // Tab walks this order instead. The hidden list of the other tab, and Search
    // or Stop while hidden, are passed over; the radio pair is one stop.
    focusOrder_.SetStops(Handle(), {{lsSearch_.Handle()},
                                    {cboxDriver_.Handle()},
                                    {chkSub_.Handle()},
                                    {tabs},
                                    {lsScreen_.Handle()},
                                    {lsFlash_.Handle()},
                                    {lsVideo_.Handle()},
                                    {btSetup_.Handle()},
                                    {btClose_.Handle()},
                                    {btAbout_.Handle()},
                                    {rbfOrigin_.Handle(), rbfFull_.Handle()},
                                    {btSearch_.Handle()},
                                    {btStop_.Handle()},
                                    {btCheck_.Handle()},
                                    {btSave_.Handle()}});

    // Tooltips only where the window has hints.
    tips_.Add(lsScreen_.Handle(), "");
    tips_.Add(lsFlash_.Handle(), "");
    tips_.Add(lsVideo_.Handle(), "");
    tips_.Add(cboxDriver_.Handle(), "");
    tips_.Add(btSetup_.Handle(), "Config the selected screensaver");
    tips_.Add(btAbout_.Handle(), "Read the information about Lumivane");
    tips_.Add(btClose_.Handle(), "Close Lumivane config");
}

void ConfigWindow::HookControls() {
    auto list = [this](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        tips_.Relay(hwnd, message, wParam, lParam);
        return OnListMessage(hwnd, message, wParam, lParam);
    };
    auto hinted = [this](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        tips_.Relay(hwnd, message, wParam, lParam);
        return std::optional<LRESULT>();
    };
    lsScreenHook_.Attach(app_, lsScreen_.Handle(), list);
    lsFlashHook_.Attach(app_, lsFlash_.Handle(), list);
    lsVideoHook_.Attach(app_, lsVideo_.Handle(), list);
    lsSearchHook_.Attach(app_, lsSearch_.Handle(), list);
    cboxDriverHook_.Attach(app_, cboxDriver_.Handle(), hinted);
    btSetupHook_.Attach(app_, btSetup_.Handle(), hinted);
    btAboutHook_.Attach(app_, btAbout_.Handle(), hinted);
    btCloseHook_.Attach(app_, btClose_.Handle(), hinted);
}

// Messages ----------------------------------------------------------------------------------

bool ConfigWindow::FilterMessage(MSG& msg) {
    if (!Handle() || !IsWindowEnabled(Handle()))
        return false;
    const bool ours = msg.hwnd == Handle() || IsChild(Handle(), msg.hwnd);
    // The control that has the focus when a key or a click arrives is the one to
    // give it back to after the box that this input may open (a box disables the
    // window first, which takes the focus away before the window hears of it).
    const bool input = (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) ||
                       (msg.message >= WM_LBUTTONDOWN && msg.message <= WM_MOUSELAST);
    if (ours && input)
        focusOrder_.Remember();
    if (ours && msg.message == WM_KEYDOWN && !KeyDown(VK_CONTROL) && !KeyDown(VK_MENU)) {
        if (msg.wParam == VK_TAB) {
            if (HWND next = focusOrder_.Next(GetFocus(), KeyDown(VK_SHIFT)))
                focusOrder_.MoveFocus(next);
            return true;
        }
        // A focused button takes the Enter itself; elsewhere Enter is Close's.
        HWND focus = GetFocus();
        if (msg.wParam == VK_RETURN && focus != btClose_.Handle() &&
            (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON)) {
            SendMessageW(focus, BM_CLICK, 0, 0);
            return true;
        }
    }
    if (msg.message == WM_KEYDOWN &&
        (msg.hwnd == lsScreen_.Handle() || msg.hwnd == lsFlash_.Handle() || msg.hwnd == lsVideo_.Handle() ||
         msg.hwnd == lsSearch_.Handle()) &&
        RunShortcut(msg.hwnd, msg.wParam))
        return true;
    return IsDialogMessageW(Handle(), &msg) != FALSE;
}

// Popup shortcuts act while their list has the focus; the enabling rule runs
// first, and a disabled item does nothing.
bool ConfigWindow::RunShortcut(HWND list, WPARAM key) {
    const bool results = list == lsSearch_.Handle();
    UINT id = 0;
    switch (PopupShortcut({static_cast<unsigned>(key), KeyDown(VK_CONTROL), KeyDown(VK_SHIFT), KeyDown(VK_MENU)})) {
    case PopupCommand::Setup:
        id = results ? kMnuSetup1 : kMnuSetup;
        break;
    case PopupCommand::Preview:
        id = results ? kMnuPreview1 : kMnuPreview;
        break;
    case PopupCommand::Delete:
        id = results ? kMnuDelete1 : kMnuDelete;
        break;
    case PopupCommand::ClearAll:
        id = results ? kMnuClear1 : kMnuClear;
        break;
    case PopupCommand::None:
        return false;
    }
    RunPopupRule(results);
    const UINT state = GetMenuState(results ? pmResult_.Get() : pmActive_.Get(), id, MF_BYCOMMAND);
    if (!(state & (MF_DISABLED | MF_GRAYED)))
        OnCommand(static_cast<int>(id), 0);
    return true;
}

void ConfigWindow::RunPopupRule(bool results) {
    if (results)
        app_.Guard([&] { form_->pmResultPopup(); });
    else
        app_.Guard([&] { form_->pmActivePopup(); });
}

void ConfigWindow::ShowPopup(HWND list, int x, int y) {
    const bool results = list == lsSearch_.Handle();
    RunPopupRule(results);
    if (x == -1 && y == -1) { // from the keyboard: at the list's corner
        RECT rc;
        GetWindowRect(list, &rc);
        x = rc.left;
        y = rc.top;
    }
    const UINT id = TrackPopupMenu(results ? pmResult_.Get() : pmActive_.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y,
                                   0, Handle(), nullptr);
    if (id)
        OnCommand(static_cast<int>(id), 0);
}

std::optional<LRESULT> ConfigWindow::OnListMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    const bool results = hwnd == lsSearch_.Handle();
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
        const MouseButton button = message == WM_LBUTTONDOWN   ? MouseButton::Left
                                   : message == WM_RBUTTONDOWN ? MouseButton::Right
                                                               : MouseButton::Middle;
        if (results && message == WM_LBUTTONDOWN && lsSearch_.ToggleAt(x, y))
            break; // the click on a row's box ticks it; the selection follows below
        if (hwnd == lsScreen_.Handle())
            app_.Guard([&] { form_->lsScreenMouseDown(button, x, y); });
        else if (hwnd == lsFlash_.Handle())
            app_.Guard([&] { form_->lsFlashMouseDown(button, x, y); });
        else if (hwnd == lsVideo_.Handle())
            app_.Guard([&] { form_->lsVideoMouseDown(button, x, y); });
        if (message == WM_RBUTTONDOWN) {
            SetFocus(hwnd);
            return 0; // the list's own right-click would move the selection again
        }
        break;
    }
    case WM_CONTEXTMENU:
        ShowPopup(hwnd, x, y);
        return 0;
    case WM_CHAR:
        if (results && (wParam == '+' || wParam == '-')) {
            lsSearch_.SetAll(wParam == '+');
            return 0;
        }
        if (results && wParam == ' ') {
            lsSearch_.ToggleSelected();
            return 0;
        }
        break;
    default:
        break;
    }
    return std::nullopt;
}

void ConfigWindow::OnCommand(int id, int code) {
    // A pick from the open list ends in CBN_SELENDOK; with the list closed the
    // arrow keys pick at once (CBN_SELCHANGE). Wine follows every CBN_SELENDOK
    // with a CBN_SELCHANGE of the same pick, which must not open the folder
    // browser a second time.
    if (id == kCboxDriver && code == CBN_SELCHANGE && !SendMessageW(cboxDriver_.Handle(), CB_GETDROPPEDSTATE, 0, 0) &&
        cboxDriver_.ItemIndex() != comboPicked_)
        code = CBN_SELENDOK;
    const int choice = id - static_cast<int>(kMnuChangeEvery);
    if (code == 0 && choice >= 0 && choice < static_cast<int>(kChangeEveryChoices.size())) {
        app_.Guard([&] { form_->mnuChangeEveryClick(static_cast<std::size_t>(choice)); });
        return;
    }
    const int monitors = id - static_cast<int>(kMnuMonitors);
    if (code == 0 && monitors >= 0 && monitors < kVideoMonitorModes) {
        app_.Guard([&] { form_->mnuMonitorsClick(static_cast<std::size_t>(monitors)); });
        return;
    }
    for (const Command& command : kCommands)
        if (command.id == id && command.code == code) {
            app_.Guard([&] { ((*form_).*command.handler)(); });
            if (id == kCboxDriver)
                comboPicked_ = cboxDriver_.ItemIndex();
            return;
        }
}

void ConfigWindow::OnNotify(const NMHDR& header) {
    if (header.idFrom == kPage && header.code == TCN_SELCHANGE) {
        page_.ShowActivePage();
        app_.Guard([&] { form_->pageChange(); });
    }
}

LRESULT ConfigWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (form_)
            OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_NOTIFY:
        if (form_)
            OnNotify(*reinterpret_cast<NMHDR*>(lParam));
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        // Labels, check boxes, radio buttons and group boxes on the button face.
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_MEASUREITEM: {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        measure->itemHeight = static_cast<UINT>(Scale(13));
        return TRUE;
    }
    case WM_DRAWITEM:
        if (wParam == kLsSearch) {
            lsSearch_.Draw(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        }
        break;
    case WM_TIMER:
        if (wParam == kNamingTimerId && form_)
            app_.Guard([&] { form_->namingTimerTimer(); });
        return 0;
    case WM_CLOSE: {
        // FormClose stores everything; a failed write is shown and the window
        // stays open with nothing lost. During a search it stops the search and
        // says no; the search posts WM_CLOSE again once it has returned.
        bool mayClose = false;
        if (form_)
            app_.Guard([&] { mayClose = form_->FormClose(); });
        else
            mayClose = true;
        if (mayClose)
            DestroyWindow(Handle());
        return 0;
    }
    case WM_ACTIVATE:
        // The window becomes active: at the first showing, and each time a box
        // in front of it (warning, about box, folder browser) has closed.
        if (LOWORD(wParam) == WA_INACTIVE) {
            focusOrder_.Remember();
        } else if (!HIWORD(wParam)) {
            focusOrder_.Restore();
            return 0;
        }
        break;
    case WM_DESTROY:
        taskbar_->SetMainWindow(nullptr);
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return NativeWindow::HandleMessage(message, wParam, lParam);
}

} // namespace lumivane::win32
