#include "readout_view.h"

#include <array>
#include <sstream>

#include "platform/bmp_file.h"
#include "platform/win32/handles.h"

namespace e2e {

using enum pigmora::Control;

pigmora::ColorTexts ShownTexts(const Pigmora& app) {
    return {app.Utf8Text(取色_10进制), app.Utf8Text(取色_16进制), app.Utf8Text(取色_RGB),
            app.Utf8Text(取色_HSL),    app.Utf8Text(取色_HTML),   app.Utf8Text(取色_VB),
            app.Utf8Text(取色_C),      app.Utf8Text(取色_Delphi)};
}

pigmora::ColorTexts TextsOf(COLORREF colour) {
    return pigmora::RenderColor(
        pigmora::PackColor(GetRValue(colour), GetGValue(colour), GetBValue(colour)));
}

std::string Describe(const pigmora::ColorTexts& t) {
    std::ostringstream out;
    out << "[" << t.decimal << " | " << t.hexadecimal << " | " << t.rgb << " | " << t.hsl << " | "
        << t.html << " | " << t.vb << " | " << t.c << " | " << t.delphi << "]";
    return out.str();
}

bool WaitForTexts(const Pigmora& app, const pigmora::ColorTexts& expected) {
    return WaitUntil([&] { return ShownTexts(app) == expected; });
}

bool SwatchShows(const Pigmora& app, Control swatch, COLORREF colour) {
    const std::vector<COLORREF> pixels = ClientPixels(app, swatch);
    for (COLORREF pixel : pixels)
        if (pixel != colour) return false;
    return !pixels.empty();
}

bool WaitForSwatch(const Pigmora& app, Control swatch, COLORREF colour) {
    return WaitUntil([&] { return SwatchShows(app, swatch, colour); });
}

std::vector<COLORREF> ScreenArea(RECT area) {
    using namespace pigmora::win32;
    const int w = area.right - area.left, h = area.bottom - area.top;
    if (w <= 0 || h <= 0) return {};
    WindowDc screen(nullptr);
    unique_hdc memory(CreateCompatibleDC(screen.get()));
    unique_hbitmap bitmap(CreateCompatibleBitmap(screen.get(), w, h));
    {
        Selection selected(memory.get(), bitmap.get());
        BitBlt(memory.get(), 0, 0, w, h, screen.get(), area.left, area.top, SRCCOPY);
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    std::vector<RGBQUAD> quads(static_cast<std::size_t>(w) * h);
    GetDIBits(memory.get(), bitmap.get(), 0, h, quads.data(), &info, DIB_RGB_COLORS);
    std::vector<COLORREF> pixels;
    pixels.reserve(quads.size());
    for (const RGBQUAD& q : quads) pixels.push_back(RGB(q.rgbRed, q.rgbGreen, q.rgbBlue));
    return pixels;
}

std::vector<COLORREF> ClientPixels(const Pigmora& app, Control c) {
    return ScreenArea(app.ClientRectOnScreen(c));
}

namespace {

// The pixel next to `to` on the side the pointer comes from.
POINT NextTo(POINT to, POINT from) {
    if (from.x != to.x) return {to.x + (from.x < to.x ? -1 : 1), to.y};
    if (from.y != to.y) return {to.x, to.y + (from.y < to.y ? -1 : 1)};
    return {to.x - 1, to.y};
}

}  // namespace

void Approach(POINT to, int steps) {
    const POINT nextTo = NextTo(to, PointerPosition());
    if (steps > 1) GlidePointer(nextTo, steps - 1);
    MovePointer(to);
}

void ClickAt(POINT at) {
    Approach(at, 6);
    PressLeft();
    ReleaseLeft();
}

bool GlideAndWait(POINT to, const std::function<bool()>& shown, int steps) {
    const POINT nextTo = NextTo(to, PointerPosition());
    Approach(to, steps);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        if (!PointerAt(to)) MovePointer(to);
        if (WaitUntil([&] { return PointerAt(to) && shown(); }, std::chrono::milliseconds(400)))
            return true;
        // Under Wine a movement into another window is now and then never delivered, and the
        // program goes on showing the place before. Two more real movements, the last onto
        // `to`, give it the pointer's position again.
        MovePointer(nextTo);
        MovePointer(to);
    }
    return false;
}

void SaveScreenshotMarkingPointer(const std::string& name) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    std::vector<COLORREF> screen = ScreenArea({0, 0, w, h});
    if (screen.size() != static_cast<std::size_t>(w) * h) return;
    const POINT at = PointerPosition();
    // Black and white arcs in turn, visible on any ground; the pixel itself stays as it is.
    for (int y = at.y - 12; y <= at.y + 12; ++y)
        for (int x = at.x - 12; x <= at.x + 12; ++x) {
            const int d2 = (x - at.x) * (x - at.x) + (y - at.y) * (y - at.y);
            if (d2 < 8 * 8 || d2 > 11 * 11 || x < 0 || y < 0 || x >= w || y >= h) continue;
            const bool dark = ((x - at.x) ^ (y - at.y)) & 2;
            screen[static_cast<std::size_t>(y) * w + x] = dark ? RGB(0, 0, 0) : RGB(255, 255, 255);
        }
    std::vector<std::uint8_t> bmp = pigmora::NewBmp24(w, h);
    const std::size_t stride = pigmora::BmpRowStride(w);
    for (int y = 0; y < h; ++y) {
        std::uint8_t* row = bmp.data() + pigmora::kBmpPixelOffset + (h - 1 - y) * stride;
        for (int x = 0; x < w; ++x) {
            const COLORREF c = screen[static_cast<std::size_t>(y) * w + x];
            row[3 * x] = GetBValue(c);
            row[3 * x + 1] = GetGValue(c);
            row[3 * x + 2] = GetRValue(c);
        }
    }
    const std::wstring path = Config().artifacts + L"\\" + Wide(name) + L".bmp";
    pigmora::win32::unique_kernel_handle file = pigmora::win32::OwnFile(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!file) return;
    DWORD written = 0;
    WriteFile(file.get(), bmp.data(), static_cast<DWORD>(bmp.size()), &written, nullptr);
}

