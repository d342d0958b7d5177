// The forms of MainWindow and RegionFrame, described once as data.
#pragma once

#include <optional>
#include <span>

#include "ui/events.h"
#include "ui/start_up.h"

namespace pigmora {

enum class Kind { Label, Button, EditBox, PictureBox, GroupBox, Slider };
enum class Border { None, SingleLine, Sunken };
enum class Align { Left, Centre };

struct Rect {
    int left, top, width, height;
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct SliderRange {
    int minimum = 1, maximum = 30, position = 16, pageStep = 5, lineStep = 1;
};

struct ControlSpec {
    Control name;
    Kind kind;
    Rect rect;
    Control parent = Control::MainWindow;
    const char* text = "";  // caption or text, UTF-8
    ColorValue textColor = 0;
    ColorValue backColor = DefaultBackground;
    Border border = Border::None;
    Align align = Align::Left;
    Pointer pointer = Pointer::Default;
    std::optional<Asset> picture = std::nullopt;
    int displayMode = 0;
    SliderRange slider = {};
    Events on = {};
    // The control the bound handlers work on, where it is not the control itself (the box a
    // copy button copies).
    std::optional<Control> subject = std::nullopt;
};

struct WindowSpec {
    const char* caption;
    int width, height;  // outer size, frame included
};

inline constexpr WindowSpec kMainWindowSpec{"Pigmora", 626, 396};
inline constexpr WindowSpec kRegionFrameSpec{"", 50, 50};

// Every control of MainWindow, in creation order: an earlier one lies above a later one.
std::span<const ControlSpec> MainWindowControls();
const ControlSpec& SpecOf(Control c);

// Top-level windows open centred on the whole primary screen.
int CentredPosition(int screenExtent, int windowExtent);

// MainWindow's created event: after every control exists, before the window shows.
inline constexpr Handler kMainWindowCreated = InitControlImages;

}  // namespace pigmora
