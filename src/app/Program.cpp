// The program's start (see Program.h).
#include "app/Program.h"

#include "common/AsciiText.h"
#include "common/ErrorText.h"
#include "common/IntegerText.h"

namespace lumivane {

Arguments ReadArguments(const std::string& commandLine) {
    auto pieces = SplitCommandLine(commandLine);
    Arguments args;
    if (pieces.size() > 1)
        args.first = UpperAscii(pieces[1]);
    if (pieces.size() > 2)
        args.second = UpperAscii(pieces[2]);
    return args;
}

int RunProgram(const std::string& commandLine, Startup& startup) {
    const Arguments args = ReadArguments(commandLine);
    const RunMode mode = ChooseRunMode(args.first);

    if (mode == RunMode::Password) {
        startup.GetDialogs().ShowBox("Information", kPasswordText, BoxIcon::Information);
        return 0;
    }

    try {
        startup.InitApplication();
        switch (mode) {
        case RunMode::Preview:
            startup.DrawPreview(StrToInt(args.second));
            break;
        case RunMode::Configure:
            startup.SetTitle(kConfigureTitle);
            startup.RunConfigure();
            break;
        default:
            // A new marker (or none at all, if creating it failed) means we are the
            // only saver; an existing one means another saver runs.
            if (startup.GetSemaphore().CreateOrOpen(kSemaphoreName) == SemaphoreResult::AlreadyExists)
                return 0;
            startup.RunSaver();
            break;
        }
    } catch (...) {
        startup.GetDialogs().ShowBox("Application Error", ApplicationErrorText(CurrentError(), startup.ModuleName()),
                                     BoxIcon::Error);
        return 1;
    }
    return 0;
}

} // namespace lumivane