void HoverDropperBox(const Pigmora& app) {
    static int calls = 0;
    const int offset = ++calls % 2 == 0 ? -4 : 4;
    const RECT box = app.ScreenRect(取色_光标);
    GlidePointer({box.left - 3, (box.top + box.bottom) / 2}, 4);
    const HCURSOR outside = CurrentCursor().handle;
    const POINT centre = app.Centre(取色_光标);
    Approach({centre.x + offset, centre.y + offset}, 3);
    WaitUntil([&] { return CurrentCursor().handle != outside; }, std::chrono::seconds(3));
}

HWND CaptureOf(const Pigmora& app) {
    GUITHREADINFO info{sizeof(info)};
    GetGUIThreadInfo(app.threadId(), &info);
    return info.hwndCapture;
}

bool BeginDrag(const Pigmora& app) {
    PressLeft();
    return WaitUntil([&] { return CaptureOf(app) == app.control(取色_光标); });
}

std::optional<std::string> CopyWith(const Pigmora& app, Control button, const std::string& before) {
    PutClipboardText(before);
    const DWORD sequence = GetClipboardSequenceNumber();
    Approach(app.Centre(button), 8);
    PressLeft();
    // Held until the button shows pushed, as a hand holds it for a moment.
    WaitUntil([&] {
        DWORD_PTR state = 0;
        SendMessageTimeoutW(app.control(button), BM_GETSTATE, 0, 0, SMTO_BLOCK, 1000, &state);
        return (state & BST_PUSHED) != 0;
    });
    ReleaseLeft();
    WaitUntil([&] { return GetClipboardSequenceNumber() != sequence; });
    return ClipboardText();
}

std::string CopiedHtml(const Pigmora& app) {
    return CopyWith(app, 取色_按钮5).value_or("(no text)");
}

}  // namespace e2e
