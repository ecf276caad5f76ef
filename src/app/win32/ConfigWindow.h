// The native configuration window of configure mode: every control at its place,
// its tab order, the two popup menus with their shortcuts, tooltips, and the
// routing of each native notification to the TfrmMain handler of the same name.
// The about box is created hidden beside it.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "app/win32/AboutWindow.h"
#include "platform/Dialogs.h"
#include "platform/win32/Controls.h"
#include "platform/win32/FocusOrder.h"
#include "platform/win32/Win32FolderBrowser.h"
#include "settings/fMain.h"

namespace lumivane::win32 {

class ConfigWindow : public FormWindow {
public:
    ConfigWindow(Application& app, MainServices services);
    ~ConfigWindow() override;
    ConfigWindow(const ConfigWindow&) = delete;
    ConfigWindow& operator=(const ConfigWindow&) = delete;

    // Runs FormCreate and FormShow and shows the window.
    void Show();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateControls();
    void InsertTabs(HWND tabs);
    void CreateMenus();
    void HookControls();
    HWND Child(const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id);
    // Runs the handler bound to a control's notification or a menu command.
    void OnCommand(int id, int code);
    void OnNotify(const NMHDR& header);
    bool FilterMessage(MSG& msg);
    bool RunShortcut(HWND list, WPARAM key);
    void RunPopupRule(bool results);
    void ShowPopup(HWND list, int x, int y);
    std::optional<LRESULT> OnListMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    Application& app_;
    MainServices services_;
    std::unique_ptr<TaskbarWindow> taskbar_; // the main window's owner, gone after it
    Font font_;
    Font boldFont_;
    Tooltips tips_;
    Menu pmActive_;
    Menu pmResult_;
    Win32FolderBrowser dlgFolder_;
    std::vector<Icon> icons_;
    FocusOrder focusOrder_;
    int comboPicked_ = -1; // the combo item whose pick ran last
    // Our handlers in front of the lists (popup, ticking, tooltips) and of the
    // other controls with hints (tooltips).
    ControlHook lsScreenHook_, lsFlashHook_, lsVideoHook_, lsSearchHook_;
    ControlHook cboxDriverHook_, btSetupHook_, btAboutHook_, btCloseHook_;

    TabControlAdapter page_;
    ListBoxAdapter lsScreen_, lsFlash_, lsVideo_;
    CheckListBoxAdapter lsSearch_;
    ComboBoxAdapter cboxDriver_;
    CheckBoxAdapter chkSub_, rbfOrigin_, rbfFull_;
    ButtonAdapter btSearch_, btStop_, btCheck_, btSave_, btSetup_, btAbout_, btClose_;
    StatusBarAdapter statusBar_;
    ProgressBarAdapter progressBar_;
    MenuItemAdapter mnuSetup_, mnuPreview_, mnuReset_, mnuDelete_, mnuClear_, mnuViewName_, mnuViewPath_;
    MenuItemAdapter mnuSetup1_, mnuPreview1_, mnuReset1_, mnuDelete1_, mnuClear1_;
    MenuItemAdapter mnuNoRepeat_;
    std::array<MenuItemAdapter, kChangeEveryChoices.size()> mnuChangeEvery_;
    MenuItemAdapter mnuVideoSound_;
    std::array<MenuItemAdapter, kVideoMonitorModes> mnuMonitors_;

    std::unique_ptr<AboutWindow> about_;
    std::unique_ptr<TimerAdapter> namingTimer_;
    std::unique_ptr<TfrmMain> form_;
};

} // namespace lumivane::win32
