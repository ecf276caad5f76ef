// The program's start: splits the command line, settles the run mode, does that
// mode's start-up and runs its window. The process-level error handler lives here.
#pragma once

#include <cstdint>
#include <string>

#include "app/CommandLine.h"
#include "platform/Dialogs.h"
#include "platform/Semaphore.h"

namespace lumivane {

// What the start-up needs of the platform: each run mode's window and loop.
class Startup {
public:
    virtual ~Startup() = default;
    virtual Dialogs& GetDialogs() = 0;
    virtual Semaphore& GetSemaphore() = 0;
    // Application initialisation: COM on the main thread, common controls.
    virtual void InitApplication() = 0;
    virtual void SetTitle(const std::string& title) = 0;
    // File name of the program without its folder, for the "Application Error" box.
    virtual std::string ModuleName() = 0;
    // Each returns when its window has closed (or the drawing is done).
    virtual void DrawPreview(std::intptr_t windowHandle) = 0;
    virtual void RunConfigure() = 0;
    virtual void RunSaver() = 0;
};

// The application title: the caption of the toolkit's error boxes and of the
// saver's window; configure mode sets its own.
inline constexpr char kProgramTitle[] = "Lumivane";
inline constexpr char kConfigureTitle[] = "Lumivane Standard V1.5 Configuration";
inline constexpr char kPasswordText[] = "This screensaver doesnot support password in Windows9X.";
inline constexpr char kSemaphoreName[] = "Lumivane";

struct Arguments {
    std::string first;  // upper-cased, empty when missing
    std::string second; // upper-cased, empty when missing
};

Arguments ReadArguments(const std::string& commandLine);

// Returns the process exit code.
int RunProgram(const std::string& commandLine, Startup& startup);

} // namespace lumivane
