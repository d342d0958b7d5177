// The names of the program's windows and controls, and the pictures and pointers they can take.
#pragma once

#include <string_view>

namespace pigmora {

// Every control of MainWindow in form order (the order they are created), then the two windows.
enum class Control {
    取色_分组框,
    取色_颜色1,
    取色_颜色2,
    取色_颜色3,
    取色_颜色4,
    取色_颜色5,
    取色_保存,
    取色_倍数标签,
    取色_倍数,
    取色_光标,
    取色_放大镜,
    取色_标签25,
    取色_当前色,
    取色_对比色,
    取色_色块,
    取色_X,
    取色_放大,
    标签1,
    取色_标签29,
    取色_HTML,
    取色_按钮5,
    取色_标签26,
    取色_10进制,
    取色_按钮1,
    取色_标签27,
    取色_16进制,
    取色_按钮2,
    取色_标签28,
    取色_RGB,
    取色_按钮3,
    取色_标签57,
    取色_HSL,
    取色_按钮4,
    取色_标签30,
    取色_VB,
    取色_按钮6,
    取色_标签31,
    取色_C,
    取色_按钮7,
    取色_标签32,
    取色_Delphi,
    取色_按钮8,
    MainWindow,
    RegionFrame,
};
inline constexpr int kControlCount = static_cast<int>(Control::RegionFrame) + 1;

// The control's form name, for messages and logs.
std::string_view ControlName(Control c);

// The images embedded in the executable that a picture box can show.
enum class Asset {
    DropperBoxImage,
    EmptyBoxImage,
    MagnifierBoxImage,
    ColorBlockImage,
    HelpImage,
};

// Mouse pointers: the program's own cursor files and the system's standard shapes.
enum class Pointer {
    Default,  // the control's own shape (arrow, or the I-beam of an edit box)
    SystemHand,
    SystemCross,
    HandCursor,
    DropperCursor,
    MagnifierCursor,
};

}  // namespace pigmora
