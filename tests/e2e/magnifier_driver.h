// The slider and the magnifier as a user works them: keys and clicks on the slider, drags of
// the magnifier box, and what the zoom view and the region line then show.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "harness.h"

namespace e2e {

// --- the slider ---------------------------------------------------------------------------
int SliderPosition(const Pigmora& app);
std::string ZoomCaption(const Pigmora& app);  // the label above the slider
// Gives the slider the keyboard focus the way a user does, with Tab from the window's first
// focused control. False when the focus never gets there.
bool FocusSlider(const Pigmora& app);
// Presses a key on the focused slider and waits until it stands at `position`.
bool SliderKey(const Pigmora& app, WORD key, int position);
// Brings the focused slider to `position` with Home and arrow keys.
bool SliderTo(const Pigmora& app, int position);

// Where the slider's thumb stands for each position, found by looking at the slider: the
// columns that change between the two ends are the thumb's at either end. Leaves the slider
// at its maximum. Needs the focus on the slider, and the slider away from its minimum.
class ThumbTrack {
public:
    explicit ThumbTrack(const Pigmora& app);
    bool ok() const { return ok_; }
    POINT Centre(int position) const;  // screen coordinates

private:
    double first_ = 0, last_ = 0;  // thumb centre columns at the minimum and the maximum
    int y_ = 0;
    bool ok_ = false;
};

// --- the magnifier ------------------------------------------------------------------------
std::string RegionLine(const Pigmora& app);

// Puts the pointer on a drag source (the magnifier box unless told), coming from its left as a
// hand would. Successive calls pick points a few pixels apart, so that two drags in quick
// succession do not make a double click, which starts no drag.
void HoverBox(const Pigmora& app, Control box = Control::取色_放大镜);
// Waits until the pointer's shape has stopped changing, a sign that the program has caught up
// with the movements made so far (under Wine one can arrive late).
void WaitForPointerToSettle();
// Presses where the pointer is and waits until the box holds the pointer capture, which it
// takes at the end of its press handler. False when it never does.
bool PressBox(const Pigmora& app, Control box = Control::取色_放大镜);
// Releases the button and waits until no window of the program holds the capture.
bool ReleaseBox(const Pigmora& app);
// Glides to `to` in steps and waits until `shown()` holds with the pointer there. Under Wine a
// movement is now and then not delivered; the pointer is then moved off and back.
bool MoveUntil(POINT to, const std::function<bool()>& shown, int steps = 10);
// MoveUntil for the region line reading `line`, or for any change of it from `before`.
bool DragUntilLine(const Pigmora& app, POINT to, const std::string& line, int steps = 10);
bool DragUntilLineChanges(const Pigmora& app, POINT to, const std::string& before, int steps = 10);

// The pointer shape shown over a control, approached from just left of it as in the window
// tests; under Wine only shapes shown by one process can be compared, by handle.
HCURSOR PointerShownOver(const Pigmora& app, Control c);
// Makes MainWindow the active window again with a click on a bare spot of it (the second
// press on the magnifier box makes the hidden RegionFrame active).
bool ActivateMainWindow(const Pigmora& app);
// The program's RegionFrame windows (hidden top-level windows of its process).
std::vector<HWND> RegionFrames(const Pigmora& app);

// The zoom view's client area, pixel by pixel, row by row.
std::vector<COLORREF> ZoomViewPixels(const Pigmora& app);
COLORREF ZoomViewPixel(const Pigmora& app, int x, int y);

std::string Hex(COLORREF colour);  // "#RRGGBB", for messages

}  // namespace e2e
