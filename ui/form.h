// Property access: the only way the handlers reach what the windows show.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "colour/colour.h"
#include "ui/controls.h"

namespace pigmora {

// Properties of named controls. Writing a property that changes what a control shows asks
// for a repaint; the repaint itself happens when pending events next run.
class Form {
public:
    virtual ~Form() = default;

    // Background colour: reads back exactly what was written (DefaultBackground and -1 too).
    virtual ColorValue BackColor(Control c) = 0;
    virtual void SetBackColor(Control c, ColorValue value) = 0;

    // Label captions, in UTF-8.
    virtual void SetCaption(Control c, std::string_view utf8) = 0;

    // Edit box text, as bytes of the system's ANSI code page.
    virtual std::string Text(Control c) = 0;
    virtual void SetText(Control c, std::string_view ansi) = 0;

    // Picture boxes. An empty file removes the picture and leaves the background.
    virtual void SetPicture(Control c, Asset image) = 0;
    virtual void SetPicture(Control c, std::vector<std::uint8_t> file) = 0;
    virtual void SetDisplayMode(Control c, int mode) = 0;
    virtual bool PlayAnimation(Control c) = 0;
    virtual void SetPlayAnimation(Control c, bool on) = 0;

    // Shows at once when the pointer is over the control.
    virtual void SetPointer(Control c, Pointer pointer) = 0;

    virtual int SliderPosition(Control c) = 0;

    // Outer rectangle: left and top in the parent's client coordinates, or on the screen for
    // a top-level window. Reading gives what the window really has now.
    virtual int Left(Control c) = 0;
    virtual int Top(Control c) = 0;
    virtual int Width(Control c) = 0;
    virtual int Height(Control c) = 0;
    virtual void SetLeft(Control c, int value) = 0;
    virtual void SetTop(Control c, int value) = 0;
    virtual void SetWidth(Control c, int value) = 0;
    virtual void SetHeight(Control c, int value) = 0;
};

}  // namespace pigmora
