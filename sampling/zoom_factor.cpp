#include "sampling/zoom_factor.h"

#include "sampling/zoom.h"

namespace pigmora {

void ShowZoomFactor(Form& form, Desktop&, Control slider) {
    form.SetCaption(Control::取色_倍数标签, ZoomCaption(form.SliderPosition(slider)));
}

}  // namespace pigmora
