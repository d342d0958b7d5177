#include "ui/form_table.h"

#include <algorithm>
#include <array>

#include "sampling/dropper.h"
#include "sampling/magnifier.h"
#include "sampling/zoom_factor.h"
#include "saved/saved_colours.h"
#include "ui/copy_buttons.h"

namespace pigmora {

namespace {

using enum Control;

constexpr ColorValue kWhite = 16777215;
constexpr ColorValue kBoxText = 0 + 96 * 256 + 192 * 65536;     // (0, 96, 192)
constexpr ColorValue kZoomGround = 248 + 246 * 256 + 246 * 65536;  // (248, 246, 246)
constexpr ColorValue kLinkBlue = 0 + 136 * 256 + 255 * 65536;    // (0, 136, 255)

constexpr Events kSlotEvents{.leftUp = UseSlotAsComparison, .rightUp = ClearSlot};

constexpr ControlSpec Slot(Control name, int left) {
    return {.name = name, .kind = Kind::PictureBox, .rect = {left, 21, 34, 34},
            .parent = 取色_分组框, .border = Border::SingleLine, .pointer = Pointer::SystemCross,
            .on = kSlotEvents};
}

// One rendering row: caption label, edit box and the copy button that copies that box.
constexpr ControlSpec RowCaption(Control name, const char* caption, int y) {
    return {.name = name, .kind = Kind::Label, .rect = {105, y + 4, 48, 11}, .text = caption};
}
constexpr ControlSpec RowBox(Control name, int y) {
    return {.name = name, .kind = Kind::EditBox, .rect = {155, y, 110, 20},
            .textColor = kBoxText, .backColor = kWhite, .border = Border::Sunken};
}
constexpr ControlSpec RowButton(Control name, Control box, int y) {
    return {.name = name, .kind = Kind::Button, .rect = {272, y, 35, 20}, .text = "复制",
            .pointer = Pointer::SystemHand, .on = {.clicked = CopyBoxText}, .subject = box};
}

constexpr Events kDropperEvents{
    .leftDown = BeginDropperDrag, .leftUp = EndDropperDrag, .mouseMove = TrackDropper};
constexpr Events kBlockEvents{
    .leftDown = BeginBlockSampling, .leftUp = EndBlockSampling, .mouseMove = TrackBlock};
constexpr Events kMagnifierEvents{
    .leftDown = BeginMagnifierDrag, .leftUp = EndMagnifierDrag, .mouseMove = UpdateMagnifier};

constexpr std::array kControls = {
    ControlSpec{.name = 取色_分组框, .kind = Kind::GroupBox, .rect = {9, 6, 290, 69},
                .text = "保存的颜色(左键单击作为对比色,右键单击删除)"},
    Slot(取色_颜色1, 28),
    Slot(取色_颜色2, 76),
    Slot(取色_颜色3, 125),
    Slot(取色_颜色4, 174),
    Slot(取色_颜色5, 224),
    ControlSpec{.name = 取色_保存, .kind = Kind::Button, .rect = {312, 15, 90, 24},
                .text = "← 保存当前色", .pointer = Pointer::SystemHand,
                .on = {.clicked = SaveCurrentColor}},
    ControlSpec{.name = 取色_倍数标签, .kind = Kind::Label, .rect = {458, 8, 100, 14},
                .text = "放大倍数:6", .align = Align::Centre},
    ControlSpec{.name = 取色_倍数, .kind = Kind::Slider, .rect = {413, 24, 194, 18},
                .pointer = Pointer::SystemHand, .on = {.positionChanged = ShowZoomFactor}},
    ControlSpec{.name = 取色_光标, .kind = Kind::PictureBox, .rect = {9, 85, 32, 32},
                .backColor = kWhite, .pointer = Pointer::HandCursor,
                .picture = Asset::DropperBoxImage, .displayMode = 2, .on = kDropperEvents},
    ControlSpec{.name = 取色_放大镜, .kind = Kind::PictureBox, .rect = {57, 85, 32, 32},
                .backColor = kWhite, .pointer = Pointer::SystemHand,
                .picture = Asset::MagnifierBoxImage, .displayMode = 2, .on = kMagnifierEvents},
    ControlSpec{.name = 取色_标签25, .kind = Kind::Label, .rect = {106, 76, 191, 15},
                .text = "当前色                   对比色"},
    ControlSpec{.name = 取色_当前色, .kind = Kind::Label, .rect = {105, 93, 97, 31},
                .backColor = kWhite, .border = Border::SingleLine},
    ControlSpec{.name = 取色_对比色, .kind = Kind::Label, .rect = {201, 93, 97, 31},
                .backColor = kWhite, .border = Border::SingleLine},
    ControlSpec{.name = 取色_色块, .kind = Kind::PictureBox, .rect = {9, 130, 80, 200},
                .pointer = Pointer::HandCursor, .picture = Asset::ColorBlockImage,
                .on = kBlockEvents},
    ControlSpec{.name = 取色_X, .kind = Kind::Label, .rect = {10, 343, 298, 12},
                .text = "Pigmora 8.8.8.8 · 精确选取颜色值 · 按住方框拖到屏幕任意处"},
    ControlSpec{.name = 取色_放大, .kind = Kind::PictureBox, .rect = {312, 45, 300, 315},
                .backColor = kZoomGround, .border = Border::SingleLine,
                .picture = Asset::HelpImage},
    ControlSpec{.name = 标签1, .kind = Kind::Label, .rect = {244, 289, 48, 24}, .parent = 取色_放大,
                .text = "赞助作者", .textColor = kLinkBlue, .pointer = Pointer::SystemHand,
                .on = {.leftDown = OpenDonationPage, .rightDown = OpenDonationPage}},
    RowCaption(取色_标签29, "HTML:", 133),
    RowBox(取色_HTML, 133),
    RowButton(取色_按钮5, 取色_HTML, 133),
    RowCaption(取色_标签26, "10进制:", 158),
    RowBox(取色_10进制, 158),
    RowButton(取色_按钮1, 取色_10进制, 158),
    RowCaption(取色_标签27, "16进制:", 184),
    RowBox(取色_16进制, 184),
    RowButton(取色_按钮2, 取色_16进制, 184),
    RowCaption(取色_标签28, "RGB:", 209),
    RowBox(取色_RGB, 209),
    RowButton(取色_按钮3, 取色_RGB, 209),
    RowCaption(取色_标签57, "HSL:", 235),
    RowBox(取色_HSL, 235),
    RowButton(取色_按钮4, 取色_HSL, 235),
    RowCaption(取色_标签30, "VB:", 263),
    RowBox(取色_VB, 263),
    RowButton(取色_按钮6, 取色_VB, 263),
    RowCaption(取色_标签31, "C/C++:", 289),
    RowBox(取色_C, 289),
    RowButton(取色_按钮7, 取色_C, 289),
    RowCaption(取色_标签32, "Delphi:", 315),
    RowBox(取色_Delphi, 315),
    RowButton(取色_按钮8, 取色_Delphi, 315),
};

static_assert(kControls.size() == static_cast<std::size_t>(MainWindow), "one row per control");

}  // namespace

std::span<const ControlSpec> MainWindowControls() { return kControls; }

const ControlSpec& SpecOf(Control c) {
    // Rows are in Control order, so the enum value is the row's index.
    return kControls[static_cast<std::size_t>(c)];
}

int CentredPosition(int screenExtent, int windowExtent) { return (screenExtent - windowExtent) / 2; }

}  // namespace pigmora
