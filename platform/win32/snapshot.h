// What the screen shows inside a window's outer rectangle, as a 24-bit BMP file in memory.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/bmp_scale.h"

namespace pigmora::win32 {

// Empty for a handle that is no window. The part of the rectangle outside the screen is black.
std::vector<std::uint8_t> SnapshotScreenRect(HWND window);

// At the smallest zoom factor every pointer movement makes a 28 MB snapshot. The system maps
// a block that large afresh on each allocation and clears it page by page on first touch,
// which costs more than copying the screen. So the buffer of a snapshot that is no longer
// shown can be handed back here, and the next snapshot reuses it. One buffer is kept; small
// ones are not worth keeping and are simply freed.
void RecycleSnapshotBuffer(std::vector<std::uint8_t> buffer);

// Where the screen lies in `file` when it is the latest snapshot (same buffer, same size): the
// rest of it is black. Answered once per snapshot, for the picture box that is given it, which
// then need not look through the black margins (nine tenths of the picture at the smallest
// zoom factor). Nothing between the snapshot and the picture box changes the bytes.
std::optional<PixelRect> TakeSnapshotContent(const std::vector<std::uint8_t>& file);

}  // namespace pigmora::win32
