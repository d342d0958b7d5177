// What the readout shows, as the user sees it: the eight boxes, the swatches, the dropper box's
// picture; and the moves a user makes to sample with the dropper.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "colour/colour.h"
#include "harness.h"

namespace e2e {

// The eight boxes, read back from their windows.
pigmora::ColorTexts ShownTexts(const Pigmora& app);
// The eight renderings of a screen colour, from the program's colour model (tested on its own).
pigmora::ColorTexts TextsOf(COLORREF colour);
std::string Describe(const pigmora::ColorTexts& texts);

// Waits until all eight boxes show `expected`; false when they never do.
bool WaitForTexts(const Pigmora& app, const pigmora::ColorTexts& expected);
// Whether the swatch shows `colour` over its whole inside, now; and waiting for it.
bool SwatchShows(const Pigmora& app, Control swatch, COLORREF colour);
bool WaitForSwatch(const Pigmora& app, Control swatch, COLORREF colour);

// The pixels of a screen rectangle, row by row, read in one go.
std::vector<COLORREF> ScreenArea(RECT area);
std::vector<COLORREF> ClientPixels(const Pigmora& app, Control c);

// Glides the pointer to `to` in steps, the last of them a single pixel: should a movement
// come late, the place it reports lies next to `to`, in the same block of colour.
void Approach(POINT to, int steps = 6);
// A left click at `at`, approached so that it lands there.
void ClickAt(POINT at);
// Approaches `to` and waits until the pointer rests there and `shown()` holds; a pointer pulled
// back is moved again, and a program that goes on showing the place before gets one more real
// movement (Wine now and then drops a movement into another window). False when `shown()`
// never held at `to`.
bool GlideAndWait(POINT to, const std::function<bool()>& shown, int steps = 6);

// Like SaveScreenshot, with a ring drawn into the picture around the pointer (a screen capture
// leaves the pointer out), so that a reader can see which pixel was under it.
void SaveScreenshotMarkingPointer(const std::string& name);

// Puts the pointer on the dropper box, coming from its left as a hand would, and waits until
// the box's own pointer shows there. Successive calls pick points a few pixels apart, so
// that two drags in quick succession do not make a double click.
void HoverDropperBox(const Pigmora& app);
// Presses where the pointer is and waits until the dropper box holds the pointer capture,
// which it takes at the end of its press handler. False when it never does.
bool BeginDrag(const Pigmora& app);
HWND CaptureOf(const Pigmora& app);

// Clicks a copy button, with the clipboard holding `before`, and returns the clipboard's text
// once the program has changed it (or `before` when it never does). The clipboard is watched
// through its sequence number, not opened, so the program never finds it held by the driver.
std::optional<std::string> CopyWith(const Pigmora& app, Control button,
                                    const std::string& before = "(not copied)");
// The HTML row's copy. The program handles input in order, so this also tells what the readout
// held once every input before the click had been handled.
std::string CopiedHtml(const Pigmora& app);

}  // namespace e2e
