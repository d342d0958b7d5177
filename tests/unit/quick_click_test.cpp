// A click on a drag box so quick that its release is handled inside the press handler's pump:
// the drag is over when the pump returns, so nothing may keep the pointer captured.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fake_desktop.h"
#include "sampling/dropper.h"
#include "sampling/magnifier.h"

namespace pigmora::testing {
namespace {

using enum Control;

struct DragBox {
    const char* name;
    Control box;
    void (*begin)(Form&, Desktop&, Control);
    void (*end)(Form&, Desktop&, Control);
    const char* idlePicture;
};
const DragBox kBoxes[] = {
    {"dropper", 取色_光标, BeginDropperDrag, EndDropperDrag, "DropperBoxImage"},
    {"magnifier", 取色_放大镜, BeginMagnifierDrag, EndMagnifierDrag, "MagnifierBoxImage"},
};

TEST(QuickClickTest, ReleaseInsideThePumpLeavesNoCapture) {
    for (const DragBox& row : kBoxes) {
        LastPickedColor = 0;
        Log log;
        FakeForm form{log};
        FakeDesktop desktop{log};
        desktop.pixel = {0, 0, 255};
        desktop.queued.push_back([&] { row.end(form, desktop, row.box); });
        row.begin(form, desktop, row.box);

        EXPECT_EQ(log.Count("capture "), 0)
            << row.name << ": a capture after the release would hold the pointer with no "
            << "button down";
        EXPECT_FALSE(form.animation[row.box]) << row.name;
        EXPECT_EQ(form.picture[row.box], row.idlePicture) << row.name;
    }
}

TEST(QuickClickTest, PressWithoutNestedReleaseStillCaptures) {
    for (const DragBox& row : kBoxes) {
        Log log;
        FakeForm form{log};
        FakeDesktop desktop{log};
        row.begin(form, desktop, row.box);
        EXPECT_EQ(log.Count("capture "), 1) << row.name;
    }
}

// The dropper's release still stores its colour, and the comparison is still written last.
TEST(QuickClickTest, DropperReleaseInsideThePumpStillStoresItsColour) {
    LastPickedColor = 0;
    Log log;
    FakeForm form{log};
    FakeDesktop desktop{log};
    desktop.pixel = {0, 0, 255};
    desktop.queued.push_back([&] { EndDropperDrag(form, desktop, 取色_光标); });
    BeginDropperDrag(form, desktop, 取色_光标);
    EXPECT_EQ(LastPickedColor, 16711680);
    EXPECT_EQ(log.lines.back(), "back 取色_对比色 16711680");
}

}  // namespace
}  // namespace pigmora::testing
