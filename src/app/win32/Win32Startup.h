// The Startup of the real program: each run mode's window over Win32.
#pragma once

#include "app/Program.h"
#include "platform/win32/Toolkit.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32Drives.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32FlashPlayers.h"
#include "platform/win32/Win32ProfileFile.h"
#include "platform/win32/Win32Semaphore.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32TextCodec.h"
#include "platform/win32/Win32UiLanguages.h"

namespace lumivane::win32 {

class Win32Startup : public Startup {
public:
    explicit Win32Startup(HINSTANCE instance) : app_(instance, kProgramTitle) {}

    Dialogs& GetDialogs() override { return app_.GetDialogs(); }
    Semaphore& GetSemaphore() override { return semaphore_; }
    void InitApplication() override;
    void SetTitle(const std::string& title) override { app_.SetTitle(title); }
    std::string ModuleName() override;
    void DrawPreview(std::intptr_t windowHandle) override;
    void RunConfigure() override;
    void RunSaver() override;

private:
    std::string ProgramPath();

    Application app_;
    Win32Semaphore semaphore_;
    Win32ProfileFile profile_;
    Win32FileSystem files_;
    Win32Shell shell_;
    Win32FlashPlayers players_;
    Win32Clock clock_;
    Win32Drives drives_;
    Win32TextCodec codec_;
    Win32UiLanguages languages_;
};

} // namespace lumivane::win32
