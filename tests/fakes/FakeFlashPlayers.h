// A fake standalone Flash player: the association Windows would report and one
// player process at a time, with every call written to one log so a test can
// read the order in which the screen window started, placed and ended it.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/FlashPlayer.h"

namespace lumivane::test {

class FakeFlashPlayers : public FlashPlayers {
public:
    std::string program = "C:\\Player\\player.exe"; // empty: nothing opens .swf files
    bool running = false;
    bool ignoresClose = false;        // a player that keeps running when asked to close
    bool showsWindow = true;          // false: a player that has not shown its window yet
    std::function<void()> duringWait; // input that comes while the saver waits for the player
    std::vector<std::string> calls;   // consecutive waits as one "Wait <total ms>"

    std::string AssociatedPlayer() override { return program; }
    std::unique_ptr<StartedProcess> Open(const std::string& movie) override {
        calls.push_back("Open " + movie);
        running = true;
        return std::make_unique<Process>(*this);
    }

private:
    struct Process : StartedProcess {
        explicit Process(FakeFlashPlayers& o) : owner(o) {}
        FakeFlashPlayers& owner;
        bool Running() override { return owner.running; }
        bool Place(const Rect& r) override {
            if (!owner.showsWindow)
                return false;
            owner.calls.push_back("Place " + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
                                  std::to_string(r.width) + "," + std::to_string(r.height));
            return true;
        }
        void AskToClose() override {
            owner.calls.push_back("AskToClose");
            owner.running = owner.running && owner.ignoresClose;
        }
        bool WaitForExit(unsigned ms) override {
            if (!owner.calls.empty() && owner.calls.back().starts_with("Wait "))
                ms += std::stoul(owner.calls.back().substr(5)), owner.calls.pop_back();
            owner.calls.push_back("Wait " + std::to_string(ms));
            if (owner.duringWait)
                owner.duringWait();
            return !owner.running;
        }
        void Terminate() override {
            owner.calls.push_back("Terminate");
            owner.running = false;
        }
    };
};

} // namespace lumivane::test
