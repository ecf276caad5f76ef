// TfrmScreen: the black full-screen window of saver mode. While it is created it
// reads the active list, picks a random existing entry and starts it (a
// screensaver through the shell, a Flash movie in its own player); then it waits
// for the first real user input and closes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/FlashControl.h"
#include "platform/ProfileFile.h"
#include "platform/Shell.h"
#include "platform/Widgets.h"

namespace lumivane {

inline constexpr int kStripHeight = 33; // Panel1, the input strip along the top edge
inline constexpr char kNotFoundWarning[] = "Too much files in the RandomList cannot be found!\r\nPlease fix it firstly";

struct ScreenServices {
    ProfileFile& profile;
    FileSystem& files;
    Clock& clock;
    Shell& shell;
    Dialogs& dialogs;
    std::string configPath;
};

struct ScreenView {
    Window& window;
    Label& txtIntro;
    Control& palFlash;
    Timer& loopTimer;
    FlashHost& flashHost;
    int screenWidth;
    int screenHeight;
};

class TfrmScreen {
public:
    TfrmScreen(ScreenServices services, ScreenView view) : sv_(std::move(services)), view_(view) {}

    void FormCreate();
    void FormMouseMove(int x, int y);
    void FormMouseDown();
    void FormKeyDown();
    void FormClose();
    void loopTimerTimer();

    bool PickRandomFile();
    void StartRandomEntry();

    std::int32_t ListKind() const { return listKind_; }
    const std::vector<std::string>& LoadedList() const { return loadedList_; }
    const std::string& PickedFile() const { return pickedFile_; }

private:
    void StartScreenSaver();
    void StartFlash();
    void SetupFlashLoop();
    FlashControl& Flash();
    void CloseOnce();

    ScreenServices sv_;
    ScreenView view_;
    FlashControl* flash_ = nullptr; // created on first use: no player is needed for the screensaver list
    std::int32_t listKind_ = 0;
    std::vector<std::string> loadedList_;
    bool flashSize_ = true;
    std::string pickedFile_;
    int lastX_ = -1, lastY_ = -1;
    bool closing_ = false;
};

} // namespace lumivane
