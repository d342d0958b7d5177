#include "platform/win32/snapshot.h"

#include <cstring>

#include "platform/bmp_file.h"
#include "platform/win32/handles.h"

namespace pigmora::win32 {

namespace {

constexpr std::size_t kWorthRecycling = std::size_t{1} << 20;

// What the snapshots keep from one to the next; the program has one thread. The spare file
// buffer (see RecycleSnapshotBuffer), and the 32-bit bitmap the screen is copied into: made
// afresh, that one too would cost more in clearing its pages than the copy itself.
struct Reused {
    std::vector<std::uint8_t> spare;
    // The latest snapshot, while no picture box has asked for its content yet.
    const std::uint8_t* latest = nullptr;
    std::size_t latestSize = 0;
    PixelRect latestContent{};
    unique_hbitmap section;
    unique_hdc memory;  // declared last, so freed first: the section is selected into it
    void* bits = nullptr;
    SIZE size{};
};

Reused& Kept() {
    static Reused kept;
    return kept;
}

std::vector<std::uint8_t>& Spare() { return Kept().spare; }

// A memory DC with a top-down 32-bit section selected, at least `size` large; its rows are
// `stride` bytes apart. Null when it cannot be made.
HDC CopyTarget(HDC screen, SIZE size, void*& bits, std::size_t& stride) {
    Reused& kept = Kept();
    if (!kept.section || kept.size.cx < size.cx || kept.size.cy < size.cy) {
        kept.memory.reset();  // frees the section once it is no longer selected anywhere
        kept.section.reset();
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = size.cx;
        info.bmiHeader.biHeight = -size.cy;  // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        kept.section.reset(CreateDIBSection(screen, &info, DIB_RGB_COLORS, &kept.bits, nullptr, 0));
        kept.memory.reset(CreateCompatibleDC(screen));
        if (!kept.section || !kept.memory || !kept.bits) {
            kept.memory.reset();
            kept.section.reset();
            return nullptr;
        }
        // Stays selected for as long as it is kept.
        SelectObject(kept.memory.get(), kept.section.get());
        kept.size = size;
    }
    bits = kept.bits;
    stride = static_cast<std::size_t>(kept.size.cx) * 4;
    return kept.memory.get();
}

// A black 24-bit bottom-up BMP file of the given size, in the spare buffer when there is one
// large enough and not wastefully large. Empty when the size is refused.
std::vector<std::uint8_t> BlackBmp(int width, int height) {
    std::vector<std::uint8_t> header = NewBmp24(width, 0);
    if (header.empty() || height < 0) return {};
    const std::uint64_t imageBytes = BmpRowStride(width) * static_cast<std::uint64_t>(height);
    if (imageBytes > kBmpMaxPixelBytes) return {};
    const std::size_t fileBytes = kBmpPixelOffset + static_cast<std::size_t>(imageBytes);

    std::vector<std::uint8_t> bmp;
    if (Spare().capacity() >= fileBytes && Spare().capacity() / 2 <= fileBytes)
        bmp = std::move(Spare());
    Spare() = {};
    bmp.assign(fileBytes, 0);

    // The header of a zero-height file of this width, with the height and sizes put in.
    static_assert(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) == kBmpPixelOffset);
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    std::memcpy(&file, header.data(), sizeof file);
    std::memcpy(&info, header.data() + sizeof file, sizeof info);
    file.bfSize = static_cast<DWORD>(fileBytes);
    info.biHeight = height;  // positive: rows bottom-up
    info.biSizeImage = static_cast<DWORD>(imageBytes);
    std::memcpy(bmp.data(), &file, sizeof file);
    std::memcpy(bmp.data() + sizeof file, &info, sizeof info);
    return bmp;
}

}  // namespace

void RecycleSnapshotBuffer(std::vector<std::uint8_t> buffer) {
    if (buffer.data() == Kept().latest) Kept().latest = nullptr;  // about to hold other bytes
    if (buffer.capacity() >= kWorthRecycling && buffer.capacity() > Spare().capacity())
        Spare() = std::move(buffer);
}

std::optional<PixelRect> TakeSnapshotContent(const std::vector<std::uint8_t>& file) {
    Reused& kept = Kept();
    if (!kept.latest || file.data() != kept.latest || file.size() != kept.latestSize)
        return std::nullopt;
    kept.latest = nullptr;
    return kept.latestContent;
}

std::vector<std::uint8_t> SnapshotScreenRect(HWND window) {
    RECT rect{};
    if (!IsWindow(window) || !GetWindowRect(window, &rect)) return {};
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    std::vector<std::uint8_t> bmp = BlackBmp(width, height);
    if (bmp.empty()) return bmp;
    Reused& kept = Kept();
    kept.latest = nullptr;

    // Only the part on the screen is copied; the rest of the picture stays black. At the
    // smallest zoom factor the rectangle is nearly ten times the screen's area.
    const RECT screen{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                      GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                      GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    RECT visible{};
    if (!IntersectRect(&visible, &rect, &screen)) {
        kept.latest = bmp.data();  // black all over
        kept.latestSize = bmp.size();
        kept.latestContent = {};
        return bmp;
    }
    const int vw = visible.right - visible.left, vh = visible.bottom - visible.top;

    // Copied as 32-bit pixels, the screen's own layout, so the copy is a plain one; the
    // conversion to the file's 24 bits is folded into the move into place below. The target
    // is kept at the screen's size, which every visible part fits.
    WindowDc screenDc(nullptr);
    void* bits = nullptr;
    std::size_t copyStride = 0;
    const SIZE screenSize{screen.right - screen.left, screen.bottom - screen.top};
    HDC copy = CopyTarget(screenDc.get(), screenSize, bits, copyStride);
    if (!copy) return bmp;
    BitBlt(copy, 0, 0, vw, vh, screenDc.get(), visible.left, visible.top, SRCCOPY | CAPTUREBLT);
    GdiFlush();

    const std::size_t fileStride = BmpRowStride(width);
    const int offsetX = visible.left - rect.left, offsetTop = visible.top - rect.top;
    for (int row = 0; row < vh; ++row) {
        // Row `row` from the top of the visible part; the file stores its rows bottom-up.
        const auto* source =
            static_cast<const std::uint8_t*>(bits) + static_cast<std::size_t>(row) * copyStride;
        std::uint8_t* target =
            bmp.data() + kBmpPixelOffset +
            static_cast<std::size_t>(height - 1 - (offsetTop + row)) * fileStride +
            static_cast<std::size_t>(offsetX) * 3;
        for (int x = 0; x < vw; ++x, source += 4, target += 3) {
            target[0] = source[0];
            target[1] = source[1];
            target[2] = source[2];
        }
    }
    kept.latest = bmp.data();
    kept.latestSize = bmp.size();
    kept.latestContent = {offsetX, offsetTop, offsetX + vw, offsetTop + vh};
    return bmp;
}

}  // namespace pigmora::win32
