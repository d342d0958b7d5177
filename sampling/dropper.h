// The dropper box and the colour block: sampling the screen while the left button is held.
#pragma once

#include "ui/events.h"

namespace pigmora {

// The colour under the pointer when the last dropper drag ended; the next drag shows it as
// the comparison colour. Starts black on every run.
extern ColorValue LastPickedColor;

void BeginDropperDrag(Form& form, Desktop& desktop, Control box);
void TrackDropper(Form& form, Desktop& desktop, Control box);
void EndDropperDrag(Form& form, Desktop& desktop, Control box);

void BeginBlockSampling(Form& form, Desktop& desktop, Control block);
void TrackBlock(Form& form, Desktop& desktop, Control block);
void EndBlockSampling(Form& form, Desktop& desktop, Control block);

}  // namespace pigmora
