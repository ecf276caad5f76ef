// Preview mode's wait and drawing on a scripted pane: what is drawn, in which
// order and where; how the wait paces itself and when it gives up; and the
// missing device context, down to the process's exit code.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/PreviewPane.h"
#include "app/Program.h"
#include "common/Errors.h"
#include "fakes/FakePreviewTarget.h"
#include "fakes/FakeServices.h"

using namespace lumivane;
using namespace lumivane::test;

namespace {

const std::vector<std::string> kFullDrawing = {
    "GetCanvas",
    "SelectDefaultGuiFont",
    "SetTextColor 255,255,255",
    "SetBkColor 0,0,0",
    "SetBkModeOpaque",
    "TextAt 6,12 Lumivane Standard",
    "TextAt 6,36 Run ScreenSavers randomly.",
    std::string("TextAt 6,72 ") + kPreviewLine3,
};

// Every two visibility tests have pending messages handled and a real pause
// between them, and the pause is short enough for "as soon as it is visible".
void ExpectPacedWait(const FakePreviewTarget& pane) {
    std::vector<std::size_t> tests;
    for (std::size_t i = 0; i < pane.log.size(); ++i)
        if (pane.log[i] == "IsWindowVisible")
            tests.push_back(i);
    for (std::size_t k = 1; k < tests.size(); ++k) {
        auto from = pane.log.begin() + tests[k - 1], to = pane.log.begin() + tests[k];
        EXPECT_EQ(std::count(from, to, "ProcessMessages"), 1) << "between tests " << k - 1 << " and " << k;
        EXPECT_EQ(std::count(from, to, "WaitForMessages"), 1) << "between tests " << k - 1 << " and " << k;
    }
    for (unsigned pause : pane.pauses) {
        EXPECT_GT(pause, 0u);
        EXPECT_LE(pause, 100u);
    }
    EXPECT_FALSE(pane.runaway);
}

} // namespace

TEST(PreviewDrawing, VisiblePaneGetsTheThreeLinesAtOnceAndNothingElse) {
    FakePreviewTarget pane;
    DrawPreviewPane(pane, pane, pane, pane.paneHandle);
    EXPECT_EQ(pane.Drawing(), kFullDrawing);
    EXPECT_TRUE(pane.pauses.empty());
    EXPECT_EQ(std::count(pane.log.begin(), pane.log.end(), "ProcessMessages"), 0);
}

TEST(PreviewDrawing, ThirdLineIsAnAddressOfTheProgramsOwnThatFitsThePane) {
    const std::string address = kPreviewLine3;
    EXPECT_NE(address.find("lumivane"), std::string::npos);
    // The Display Settings monitor picture is 152 pixels wide; line 2 (26
    // characters) already reaches its right edge at 8 points.
    EXPECT_LE(address.size(), std::string(kPreviewLine2).size());
}

TEST(PreviewWait, PaneShownLaterIsDrawnAsSoonAsItIsVisible) {
    FakePreviewTarget pane;
    pane.visibleFrom = 2500;
    DrawPreviewPane(pane, pane, pane, pane.paneHandle);
    EXPECT_EQ(pane.Drawing(), kFullDrawing);
    ASSERT_TRUE(pane.visibleAt);
    // Drawn at the first test that saw it, no later than one pause after it showed.
    EXPECT_LT(*pane.visibleAt, 2500u + kPaneTestPauseMs);
    EXPECT_EQ(pane.now, *pane.visibleAt);
    // Until then only waiting calls: the first drawing call follows the last test.
    auto firstDraw = std::find(pane.log.begin(), pane.log.end(), "GetCanvas");
    auto lastTest = std::find(pane.log.rbegin(), pane.log.rend(), "IsWindowVisible");
    EXPECT_EQ(firstDraw, lastTest.base());
    ExpectPacedWait(pane);
}

TEST(PreviewWait, HiddenPaneIsWaitedForUpToTheBoundThenLeftUntouched) {
    FakePreviewTarget pane;
    pane.visibleFrom.reset();
    DrawPreviewPane(pane, pane, pane, pane.paneHandle);
    EXPECT_TRUE(pane.Drawing().empty());
    EXPECT_GE(pane.now, kHiddenPaneWaitMs);
    EXPECT_LT(pane.now, kHiddenPaneWaitMs + kPaneTestPauseMs + 1);
    ExpectPacedWait(pane);
}

TEST(PreviewWait, PaneShownJustBeforeTheBoundIsStillDrawn) {
    FakePreviewTarget pane;
    pane.visibleFrom = kHiddenPaneWaitMs - kPaneTestPauseMs;
    DrawPreviewPane(pane, pane, pane, pane.paneHandle);
    EXPECT_EQ(pane.Drawing(), kFullDrawing);
}

