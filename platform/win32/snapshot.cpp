#include "platform/win32/snapshot.h"

#include <cstring>

#include "platform/bmp_file.h"
#include "platform/win32/handles.h"

namespace pigmora::win32 {

std::vector<std::uint8_t> SnapshotScreenRect(HWND window) {
    RECT rect{};
    if (!IsWindow(window) || !GetWindowRect(window, &rect)) return {};
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    std::vector<std::uint8_t> bmp = NewBmp24(width, height);
    if (bmp.empty()) return bmp;

    // Only the part on the screen is copied; the rest of the picture stays black.
    const RECT screen{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                      GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                      GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    RECT visible{};
    if (!IntersectRect(&visible, &rect, &screen)) return bmp;
    const int vw = visible.right - visible.left, vh = visible.bottom - visible.top;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = vw;
    info.bmiHeader.biHeight = vh;  // bottom-up, like the file
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    WindowDc screenDc(nullptr);
    unique_hbitmap section(
        CreateDIBSection(screenDc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    unique_hdc memory(CreateCompatibleDC(screenDc.get()));
    if (!section || !memory || !bits) return bmp;
    {
        Selection selected(memory.get(), section.get());
        BitBlt(memory.get(), 0, 0, vw, vh, screenDc.get(), visible.left, visible.top,
               SRCCOPY | CAPTUREBLT);
    }
    GdiFlush();

    const std::size_t fileStride = BmpRowStride(width), partStride = BmpRowStride(vw);
    const int offsetX = visible.left - rect.left, offsetTop = visible.top - rect.top;
    for (int row = 0; row < vh; ++row) {
        // Row `row` from the top of the visible part; both buffers store rows bottom-up.
        const auto* source = static_cast<const std::uint8_t*>(bits) + (vh - 1 - row) * partStride;
        std::uint8_t* target = bmp.data() + kBmpPixelOffset +
                               static_cast<std::size_t>(height - 1 - (offsetTop + row)) * fileStride +
                               static_cast<std::size_t>(offsetX) * 3;
        std::memcpy(target, source, static_cast<std::size_t>(vw) * 3);
    }
    return bmp;
}

}  // namespace pigmora::win32
