// The preview pane rules the waiting and drawing rely on, checked against the
// scripted fake and against the real window manager and GDI.
#include <gtest/gtest.h>

#include "contract/PreviewWorld.h"

using namespace lumivane;
using namespace lumivane::contract;

TEST(PreviewTargetContract, HiddenPaneExistsAndTurnsVisibleWhenShown) {
    PreviewTarget& target = Preview();
    const std::intptr_t pane = MakePane(false);
    EXPECT_TRUE(target.WindowExists(pane));
    EXPECT_FALSE(target.IsWindowVisible(pane));
    ShowPane(pane);
    EXPECT_TRUE(target.IsWindowVisible(pane));
    EXPECT_TRUE(target.WindowExists(pane));
    ClosePane(pane);
}

TEST(PreviewTargetContract, ClosedPaneAndNoWindowAreNeitherVisibleNorThereNorDrawable) {
    PreviewTarget& target = Preview();
    const std::intptr_t pane = MakePane(true);
    ASSERT_TRUE(target.IsWindowVisible(pane));
    ClosePane(pane);
    EXPECT_FALSE(target.IsWindowVisible(pane));
    EXPECT_FALSE(target.WindowExists(pane));
    EXPECT_EQ(target.GetCanvas(pane), nullptr);
    // Handle 0 must never give a canvas: a device context for no window is the
    // whole screen.
    EXPECT_FALSE(target.IsWindowVisible(0));
    EXPECT_FALSE(target.WindowExists(0));
    EXPECT_EQ(target.GetCanvas(0), nullptr);
}

TEST(PreviewTargetContract, VisiblePaneGivesACanvas) {
    PreviewTarget& target = Preview();
    const std::intptr_t pane = MakePane(true);
    auto canvas = target.GetCanvas(pane);
    ASSERT_NE(canvas, nullptr);
    canvas.reset();
    ClosePane(pane);
}
