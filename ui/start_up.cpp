#include "ui/start_up.h"

namespace pigmora {

void InitControlImages(Form& form, Desktop&, Control) {
    form.SetPointer(Control::取色_光标, Pointer::HandCursor);
    form.SetPointer(Control::取色_色块, Pointer::HandCursor);
    form.SetPicture(Control::取色_光标, Asset::DropperBoxImage);
    form.SetPicture(Control::取色_放大镜, Asset::MagnifierBoxImage);
}

}  // namespace pigmora
