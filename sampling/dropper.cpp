#include "sampling/dropper.h"

#include "ui/readout.h"

namespace pigmora {

ColorValue LastPickedColor = 0;

// The tracking flag lives in the box's play-animation property, which has no visible effect
// on its still pictures.
void BeginDropperDrag(Form& form, Desktop& desktop, Control box) {
    form.SetPicture(box, Asset::EmptyBoxImage);
    form.SetPlayAnimation(box, true);
    form.SetPointer(box, Pointer::DropperCursor);
    // The box repaints empty and the new pointer takes effect before the capture freezes it;
    // a movement already queued samples here, the flag being set.
    desktop.PumpPendingEvents();
    // A quick click's release may have been handled inside the pump already; a capture taken
    // now would hold the pointer with no button down and swallow the next click elsewhere.
    if (form.PlayAnimation(box)) desktop.CapturePointer(desktop.NativeHandleOf(box));
    form.SetBackColor(Control::取色_对比色, LastPickedColor);
}

void TrackDropper(Form& form, Desktop& desktop, Control box) {
    if (form.PlayAnimation(box)) UpdateReadout(form, desktop);
}

void EndDropperDrag(Form& form, Desktop& desktop, Control box) {
    form.SetPlayAnimation(box, false);
    desktop.ReleasePointer();
    form.SetPointer(box, Pointer::HandCursor);
    form.SetPicture(box, Asset::DropperBoxImage);
    const Rgb picked = desktop.ReadPixelUnderPointer();
    LastPickedColor = PackColor(picked.r, picked.g, picked.b);
}

void BeginBlockSampling(Form& form, Desktop& desktop, Control block) {
    form.SetPlayAnimation(block, true);
    UpdateReadout(form, desktop);
}

// Without a capture the block only hears movements over itself, so leaving it stops sampling.
void TrackBlock(Form& form, Desktop& desktop, Control block) {
    if (form.PlayAnimation(block)) UpdateReadout(form, desktop);
}

void EndBlockSampling(Form& form, Desktop&, Control block) { form.SetPlayAnimation(block, false); }

}  // namespace pigmora
