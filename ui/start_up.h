#pragma once

#include "ui/events.h"

namespace pigmora {

// The created event of MainWindow: dresses the drag sources with their pointers and pictures.
void InitControlImages(Form& form, Desktop& desktop, Control window);

}  // namespace pigmora