TEST(PreviewWait, HandleThatNamesNoWindowEndsAtOnce) {
    for (std::intptr_t handle : {std::intptr_t{0}, std::intptr_t{1}, std::intptr_t{-1}, std::intptr_t{0x7fffffff}}) {
        FakePreviewTarget pane;
        DrawPreviewPane(pane, pane, pane, handle);
        // Handle 0 matters most: a device context for "no window" is the whole screen.
        EXPECT_TRUE(pane.Drawing().empty()) << handle;
        EXPECT_TRUE(pane.pauses.empty()) << handle;
    }
}

TEST(PreviewWait, PaneClosedWhileHiddenEndsTheWait) {
    FakePreviewTarget pane;
    pane.visibleFrom.reset();
    pane.goneFrom = 700;
    DrawPreviewPane(pane, pane, pane, pane.paneHandle);
    EXPECT_TRUE(pane.Drawing().empty());
    EXPECT_GE(pane.now, 700u);
    EXPECT_LT(pane.now, 700u + kPaneTestPauseMs + 1);
    ExpectPacedWait(pane);
}

TEST(PreviewNoDeviceContext, RaisesCanvasErrorAndDrawsNothing) {
    FakePreviewTarget pane;
    pane.hasDeviceContext = false;
    try {
        DrawPreviewPane(pane, pane, pane, pane.paneHandle);
        ADD_FAILURE() << "no error raised";
    } catch (const EInvalidOperation& error) {
        EXPECT_EQ(error.ClassName(), "EInvalidOperation");
        EXPECT_EQ(error.Message(), "Canvas does not allow drawing");
    }
    EXPECT_EQ(pane.Drawing(), std::vector<std::string>{"GetCanvas"});
}

namespace {

// Start-up with the real drawing behind DrawPreview, over a scripted pane.
class PreviewStartup : public Startup {
public:
    FakeDialogs dialogs;
    FakeSemaphore semaphore;
    FakePreviewTarget pane;
    Dialogs& GetDialogs() override { return dialogs; }
    Semaphore& GetSemaphore() override { return semaphore; }
    void InitApplication() override {}
    void SetTitle(const std::string&) override {}
    std::string ModuleName() override { return "Lumivane.scr"; }
    void DrawPreview(std::intptr_t handle) override { DrawPreviewPane(pane, pane, pane, handle); }
    void RunConfigure() override { ADD_FAILURE() << "configure ran"; }
    void RunSaver() override { ADD_FAILURE() << "saver ran"; }
};

} // namespace

TEST(PreviewNoDeviceContext, EndsWithApplicationErrorAndExitCodeOne) {
    PreviewStartup s;
    s.pane.hasDeviceContext = false;
    EXPECT_EQ(RunProgram("Lumivane.scr /p 10372", s), 1);
    ASSERT_EQ(s.dialogs.boxes.size(), 1u);
    const Box& box = s.dialogs.boxes[0];
    EXPECT_EQ(box.caption, "Application Error");
    EXPECT_EQ(box.icon, BoxIcon::Error);
    EXPECT_EQ(box.text.rfind("Exception EInvalidOperation in module Lumivane.scr at ", 0), 0u) << box.text;
    const std::string tail = ".\r\nCanvas does not allow drawing.\r\n";
    ASSERT_GE(box.text.size(), tail.size());
    EXPECT_EQ(box.text.substr(box.text.size() - tail.size()), tail);
}

TEST(PreviewStartUp, HandleFromTheCommandLineReachesThePaneAndEndsWithZero) {
    const std::vector<std::pair<std::string, std::intptr_t>> cases = {
        {"x /p 10372", 10372}, {"x -P $2884", 0x2884}, {"x p 0xb44", 0xb44}};
    for (const auto& [line, handle] : cases) {
        PreviewStartup s;
        s.pane.paneHandle = handle;
        EXPECT_EQ(RunProgram(line, s), 0) << line;
        EXPECT_EQ(s.pane.Drawing(), kFullDrawing) << line;
        EXPECT_TRUE(s.dialogs.boxes.empty()) << line;
    }
    // A pane that never turns up is no error: nothing is drawn and no box appears.
    PreviewStartup gone;
    gone.pane.visibleFrom.reset();
    gone.pane.goneFrom = 0;
    EXPECT_EQ(RunProgram("x /p 10372", gone), 0);
    EXPECT_TRUE(gone.dialogs.boxes.empty());
}
