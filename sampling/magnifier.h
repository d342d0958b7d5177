// The magnifier box: while dragged, the zoom view shows the screen around the pointer enlarged.
#pragma once

#include "ui/events.h"

namespace pigmora {

void BeginMagnifierDrag(Form& form, Desktop& desktop, Control box);
void UpdateMagnifier(Form& form, Desktop& desktop, Control box);
void EndMagnifierDrag(Form& form, Desktop& desktop, Control box);

}  // namespace pigmora
