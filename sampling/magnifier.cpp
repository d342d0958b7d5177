#include "sampling/magnifier.h"

#include "sampling/zoom.h"

namespace pigmora {

namespace {

constexpr Control kZoomView = Control::取色_放大;
constexpr Control kSlider = Control::取色_倍数;

double CurrentFactor(Form& form) { return ComputeZoomFactor(form.SliderPosition(kSlider)); }

}  // namespace

void BeginMagnifierDrag(Form& form, Desktop& desktop, Control box) {
    form.SetPicture(box, Asset::EmptyBoxImage);
    form.SetPlayAnimation(box, true);
    form.SetPointer(box, Pointer::MagnifierCursor);
    desktop.PumpPendingEvents();
    form.SetPicture(kZoomView, std::vector<std::uint8_t>{});
    form.SetDisplayMode(kZoomView, 1);
    // As with the dropper: a quick click's release may already have been handled in the pump,
    // and a capture now would hold the pointer with no button down.
    if (form.PlayAnimation(box)) desktop.CapturePointer(desktop.NativeHandleOf(box));
    desktop.LoadWindow(Control::RegionFrame, 0, false);
}

// The pumps may run nested movements and even the release; each run still finishes its own
// steps, unless the region window went away meanwhile (Esc closes it), leaving nothing to read.
void UpdateMagnifier(Form& form, Desktop& desktop, Control box) {
    constexpr Control frame = Control::RegionFrame;
    if (!form.PlayAnimation(box) || !desktop.IsWindowLoaded(frame)) return;

    form.SetWidth(frame, RegionExtent(form.Width(kZoomView), CurrentFactor(form)));
    form.SetHeight(frame, RegionExtent(form.Height(kZoomView), CurrentFactor(form)));
    // Centring uses the size the window really got: the window system may adjust it.
    form.SetLeft(frame, CentredOrigin(desktop.GetPointerX(), form.Width(frame)));
    form.SetTop(frame, CentredOrigin(desktop.GetPointerY(), form.Height(frame)));

    desktop.PumpPendingEvents();
    if (!desktop.IsWindowLoaded(frame)) return;
    form.SetPicture(kZoomView, desktop.SnapshotWindow(desktop.NativeHandleOf(frame)));

    desktop.PumpPendingEvents();
    if (!desktop.IsWindowLoaded(frame)) return;
    form.SetCaption(Control::取色_X, RegionLine(form.Left(frame), form.Top(frame),
                                                 form.Width(frame), form.Height(frame)));
}

void EndMagnifierDrag(Form& form, Desktop& desktop, Control box) {
    form.SetPlayAnimation(box, false);
    desktop.ReleasePointer();
    form.SetPointer(box, Pointer::HandCursor);
    form.SetPicture(box, Asset::MagnifierBoxImage);
}

}  // namespace pigmora
