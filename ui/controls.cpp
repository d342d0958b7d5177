#include "ui/controls.h"

#include <array>

namespace pigmora {

std::string_view ControlName(Control c) {
    static constexpr std::array<std::string_view, kControlCount> kNames = {
        "取色_分组框",
        "取色_颜色1",
        "取色_颜色2",
        "取色_颜色3",
        "取色_颜色4",
        "取色_颜色5",
        "取色_保存",
        "取色_倍数标签",
        "取色_倍数",
        "取色_光标",
        "取色_放大镜",
        "取色_标签25",
        "取色_当前色",
        "取色_对比色",
        "取色_色块",
        "取色_X",
        "取色_放大",
        "标签1",
        "取色_标签29",
        "取色_HTML",
        "取色_按钮5",
        "取色_标签26",
        "取色_10进制",
        "取色_按钮1",
        "取色_标签27",
        "取色_16进制",
        "取色_按钮2",
        "取色_标签28",
        "取色_RGB",
        "取色_按钮3",
        "取色_标签57",
        "取色_HSL",
        "取色_按钮4",
        "取色_标签30",
        "取色_VB",
        "取色_按钮6",
        "取色_标签31",
        "取色_C",
        "取色_按钮7",
        "取色_标签32",
        "取色_Delphi",
        "取色_按钮8",
        "MainWindow",
        "RegionFrame",
    };
    const auto index = static_cast<std::size_t>(c);
    return index < kNames.size() ? kNames[index] : "?";
}

}  // namespace pigmora
