// The embedded pictures, cursors and icon, each built from code as a complete file.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/assetgen/canvas.h"

namespace pigmora::assetgen {

using File = std::vector<std::uint8_t>;

File HandCursor();
File DropperCursor();
File MagnifierCursor();
File EmptyBoxImage();
File DropperBoxImage();
File MagnifierBoxImage();
File ColorBlockImage();
File HelpImage();
File ProgramIcon();

// The tools, for the cursors, the box pictures and the help picture. Each is drawn in its own
// frame: `at` is the hotspot point (the dropper's tip, the lens centre) in canvas pixels and
// `scale` 1 is the size of the 32 x 32 cursor.
struct ToolColours {
    Colour body;     // barrel or handle
    Colour outline;  // of barrel or handle
    Colour accent;   // bulb or ring
    Colour accentOutline;
};

extern const ToolColours kCursorTool;  // white body, light-blue accent
extern const ToolColours kHelpTool;    // light blue throughout

void DrawDropper(Canvas& canvas, Point at, double scale, const ToolColours& colours);
void DrawMagnifier(Canvas& canvas, Point at, double scale, const ToolColours& colours);

}  // namespace pigmora::assetgen
