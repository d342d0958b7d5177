// The files embedded in the executable, and the cursors made from them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>

#include "platform/win32/handles.h"
#include "ui/controls.h"

namespace pigmora::win32 {

// The bytes of an embedded file of the module (the program's own by default); they live as
// long as the module.
std::span<const std::uint8_t> EmbeddedFile(int resourceId, HMODULE module = nullptr);
std::span<const std::uint8_t> EmbeddedImage(Asset image);

// A cursor from a cursor file: its first image, at its own size, with its own hotspot.
unique_hcursor CursorFromFile(std::span<const std::uint8_t> file);

// The program's three cursors, loaded once.
class Cursors {
public:
    Cursors();
    HCURSOR Get(Pointer pointer) const;  // nullptr for Pointer::Default

private:
    unique_hcursor hand_, dropper_, magnifier_;
};

}  // namespace pigmora::win32
