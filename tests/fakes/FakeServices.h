// Fakes of the small service contracts: shell, UI languages, clock, dialogs,
// semaphore, drives.
// Each records what it was asked so tests can assert on the user-visible effect.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "common/ErrorText.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Drives.h"
#include "platform/MessagePump.h"
#include "platform/Semaphore.h"
#include "platform/Shell.h"
#include "platform/UiLanguages.h"

namespace lumivane::test {

struct ShellCall {
    std::string verb, file, parameters;
    bool operator==(const ShellCall&) const = default;
};

// Every process it starts runs until it is ended, asked to close, or a test
// ends it (`started[i]->running = false`, as a saver that closed itself).
class FakeShell : public Shell {
public:
    struct Started {
        std::string file;
        bool running = true;
        std::vector<std::string> calls; // what the saver did to it
    };
    std::vector<ShellCall> calls;
    std::vector<std::shared_ptr<Started>> started;
    std::map<std::string, std::string> displayNames;
    std::set<std::string> refused; // files it cannot be handed (long paths without a short name)
    bool Execute(const std::string& verb, const std::string& file, const std::string& parameters) override {
        calls.push_back({verb, file, parameters});
        return !refused.contains(file);
    }
    std::unique_ptr<StartedProcess> Start(const std::string& file, const std::string& parameters) override {
        calls.push_back({"open", file, parameters});
        if (refused.contains(file))
            return nullptr;
        started.push_back(std::make_shared<Started>(Started{file, true, {}}));
        return std::make_unique<Process>(started.back());
    }
    std::string DisplayName(const std::string& path) override {
        auto it = displayNames.find(path);
        return it == displayNames.end() ? std::string() : it->second;
    }

private:
    struct Process : StartedProcess {
        explicit Process(std::shared_ptr<Started> s) : state(std::move(s)) {}
        std::shared_ptr<Started> state;
        bool Running() override { return state->running; }
        bool Place(const Rect&) override {
            state->calls.push_back("Place");
            return true;
        }
        void AskToClose() override {
            state->calls.push_back("AskToClose");
            state->running = false;
        }
        bool WaitForExit(unsigned) override { return !state->running; }
        void Terminate() override {
            state->calls.push_back("Terminate");
            state->running = false;
        }
    };
};

class FakeUiLanguages : public UiLanguages {
public:
    std::vector<UiLanguage> languages{{0x0409, "en-US"}};
    std::vector<UiLanguage> Preferred() override { return languages; }
};

class FakeClock : public Clock {
public:
    TimeOfDay now;
    std::vector<unsigned> sleeps;
    std::uint64_t milliseconds = 0;
    std::uint64_t step = 0; // each reading moves the time on, as the work between two does
    TimeOfDay UtcTimeOfDay() override { return now; }
    void Sleep(unsigned ms) override {
        sleeps.push_back(ms);
        milliseconds += ms;
    }
    std::uint64_t Milliseconds() override { return milliseconds += step; }
};

// Each ProcessMessages call counts, and may deliver what the test queued: a
// press of "Stop", a close of the window, anything a user could do between two
// sub-folders of a search.
class FakeMessagePump : public MessagePump {
public:
    int pumps = 0;
    std::function<void(int pump)> onPump; // pump counts from 1
    void ProcessMessages() override {
        ++pumps;
        if (onPump)
            onPump(pumps);
    }
    void WaitForMessages(unsigned) override {}
};

struct Box {
    std::string caption, text;
    BoxIcon icon;
    bool operator==(const Box&) const = default;
};

// Questions are recorded among the boxes and answered from the script (No once
// it has run out).
class FakeDialogs : public Dialogs {
public:
    std::vector<Box> boxes;
    std::vector<bool> answers;
    void ShowBox(const std::string& caption, const std::string& text, BoxIcon icon) override {
        boxes.push_back({caption, text, icon});
    }
    bool Ask(const std::string& caption, const std::string& text, BoxIcon icon) override {
        boxes.push_back({caption, text, icon});
        const bool yes = !answers.empty() && answers.front();
        if (!answers.empty())
            answers.erase(answers.begin());
        return yes;
    }
};

// The windows' catch point as the toolkit runs every handler: an error that
// escapes ends the handler and shows the error box, captioned with the title.
template <class Handler> void RunGuarded(Dialogs& dialogs, const std::string& title, Handler&& handler) {
    try {
        handler();
    } catch (...) {
        dialogs.ShowBox(title, HandlerErrorText(), BoxIcon::Error);
    }
}

class FakeSemaphore : public Semaphore {
public:
    std::map<std::string, int> held;
    bool fail = false;
    SemaphoreResult CreateOrOpen(const std::string& name) override {
        if (fail)
            return SemaphoreResult::Failed;
        return held[name]++ == 0 ? SemaphoreResult::Created : SemaphoreResult::AlreadyExists;
    }
};

class FakeDrives : public Drives {
public:
    std::vector<std::pair<std::string, DriveType>> drives;
    std::vector<std::string> LogicalDriveStrings() override {
        std::vector<std::string> roots;
        for (auto& d : drives)
            roots.push_back(d.first);
        return roots;
    }
    DriveType TypeOf(const std::string& root) override {
        for (auto& d : drives)
            if (d.first == root)
                return d.second;
        return DriveType::NoRootDir;
    }
};

class FakeModalWindow : public ModalWindow {
public:
    int shows = 0;
    void ShowModal() override { ++shows; }
};

// Answers each Execute with the next scripted folder, or a cancel when the
// script holds an empty text or has run out.
class FakeFolderBrowser : public FolderBrowser {
public:
    std::vector<std::string> answers;
    std::string selected;
    int runs = 0;
    bool Execute() override {
        const std::size_t run = static_cast<std::size_t>(runs++);
        if (run >= answers.size() || answers[run].empty())
            return false;
        selected = answers[run];
        return true;
    }
    std::string SelectedFolder() const override { return selected; }
};

} // namespace lumivane::test
