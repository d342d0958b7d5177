// The end-to-end driver's vocabulary: start Pigmora, move and press like a user, and read what
// the user would see or paste. Runs inside the same Wine desktop as the program.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/handles.h"
#include "ui/controls.h"

namespace e2e {

using pigmora::Control;

enum class PointerInput;  // how the pointer is worked, below

struct Settings {
    std::wstring pigmoraExe;  // the program under test
    std::wstring artifacts;   // screenshots and other leftovers of a run
};
Settings& Config();

// Polls until the condition holds; false when the time is up.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));

// A fresh pigmora.exe for one test: started in the constructor (waits for its window),
// closed and reaped in the destructor.
class Pigmora {
public:
    Pigmora();
    ~Pigmora();
    Pigmora(const Pigmora&) = delete;
    Pigmora& operator=(const Pigmora&) = delete;

    HWND window() const { return window_; }
    HANDLE process() const { return process_.get(); }
    DWORD threadId() const { return threadId_; }
    HWND control(Control c) const;

    RECT ScreenRect(Control c) const;          // outer rectangle on the screen
    RECT ClientRectOnScreen(Control c) const;  // inside the border
    POINT Centre(Control c) const;
    POINT ClientPoint(Control c, int x, int y) const;  // a point of the control's client area
    std::wstring Text(Control c) const;                // window text (captions, boxes)
    std::string Utf8Text(Control c) const;
    bool HasExited(std::chrono::milliseconds wait) const;
    // The program's pointer capture, as its thread holds it (null without one).
    HWND CaptureHolder() const;
    // Presses the left button over a drag source and waits until the source holds the pointer:
    // movements sent before that go to whatever window lies under the pointer.
    bool PressAndHold(Control source);
    bool PressAndHold(Control source, PointerInput via);

private:
    pigmora::win32::unique_kernel_handle process_;
    DWORD threadId_ = 0;
    HWND window_ = nullptr;
};

// --- the pointer and the keyboard, as real input events -----------------------------------
// How the pointer is moved and its buttons pressed. Under Wine the X server's pointer is the
// one that counts: the system takes the pointer's position from it whenever no movement came
// for a tenth of a second, and only a button pressed in the X server holds the pointer for
// the window pressed on (its capture then hears movements over other programs' windows).
// So where xdotool is at hand the pointer is worked in the X server, as a real mouse does;
// elsewhere (Windows) its events are injected.
enum class PointerInput { XServer, Injected };
PointerInput& PointerInputInUse();
// One movement to `to`; returns once the system has the pointer there (under Wine), not
// when a program has handled it.
void SendPointerMove(POINT to);
// A movement to `to`, once more if the pointer does not get there.
void MovePointer(POINT to);
// Moves in small steps, as a hand does: a single long jump right after a press may be lost.
void GlidePointer(POINT to, int steps = 10);
// A button pressed in the X server holds the pointer for the window it went down on, as Wine
// does with a real mouse; an injected one is sent where the pointer is, as Windows does.
void PressLeft();
void ReleaseLeft();
void PressLeft(PointerInput via);
void ReleaseLeft(PointerInput via);
void PressRight();
void ReleaseRight();
void ClickLeft(POINT at);
void PressKey(WORD key);
void ReleaseKey(WORD key);
void TapKey(WORD key);
POINT PointerPosition();
bool PointerAt(POINT to);

// --- what the screen shows ----------------------------------------------------------------
COLORREF ScreenPixel(POINT at);
// Writes <artifacts>/<name>.bmp of the whole screen.
void SaveScreenshot(const std::string& name);
// Cursor shown at the moment, and its size and hotspot.
struct CursorShape {
    HCURSOR handle;
    int width, height, hotX, hotY;
};
CursorShape CurrentCursor();

// --- the clipboard and the registry --------------------------------------------------------
std::optional<std::string> ClipboardText();  // CF_TEXT bytes, without the terminating zero
void PutClipboardText(const std::string& text);

std::string Utf8(const std::wstring& text);
std::wstring Wide(const std::string& utf8);

// --- the driver's command line ------------------------------------------------------------
// Takes --pigmora=, --artifacts= and --log= into Config(); with --log=, standard output and
// errors go to that file (started inside the Wine desktop, a driver has none that reaches the
// shell). Returns the other arguments, in order.
std::vector<std::string> TakeDriverArguments(int argc, char** argv);
// The value of `arg` after `name` ("--frames="), or null when `arg` is another one.
const char* ArgumentValue(const std::string& arg, const char* name);
// Prints the driver's last line, which run_e2e.sh waits for, and returns `code`.
int ReportExit(int code);

}  // namespace e2e
