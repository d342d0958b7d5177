// The saved-colour handlers: what counts as an empty slot, where the mirror goes, who owns the
// full-slots message, and the order of a save's and an emptying's steps.
#include "saved/saved_colours.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>

#include "fake_desktop.h"

namespace pigmora::testing {
namespace {

using ::testing::ElementsAre;
using enum Control;

// Also notes the registry root and the message box's owner, which the plain fake drops.
class RootRecordingDesktop : public FakeDesktop {
  public:
    using FakeDesktop::FakeDesktop;
    std::vector<RegistryRoot> roots;
    std::vector<NativeHandle> owners;

    void RegistryWriteValue(RegistryRoot root, std::string_view path, std::int32_t v) override {
        roots.push_back(root);
        FakeDesktop::RegistryWriteValue(root, path, v);
    }
    void RegistryDeleteValue(RegistryRoot root, std::string_view path) override {
        roots.push_back(root);
        FakeDesktop::RegistryDeleteValue(root, path);
    }
    void ShowMessageBox(NativeHandle owner, std::string_view text, std::string_view caption,
                        unsigned flags) override {
        owners.push_back(owner);
        FakeDesktop::ShowMessageBox(owner, text, caption, flags);
    }
};

class SavedColoursTest : public ::testing::Test {
  protected:
    void SetUp() override {
        form.text[取色_10进制] = "255";
        form.back[取色_当前色] = 255;
    }
    Log log;
    FakeForm form{log};
    RootRecordingDesktop desktop{log};
};

TEST_F(SavedColoursTest, OnlyMinusOneIsAnEmptySlot) {
    // Black, white, the initial background and the extremes all hold a slot.
    for (ColorValue held : {0, 16777215, DefaultBackground, -2, INT_MIN, INT_MAX}) {
        form.back[取色_颜色1] = held;
        form.back[取色_颜色2] = kEmptySlot;
        log.lines.clear();
        SaveCurrentColor(form, desktop, 取色_保存);
        EXPECT_EQ(form.back[取色_颜色1], held) << held;
        EXPECT_EQ(form.back[取色_颜色2], 255) << "slot 2 is the first empty one, after " << held;
    }
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(SavedColoursTest, SaveFillsTheSlotThenMirrorsItUnderTheMachineRoot) {
    ClearSlot(form, desktop, 取色_颜色5);
    log.lines.clear();
    SaveCurrentColor(form, desktop, 取色_保存);
    EXPECT_THAT(log.lines, ElementsAre("back 取色_颜色5 255",
                                       "reg write SOFTWARE\\Quov\\Tallowin\\ColorSave5 255"));
    EXPECT_THAT(desktop.roots, ElementsAre(RegistryRoot::LocalMachine, RegistryRoot::LocalMachine));
}

TEST_F(SavedColoursTest, FullSlotsMessageBelongsToTheMainWindowAndChangesNothing) {
    form.back[取色_对比色] = 65280;
    SaveCurrentColor(form, desktop, 取色_保存);
    EXPECT_THAT(desktop.owners, ElementsAre(desktop.NativeHandleOf(MainWindow)));
    EXPECT_THAT(desktop.messages, ElementsAre(std::string(kSlotsFullText)));
    for (Control slot : kSlots) EXPECT_EQ(form.back[slot], DefaultBackground);
    EXPECT_EQ(form.back[取色_对比色], 65280);
    EXPECT_TRUE(desktop.registry.empty());
}

TEST_F(SavedColoursTest, EmptyingAnEmptySlotStillDeletesItsValue) {
    // A value left by an earlier run, while the slot is already empty in this one.
    desktop.registry["SOFTWARE\\Quov\\Tallowin\\ColorSave2"] = 4711;
    form.back[取色_颜色2] = kEmptySlot;
    form.back[取色_对比色] = 65280;
    ClearSlot(form, desktop, 取色_颜色2);
    EXPECT_THAT(log.lines, ElementsAre("reg delete SOFTWARE\\Quov\\Tallowin\\ColorSave2",
                                       "back 取色_颜色2 -1"));
    EXPECT_THAT(desktop.roots, ElementsAre(RegistryRoot::LocalMachine));
    EXPECT_TRUE(desktop.registry.empty());
    EXPECT_EQ(form.back[取色_对比色], 65280) << "the comparison colour stays";
}

TEST_F(SavedColoursTest, EachSlotHasItsOwnValueName) {
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(SlotRegistryPath(kSlots[i]),
                  "SOFTWARE\\Quov\\Tallowin\\ColorSave" + std::to_string(i + 1));
    EXPECT_TRUE(SlotRegistryPath(取色_当前色).empty()) << "no path for a control that is no slot";
}

}  // namespace
}  // namespace pigmora::testing
