// A click on the dropper box so quick that its release is handled inside the press handler's
// pump: the drag is over when the pump returns, so nothing may keep the pointer captured.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fake_desktop.h"
#include "sampling/dropper.h"

namespace pigmora::testing {
namespace {

using enum Control;

TEST(DropperQuickClickTest, ReleaseInsideThePumpLeavesNoCapture) {
    LastPickedColor = 0;
    Log log;
    FakeForm form{log};
    FakeDesktop desktop{log};
    desktop.pixel = {0, 0, 255};
    desktop.queued.push_back([&] { EndDropperDrag(form, desktop, 取色_光标); });
    BeginDropperDrag(form, desktop, 取色_光标);

    EXPECT_EQ(log.Count("capture "), 0)
        << "a capture after the release would hold the pointer with no button down";
    EXPECT_FALSE(form.animation[取色_光标]);
    EXPECT_EQ(form.picture[取色_光标], "DropperBoxImage");
    EXPECT_EQ(LastPickedColor, 16711680) << "the release still stored its colour";
    EXPECT_EQ(log.lines.back(), "back 取色_对比色 16711680")
        << "the comparison is still written last, now with that colour";
}

TEST(DropperQuickClickTest, PressWithoutNestedReleaseStillCaptures) {
    LastPickedColor = 0;
    Log log;
    FakeForm form{log};
    FakeDesktop desktop{log};
    BeginDropperDrag(form, desktop, 取色_光标);
    EXPECT_EQ(log.Count("capture "), 1);
}

}  // namespace
}  // namespace pigmora::testing
