// What the screen window relies on of the Flash control, checked against the
// fake on the host and against the real hosting of a control under Wine: a new
// control is idle and where it was laid out, Playing follows Movie and Play,
// and bounds and visibility read back as set.
#include <gtest/gtest.h>

#include "contract/FlashWorld.h"

using namespace lumivane;
using namespace lumivane::contract;

namespace {
struct FlashControlContract : ::testing::Test {
    void TearDown() override { ReleaseFlashWorld(); }
};
} // namespace

TEST_F(FlashControlContract, CreatedOnceIdleVisibleAndAtItsPlace) {
    FlashHost& host = NewFlashHost();
    FlashControl& flash = host.CreateFlash();
    EXPECT_EQ(&host.CreateFlash(), &flash);
    EXPECT_FALSE(flash.Playing());
    EXPECT_TRUE(flash.Visible());
    EXPECT_EQ(flash.Bounds(), kFlashPlace);
}

TEST_F(FlashControlContract, PlayWithoutAMovieKeepsItIdle) {
    // The loop timer calls Play on an empty control when no movie could be picked.
    FlashControl& flash = NewFlashHost().CreateFlash();
    flash.SetLoop(true);
    flash.Play();
    EXPECT_FALSE(flash.Playing());
}

TEST_F(FlashControlContract, MovieThenPlayIsPlaying) {
    FlashControl& flash = NewFlashHost().CreateFlash();
    flash.SetMovie("C:\\Movies\\clip.swf");
    flash.Zoom(0);
    flash.SetScaleMode(0);
    EXPECT_FALSE(flash.Playing()) << "a movie set is not yet played";
    flash.Repaint();
    flash.Play();
    EXPECT_TRUE(flash.Playing());
    flash.Play(); // playing again while it plays is harmless
    EXPECT_TRUE(flash.Playing());
}

TEST_F(FlashControlContract, BoundsAndVisibilityReadBackAsSet) {
    FlashControl& flash = NewFlashHost().CreateFlash();
    flash.SetBounds({0, 0, 550, 400});
    EXPECT_EQ(flash.Bounds(), (Rect{0, 0, 550, 400}));
    flash.SetVisible(false);
    EXPECT_FALSE(flash.Visible());
    flash.SetVisible(true);
    EXPECT_TRUE(flash.Visible());
}
