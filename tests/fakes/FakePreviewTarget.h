// Fake of the preview pane contract, with the message queue and the clock the
// wait uses: a pane whose visibility, existence and device context follow a
// script on one fake millisecond time line, and which writes every call made on
// it, canvas calls included, into one ordered log so tests can check the order of
// the whole sequence. Time moves only when the code under test waits, so a wait
// that spins without waiting shows up as a runaway loop; the fake stops such a
// loop by making the pane vanish and flags it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/MessagePump.h"
#include "platform/PreviewTarget.h"

namespace lumivane::test {

class FakePreviewTarget : public PreviewTarget, public MessagePump, public Clock {
public:
    std::intptr_t paneHandle = 0x2884;
    std::optional<std::uint64_t> visibleFrom = 0; // empty: never visible
    std::optional<std::uint64_t> goneFrom;        // empty: never goes away
    bool hasDeviceContext = true;

    std::uint64_t now = 0;
    std::vector<std::string> log;
    std::vector<unsigned> pauses;
    std::optional<std::uint64_t> visibleAt; // the clock when the pane was first seen visible
    bool runaway = false;

    static constexpr int kRunawayTests = 100000;

    bool IsWindowVisible(std::intptr_t handle) override {
        log.push_back("IsWindowVisible");
        if (++tests_ > kRunawayTests) {
            runaway = true;
            goneFrom = 0;
        }
        const bool visible = Exists(handle) && visibleFrom && now >= *visibleFrom;
        if (visible && !visibleAt)
            visibleAt = now;
        return visible;
    }
    bool WindowExists(std::intptr_t handle) override {
        log.push_back("WindowExists");
        return Exists(handle);
    }
    void ProcessMessages() override { log.push_back("ProcessMessages"); }
    void WaitForMessages(unsigned milliseconds) override {
        log.push_back("WaitForMessages");
        pauses.push_back(milliseconds);
        now += milliseconds;
    }
    std::uint64_t Milliseconds() override { return now; }
    TimeOfDay UtcTimeOfDay() override { return {}; }
    void Sleep(unsigned milliseconds) override {
        log.push_back("Sleep");
        now += milliseconds;
    }
    std::unique_ptr<PreviewCanvas> GetCanvas(std::intptr_t handle) override {
        log.push_back("GetCanvas");
        if (!hasDeviceContext || !Exists(handle))
            return nullptr;
        return std::make_unique<Canvas>(log);
    }

    // The log with the waiting calls left out: what was done to the pane.
    std::vector<std::string> Drawing() const {
        std::vector<std::string> drawing;
        for (const std::string& entry : log)
            if (entry != "IsWindowVisible" && entry != "WindowExists" && entry != "ProcessMessages" &&
                entry != "WaitForMessages")
                drawing.push_back(entry);
        return drawing;
    }

private:
    class Canvas : public PreviewCanvas {
    public:
        explicit Canvas(std::vector<std::string>& log) : log_(log) {}
        void SelectDefaultGuiFont() override { log_.push_back("SelectDefaultGuiFont"); }
        void SetTextColor(Rgb c) override { log_.push_back("SetTextColor " + Text(c)); }
        void SetBkColor(Rgb c) override { log_.push_back("SetBkColor " + Text(c)); }
        void SetBkModeOpaque() override { log_.push_back("SetBkModeOpaque"); }
        void TextAt(int x, int y, const std::string& text) override {
            log_.push_back("TextAt " + std::to_string(x) + "," + std::to_string(y) + " " + text);
        }

    private:
        static std::string Text(Rgb c) {
            return std::to_string(c.red) + "," + std::to_string(c.green) + "," + std::to_string(c.blue);
        }
        std::vector<std::string>& log_;
    };

    bool Exists(std::intptr_t handle) const { return handle == paneHandle && !(goneFrom && now >= *goneFrom); }

    int tests_ = 0;
};

} // namespace lumivane::test
