// The screen window of saver mode on fakes: its file, its services, its widgets
// on a 1024 x 768 screen as the process starts (help text shown, one mouse move
// to skip), and the form.
#pragma once

#include <string>

#include "app/Program.h"
#include "common/HelpText.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeFlashPlayers.h"
#include "fakes/FakeProfile.h"
#include "fakes/FakeServices.h"
#include "fakes/FakeVideoPlayer.h"
#include "fakes/FakeWidgets.h"
#include "saver/MoveSkip.h"
#include "saver/fScreen.h"

namespace lumivane::test {

// Two monitors, each with a fake player: the 1024 x 768 primary and a 1280 x 1024
// one to its right.
struct FakeVideoSurfaces : VideoSurfaces {
    FakeVideoLibrary library;
    FakeVideoPlayer primary{library}, second{library};
    int made = 0;
    std::vector<VideoSurface> Surfaces() override {
        ++made;
        return {{&primary, {0, 0, 1024, 768}}, {&second, {1024, 0, 1280, 1024}}};
    }
};

struct FakeScreenForm : FakeIniFile {
    explicit FakeScreenForm(std::string iniPath = kIni, int stripHeight = kStripHeight)
        : FakeIniFile(std::move(iniPath)), stripHeight(stripHeight) {
        gMoveSkipCount = 1; // the process starts with one move to skip
        txtIntro.caption = HelpText();
    }

    FakeFileSystem files;
    FakeClock clock;
    FakeShell shell;
    FakeDialogs dialogs;
    FakeWindow window;
    FakeLabel txtIntro;
    FakeControl palFlash;
    FakeControl strip;
    FakeVideoSurfaces videos;
    FakeTimer loopTimer;
    FakeTimer changeTimer;
    FakeFlashHost flashHost;
    FakeFlashPlayers players;
    int stripHeight;
    TfrmScreen screen{ScreenServices{profile, files, clock, shell, dialogs, players, iniPath},
                      ScreenView{.window = window,
                                 .txtIntro = txtIntro,
                                 .strip = strip,
                                 .palFlash = palFlash,
                                 .loopTimer = loopTimer,
                                 .changeTimer = changeTimer,
                                 .flashHost = flashHost,
                                 .videos = videos,
                                 .screenWidth = 1024,
                                 .screenHeight = 768,
                                 .stripHeight = stripHeight}};

    // As the native window creates it: under the catch point.
    void Create() {
        RunGuarded(dialogs, kProgramTitle, [&] { screen.FormCreate(); });
    }
};

} // namespace lumivane::test
