#pragma once

#include "ui/events.h"

namespace pigmora {

// The slider's position-changed event: shows the factor of the new position in its label.
void ShowZoomFactor(Form& form, Desktop& desktop, Control slider);

}  // namespace pigmora
