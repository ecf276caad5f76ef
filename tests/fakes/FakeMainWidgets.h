// The configuration window's widgets as fakes, laid out as the window opens
// ("Reset" disabled, "View in file name" and "Original Size" ticked), and the
// view that hands them to TfrmMain; and the window with fake services.
#pragma once

#include "app/Program.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeProfile.h"
#include "fakes/FakeServices.h"
#include "fakes/FakeWidgets.h"
#include "platform/TextCodec.h"
#include "settings/fMain.h"

namespace lumivane::test {

struct FakeMainWidgets {
    FakeWindow window;
    FakeTabControl page;
    FakeListBox lsScreen, lsFlash, lsVideo;
    FakeCheckListBox lsSearch;
    FakeComboBox cboxDriver;
    FakeCheckBox chkSub, rbfOrigin, rbfFull;
    FakeButton btSearch, btStop;
    FakeStatusBar statusBar;
    FakeProgressBar progressBar;
    FakeMenuItem mnuSetup, mnuPreview, mnuReset, mnuDelete, mnuClear, mnuViewName, mnuViewPath, mnuSetup1, mnuPreview1;
    FakeFolderBrowser dlgFolder;
    FakeModalWindow frmAbout;
    FakeMenuItem mnuNoRepeat;
    std::array<FakeMenuItem, kChangeEveryChoices.size()> mnuChangeEvery;
    FakeMenuItem mnuVideoSound;
    std::array<FakeMenuItem, kVideoMonitorModes> mnuMonitors;
    FakeTimer namingTimer;

    FakeMainWidgets() {
        namingTimer.enabled = false;
        mnuReset.enabled = false;
        mnuViewName.checked = true;
        rbfOrigin.checked = true;
    }

    MainView View() {
        return MainView{.window = window,
                        .page = page,
                        .lsScreen = lsScreen,
                        .lsFlash = lsFlash,
                        .lsVideo = lsVideo,
                        .lsSearch = lsSearch,
                        .cboxDriver = cboxDriver,
                        .chkSub = chkSub,
                        .rbfOrigin = rbfOrigin,
                        .rbfFull = rbfFull,
                        .btSearch = btSearch,
                        .btStop = btStop,
                        .statusBar = statusBar,
                        .progressBar = progressBar,
                        .mnuSetup = mnuSetup,
                        .mnuPreview = mnuPreview,
                        .mnuReset = mnuReset,
                        .mnuDelete = mnuDelete,
                        .mnuClear = mnuClear,
                        .mnuViewName = mnuViewName,
                        .mnuViewPath = mnuViewPath,
                        .mnuSetup1 = mnuSetup1,
                        .mnuPreview1 = mnuPreview1,
                        .dlgFolder = dlgFolder,
                        .frmAbout = frmAbout,
                        .mnuNoRepeat = mnuNoRepeat,
                        .mnuChangeEvery = {&mnuChangeEvery[0], &mnuChangeEvery[1], &mnuChangeEvery[2],
                                           &mnuChangeEvery[3], &mnuChangeEvery[4], &mnuChangeEvery[5]},
                        .mnuVideoSound = mnuVideoSound,
                        .mnuMonitors = {&mnuMonitors[0], &mnuMonitors[1], &mnuMonitors[2], &mnuMonitors[3]},
                        .namingTimer = namingTimer};
    }
};

// The whole window on fakes: its widgets, its file, the fake services and the
// form, with its handlers run as the native window runs them (under the catch
// point, so an error becomes the box a user would see).
struct FakeMainForm : FakeIniFile, FakeMainWidgets {
    explicit FakeMainForm(std::string iniPath = kIni) : FakeIniFile(std::move(iniPath)) {}

    FakeFileSystem files;
    FakeShell shell;
    FakeDialogs dialogs;
    FakeDrives drives;
    Windows1252Codec codec;
    FakeClock clock;
    FakeMessagePump messages;
    FakeUiLanguages languages;
    TfrmMain form{MainServices{profile, files, shell, dialogs, drives, codec, iniPath, clock, messages, languages},
                  View()};

    void Run(void (TfrmMain::*handler)()) {
        RunGuarded(dialogs, kConfigureTitle, [&] { (form.*handler)(); });
    }
    // Opens the window on the file text given (none when empty).
    void Open(const std::string& ini = "") {
        if (!ini.empty())
            Ini(ini);
        Run(&TfrmMain::FormCreate);
        Run(&TfrmMain::FormShow);
    }
};

} // namespace lumivane::test
