#include "magnifier_driver.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <utility>

#include "readout_view.h"

namespace e2e {

using enum pigmora::Control;

namespace {

HWND FocusOf(const Pigmora& app) {
    GUITHREADINFO info{sizeof(info)};
    GetGUIThreadInfo(app.threadId(), &info);
    return info.hwndFocus;
}

}  // namespace

int SliderPosition(const Pigmora& app) {
    DWORD_PTR position = 0;
    SendMessageTimeoutW(app.control(取色_倍数), TBM_GETPOS, 0, 0, SMTO_BLOCK, 5000, &position);
    return static_cast<int>(position);
}

std::string ZoomCaption(const Pigmora& app) { return app.Utf8Text(取色_倍数标签); }

bool FocusSlider(const Pigmora& app) {
    const HWND slider = app.control(取色_倍数);
    for (int tab = 0; tab < 60; ++tab) {
        // Arrived once the focus stays: a Tab still on its way, or the focus that an
        // activation hands out late, would move it on.
        if (FocusOf(app) == slider &&
            !WaitUntil([&] { return FocusOf(app) != slider; }, std::chrono::milliseconds(300)))
            return true;
        const HWND before = FocusOf(app);
        TapKey(VK_TAB);
        WaitUntil([&] { return FocusOf(app) != before; }, std::chrono::seconds(2));
    }
    return false;
}

bool SliderKey(const Pigmora& app, WORD key, int position) {
    const int before = SliderPosition(app);
    TapKey(key);
    if (WaitUntil([&] { return SliderPosition(app) == position; }, std::chrono::seconds(3)))
        return true;
    // Now and then a key is lost under Wine; once more, if the first one did nothing.
    if (SliderPosition(app) == before) TapKey(key);
    return WaitUntil([&] { return SliderPosition(app) == position; });
}

bool SliderTo(const Pigmora& app, int position) {
    if (!SliderKey(app, VK_HOME, 1)) return false;
    for (int p = 2; p <= position; ++p)
        if (!SliderKey(app, VK_RIGHT, p)) return false;
    return true;
}

namespace {

// The slider's picture once it differs from `before` and has stopped changing.
std::vector<COLORREF> RepaintedFrom(const Pigmora& app, const std::vector<COLORREF>& before) {
    std::vector<COLORREF> now = ClientPixels(app, 取色_倍数);
    WaitUntil([&] { return (now = ClientPixels(app, 取色_倍数)) != before; });
    WaitUntil([&] {
        const std::vector<COLORREF> again = ClientPixels(app, 取色_倍数);
        return std::exchange(now, again) == again;
    });
    return now;
}

}  // namespace

ThumbTrack::ThumbTrack(const Pigmora& app) {
    const RECT client = app.ClientRectOnScreen(取色_倍数);
    const int width = client.right - client.left, height = client.bottom - client.top;
    const std::vector<COLORREF> before = ClientPixels(app, 取色_倍数);
    if (SliderPosition(app) == 1 || !SliderKey(app, VK_HOME, 1)) return;
    const std::vector<COLORREF> atFirst = RepaintedFrom(app, before);
    if (!SliderKey(app, VK_END, 30)) return;
    const std::vector<COLORREF> atLast = RepaintedFrom(app, atFirst);

    std::vector<bool> differs(static_cast<std::size_t>(width), false);
    int top = height, bottom = -1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (atFirst[y * width + x] != atLast[y * width + x]) {
                differs[x] = true;
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    int a0 = 0;
    while (a0 < width && !differs[a0]) ++a0;
    int a1 = a0;
    while (a1 + 1 < width && differs[a1 + 1]) ++a1;
    int b1 = width - 1;
    while (b1 >= 0 && !differs[b1]) --b1;
    int b0 = b1;
    while (b0 - 1 >= 0 && differs[b0 - 1]) --b0;
    if (a0 >= width || b1 <= a1) return;
    first_ = client.left + (a0 + a1) / 2.0;
    last_ = client.left + (b0 + b1) / 2.0;
    y_ = client.top + (top + bottom) / 2;
    ok_ = true;
}

POINT ThumbTrack::Centre(int position) const {
    const double x = first_ + (last_ - first_) * (position - 1) / 29.0;
    return {static_cast<LONG>(std::lround(x)), y_};
}

std::string RegionLine(const Pigmora& app) { return app.Utf8Text(取色_X); }

void HoverBox(const Pigmora& app, Control c) {
    static int calls = 0;
    const int offset = ++calls % 2 == 0 ? -5 : 5;
    const RECT box = app.ScreenRect(c);
    GlidePointer({box.left - 3, (box.top + box.bottom) / 2}, 4);
    const POINT centre = app.Centre(c);
    Approach({centre.x + offset, centre.y + offset}, 3);
}

void WaitForPointerToSettle() {
    HCURSOR shown = CurrentCursor().handle;
    auto since = std::chrono::steady_clock::now();
    WaitUntil(
        [&] {
            const HCURSOR now = CurrentCursor().handle;
            if (now != shown) {
                shown = now;
                since = std::chrono::steady_clock::now();
            }
            return std::chrono::steady_clock::now() - since > std::chrono::milliseconds(400);
        },
        std::chrono::seconds(3));
}

bool PressBox(const Pigmora& app, Control box) {
    PressLeft();
    return WaitUntil([&] { return CaptureOf(app) == app.control(box); });
}

bool ReleaseBox(const Pigmora& app) {
    ReleaseLeft();
    return WaitUntil([&] { return CaptureOf(app) == nullptr; });
}

bool MoveUntil(POINT to, const std::function<bool()>& shown, int steps) {
    Approach(to, steps);
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (WaitUntil([&] { return PointerAt(to) && shown(); }, std::chrono::seconds(2)))
            return true;
        // A movement lost on the way: two more real ones, the last onto `to`.
        MovePointer({to.x + 1, to.y});
        MovePointer(to);
    }
    return false;
}

bool DragUntilLine(const Pigmora& app, POINT to, const std::string& line, int steps) {
    return MoveUntil(
        to, [&] { return RegionLine(app) == line; }, steps);
}

bool DragUntilLineChanges(const Pigmora& app, POINT to, const std::string& before, int steps) {
    return MoveUntil(
        to, [&] { return RegionLine(app) != before; }, steps);
}

HCURSOR PointerShownOver(const Pigmora& app, Control c) {
    const RECT r = app.ScreenRect(c);
    GlidePointer({r.left - 3, (r.top + r.bottom) / 2}, 4);
    WaitUntil([&] { return CurrentCursor().handle != nullptr; });
    const HCURSOR before = CurrentCursor().handle;
    const POINT centre = app.Centre(c);
    Approach(centre, 3);
    // The program may still be catching up with the movements on the way, showing the shapes
    // of the places passed: the answer is a shape that has stopped changing. Under Wine a
    // movement into another window is now and then not delivered at all: two more, the last
    // onto the centre, give the program the pointer again. A control that shows the same shape
    // as its left neighbour costs the full wait.
    HCURSOR shown = CurrentCursor().handle;
    auto since = std::chrono::steady_clock::now();
    const auto deadline = since + std::chrono::seconds(6);
    bool nudged = false;
    while (std::chrono::steady_clock::now() < deadline) {
        const HCURSOR now = CurrentCursor().handle;
        if (now != shown) {
            shown = now;
            since = std::chrono::steady_clock::now();
        }
        const auto steady = std::chrono::steady_clock::now() - since;
        if (shown != before && steady > std::chrono::milliseconds(400)) break;
        if (shown == before && !nudged && steady > std::chrono::seconds(2)) {
            MovePointer({centre.x + 1, centre.y});
            MovePointer(centre);
            nudged = true;
        }
        Sleep(10);
    }
    return CurrentCursor().handle;
}

bool ActivateMainWindow(const Pigmora& app) {
    auto active = [&] {
        GUITHREADINFO info{sizeof(info)};
        GetGUIThreadInfo(app.threadId(), &info);
        return info.hwndActive == app.window() && GetForegroundWindow() == app.window();
    };
    if (active()) return true;
    // Inside the saved-colours group box, left of its first slot: no control of its own.
    const RECT group = app.ScreenRect(取色_分组框);
    Approach({group.left + 8, group.top + 40}, 6);
    PressLeft();
    ReleaseLeft();
    return WaitUntil(active);
}

std::vector<HWND> RegionFrames(const Pigmora& app) {
    struct Search {
        DWORD process;
        std::vector<HWND> found;
    } search{GetProcessId(app.process()), {}};
    EnumWindows(
        [](HWND window, LPARAM l) -> BOOL {
            auto* s = reinterpret_cast<Search*>(l);
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            wchar_t name[64] = {};
            GetClassNameW(window, name, 64);
            if (process == s->process && std::wstring(name) == L"PigmoraRegionFrame")
                s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<COLORREF> ZoomViewPixels(const Pigmora& app) { return ClientPixels(app, 取色_放大); }

COLORREF ZoomViewPixel(const Pigmora& app, int x, int y) {
    return ScreenPixel(app.ClientPoint(取色_放大, x, y));
}

std::string Hex(COLORREF colour) {
    char text[16];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(colour), GetGValue(colour),
                  GetBValue(colour));
    return text;
}

}  // namespace e2e
