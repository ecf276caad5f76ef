// The screen window of saver mode on fakes: its services, its widgets on a
// 1024 x 768 screen, and the form.
#pragma once

#include <string>

#include "fakes/FakeFileSystem.h"
#include "fakes/FakeProfile.h"
#include "fakes/FakeServices.h"
#include "fakes/FakeWidgets.h"
#include "saver/fScreen.h"

namespace lumivane::test {

struct FakeScreenForm {
    explicit FakeScreenForm(std::string iniPath) : iniPath(std::move(iniPath)) {}

    std::string iniPath;
    FakeProfile profile;
    FakeFileSystem files;
    FakeClock clock;
    FakeShell shell;
    FakeDialogs dialogs;
    FakeWindow window;
    FakeLabel txtIntro;
    FakeControl palFlash;
    FakeTimer loopTimer;
    FakeFlashHost flashHost;
    TfrmScreen screen{ScreenServices{profile, files, clock, shell, dialogs, iniPath},
                      ScreenView{window, txtIntro, palFlash, loopTimer, flashHost, 1024, 768}};
};

} // namespace lumivane::test
