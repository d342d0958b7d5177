// A picture box's picture: a BMP file, or a GIF decoded once into one.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/bmp_file.h"
#include "platform/bmp_scale.h"

namespace pigmora::win32 {

class Picture {
public:
    Picture() = default;
    // An empty or undecodable file gives no picture.
    explicit Picture(std::vector<std::uint8_t> file);
    // A snapshot-sized buffer goes back to the snapshot code when its picture is replaced or
    // destroyed, for the next snapshot to reuse (see RecycleSnapshotBuffer).
    Picture(Picture&& other) noexcept;
    Picture& operator=(Picture&& other) noexcept;
    ~Picture();
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    bool empty() const { return !view_; }
    int width() const { return view_ ? view_->width : 0; }
    int height() const { return view_ ? view_->height : 0; }

    // Display mode 0: natural size at the top left; 1: stretched to the client area;
    // 2: centred, scaled down to fit when larger.
    void Draw(HDC dc, SIZE client, int mode) const;

private:
    // Display mode 1 on a rich display: the picture averaged to the client size, as 32-bit
    // pixels, made at the first paint after the picture or the client size changed. A live
    // zoom view repaints the same picture several times, and shrinking a large snapshot is the
    // costly part of a frame.
    const std::vector<std::uint32_t>& FittedTo(SIZE client) const;

    std::vector<std::uint8_t> file_;  // the view points into it; moving keeps the buffer
    std::optional<BmpView> view_;
    std::optional<PixelRect> content_;  // known for a snapshot: black outside it
    mutable std::vector<std::uint32_t> fitted_;
    mutable SIZE fittedSize_{};
};

}  // namespace pigmora::win32
