#pragma once

#include "platform/desktop.h"
#include "ui/form.h"

namespace pigmora {

// Reads the pixel under the pointer and writes the current swatch and the eight boxes.
void UpdateReadout(Form& form, Desktop& desktop);

// The eight rendering boxes, in the order the readout writes them.
inline constexpr Control kReadoutBoxes[] = {
    Control::取色_10进制, Control::取色_16进制, Control::取色_RGB, Control::取色_HSL,
    Control::取色_HTML,   Control::取色_VB,    Control::取色_C,   Control::取色_Delphi,
};

}  // namespace pigmora
