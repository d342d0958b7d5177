// What the screen shows inside a window's outer rectangle, as a 24-bit BMP file in memory.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace pigmora::win32 {

// Empty for a handle that is no window.
std::vector<std::uint8_t> SnapshotScreenRect(HWND window);

}  // namespace pigmora::win32
