// A picture box's picture: a BMP file, or a GIF decoded once into one.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/bmp_file.h"

namespace pigmora::win32 {

class Picture {
public:
    Picture() = default;
    // An empty or undecodable file gives no picture.
    explicit Picture(std::vector<std::uint8_t> file);
    Picture(Picture&&) = default;
    Picture& operator=(Picture&&) = default;
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    bool empty() const { return !view_; }
    int width() const { return view_ ? view_->width : 0; }
    int height() const { return view_ ? view_->height : 0; }

    // Display mode 0: natural size at the top left; 1: stretched to the client area;
    // 2: centred, scaled down to fit when larger.
    void Draw(HDC dc, SIZE client, int mode) const;

private:
    std::vector<std::uint8_t> file_;  // the view points into it; moving keeps the buffer
    std::optional<BmpView> view_;
};

}  // namespace pigmora::win32
