#include "ui/readout.h"

namespace pigmora {

void UpdateReadout(Form& form, Desktop& desktop) {
    const Rgb pixel = desktop.ReadPixelUnderPointer();
    const ColorValue value = PackColor(pixel.r, pixel.g, pixel.b);
    const ColorTexts texts = RenderColor(value);
    form.SetBackColor(Control::取色_当前色, value);
    form.SetText(Control::取色_10进制, texts.decimal);
    form.SetText(Control::取色_16进制, texts.hexadecimal);
    form.SetText(Control::取色_RGB, texts.rgb);
    form.SetText(Control::取色_HSL, texts.hsl);
    form.SetText(Control::取色_HTML, texts.html);
    form.SetText(Control::取色_VB, texts.vb);
    form.SetText(Control::取色_C, texts.c);
    form.SetText(Control::取色_Delphi, texts.delphi);
}

}  // namespace pigmora
