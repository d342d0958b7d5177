// The hand, the eyedropper, the magnifying glass, the box pictures and the program icon.

#include <algorithm>
#include <cmath>

#include "tools/assetgen/assets.h"

namespace pigmora::assetgen {

namespace {

constexpr double kDiagonal = 0.70710678118654752;

constexpr Colour kWhite{255, 255, 255};
constexpr Colour kHandOutline{24, 24, 24};
constexpr Colour kLightBlue{112, 192, 250};
constexpr Colour kDeepBlue{28, 104, 184};

// A tool's own coordinates: x along its axis from `origin`, y across it, in units of `scale`
// canvas pixels.
struct Frame {
    Point origin;
    double axisX, axisY;  // unit direction of the tool's x axis on the canvas
    double scale;

    Point ToLocal(Point p) const {
        const double px = p.x - origin.x, py = p.y - origin.y;
        return {(px * axisX + py * axisY) / scale, (py * axisX - px * axisY) / scale};
    }
};

Shape InFrame(const Frame& frame, Shape local) {
    return [=](Point p) { return local(frame.ToLocal(p)) * frame.scale; };
}

// Drawn with an outline inside the shape's edge, so the shape's extent is what the geometry
// says (the hotspots depend on it).
void FillOutlined(Canvas& canvas, const Shape& shape, Colour fill, Colour outline,
                  double outlineWidth) {
    canvas.Fill(shape, outline);
    canvas.Fill(Grow(shape, -outlineWidth), fill);
}

// A half plane in a tool frame, for cutting highlights: everything with local x below `limit`.
Shape LeftOf(double limit) {
    return [=](Point p) { return p.x - limit; };
}

// The box of the dropper and magnifier boxes, fixed to the pixel: a frame of (178, 181, 183)
// around white, and a pale cyan square of 16 x 16 in the lower left corner.
Canvas BoxCanvas() {
    Canvas canvas(32, 32, kWhite);
    const Colour frame{178, 181, 183};
    canvas.FillRect(0, 0, 32, 1, frame);
    canvas.FillRect(0, 31, 32, 1, frame);
    canvas.FillRect(0, 0, 1, 32, frame);
    canvas.FillRect(31, 0, 1, 32, frame);
    canvas.FillRect(1, 15, 16, 16, Colour{225, 249, 255});
    return canvas;
}

// The hand pointing up, in units of the 48 x 48 cursor, (0, 0) the top of the index finger.
void DrawHand(Canvas& canvas, Point fingertip, double scale, double outlineWidth) {
    const auto part = [&](Shape s) {
        return [=](Point p) {
            return s({(p.x - fingertip.x) / scale, (p.y - fingertip.y) / scale}) * scale;
        };
    };
    const std::vector<Shape> parts{
        part(Capsule({-7.6, 24.5}, {-1.0, 32.5}, 3.3)),  // thumb
        part(Box(-3.6, 20.5, 22.6, 38.5, 6.5)),          // palm
        part(Capsule({19.4, 22.5}, {19.4, 28.0}, 3.1)),  // little finger, folded
        part(Capsule({13.4, 19.0}, {13.4, 26.0}, 3.3)),  // ring finger, folded
        part(Capsule({6.9, 17.0}, {6.9, 24.0}, 3.4)),    // middle finger, folded
        part(Capsule({0.0, 3.6}, {0.0, 22.0}, 3.6)),     // index finger
        part(Box(0.0, 36.0, 19.0, 44.5, 1.5)),           // cuff
    };
    canvas.Fill(Union(parts), kHandOutline);
    // The insides of neighbouring fingers do not meet, which leaves the lines between them.
    for (const Shape& s : parts) canvas.Fill(Grow(s, -outlineWidth), kWhite);
    // The seam between hand and cuff, as thick as the outline.
    canvas.Fill(part(Box(0.0, 35.6, 19.0, 35.6 + outlineWidth / scale)), kHandOutline);
}

BgraImage HandImage(int size, Point fingertip) {
    Canvas canvas(size, size);
    const double scale = size / 48.0;
    DrawHand(canvas, fingertip, scale, 1.5 * scale);
    return canvas.ToBgra();
}

// The small pictures of the help text need a thicker line than the scale would give, or
// the tools fade into the ground.
double ToolOutline(double scale) { return std::max(0.9, scale); }

}  // namespace

const ToolColours kCursorTool{kWhite, Colour{118, 118, 118}, kLightBlue, kDeepBlue};
const ToolColours kHelpTool{Colour{176, 220, 252}, kDeepBlue, kLightBlue, kDeepBlue};

void DrawDropper(Canvas& canvas, Point at, double scale, const ToolColours& colours) {
    // Tip at the origin, pointing down to the left; the bulb up to the right.
    const Frame frame{at, kDiagonal, -kDiagonal, scale};
    const double line = ToolOutline(scale);
    const auto local = [&](Shape s) { return InFrame(frame, std::move(s)); };

    // The glass nozzle reaches a little past the origin so that the hotspot pixel is solid.
    const Shape nozzle = local(Union(
        {Polygon({{-0.4, -0.9}, {6.6, -1.8}, {6.6, 1.8}, {-0.4, 0.9}}), Circle({-0.4, 0}, 0.9)}));
    const Shape barrel = local(Box(6.0, -2.7, 15.6, 2.7, 0.8));
    const Shape collar = local(Box(15.0, -3.7, 17.6, 3.7, 1.0));
    const Shape bulb = local(Capsule({19.8, 0}, {23.0, 0}, 3.4));
    const Shape shine =
        local(Intersect(Ring({21.4, 0}, 2.0, 0.9), [](Point p) { return p.y + 0.6; }));

    FillOutlined(canvas, nozzle, colours.body, colours.outline, line);
    FillOutlined(canvas, barrel, colours.body, colours.outline, line);
    FillOutlined(canvas, bulb, colours.accent, colours.accentOutline, line);
    FillOutlined(canvas, collar, colours.accentOutline, colours.accentOutline, line);
    if (scale >= 0.75) canvas.Fill(shine, Colour{255, 255, 255, 0.8});
}

void DrawMagnifier(Canvas& canvas, Point at, double scale, const ToolColours& colours) {
    // Lens centre at the origin, the handle down to the right.
    const Frame frame{at, kDiagonal, kDiagonal, scale};
    const double line = ToolOutline(scale);
    const auto local = [&](Shape s) { return InFrame(frame, std::move(s)); };

    const Shape handle = local(Capsule({8.0, 0}, {15.4, 0}, 2.4));
    const Shape neck = local(Box(6.0, -1.4, 9.0, 1.4));
    const Shape rimOuter = local(Circle({0, 0}, 8.2));
    const Shape rimInner = local(Circle({0, 0}, 4.6));
    const Shape lens = local(Circle({0, 0}, 4.8));
    const Shape shine = local(Intersect(Ring({0, 0}, 3.3, 1.1), LeftOf(-1.2)));

    canvas.Fill(lens, Colour{colours.accent.r, colours.accent.g, colours.accent.b, 0.18});
    canvas.Fill(neck, colours.outline);
    FillOutlined(canvas, handle, colours.body, colours.outline, line);
    // A lighter line on the inner edge of the ring, or it reads as two rings.
    canvas.Fill(Subtract(rimOuter, rimInner), colours.accentOutline);
    canvas.Fill(Subtract(Grow(rimOuter, -line), Grow(rimInner, 0.5 * line)), colours.accent);
    if (scale >= 0.75) canvas.Fill(shine, Colour{255, 255, 255, 0.85});
}

File HandCursor() {
    // The first image is the one a pointer shows; the smaller one is for small displays.
    const std::vector<CursorImage> images{
        {HandImage(48, {15.5, 0.0}), 15, 0},
        {HandImage(32, {7.5, 0.0}), 7, 0},
    };
    return WriteCursorFile(images);
}

File DropperCursor() {
    Canvas canvas(32, 32);
    DrawDropper(canvas, {8.5, 22.5}, 1.0, kCursorTool);
    const std::vector<CursorImage> images{{canvas.ToBgra(), 8, 22}};
    return WriteCursorFile(images);
}

File MagnifierCursor() {
    Canvas canvas(32, 32);
    DrawMagnifier(canvas, {14.5, 12.5}, 1.0, kCursorTool);
    const std::vector<CursorImage> images{{canvas.ToBgra(), 14, 12}};
    return WriteCursorFile(images);
}

File EmptyBoxImage() { return BoxCanvas().ToBmp24(); }

File DropperBoxImage() {
    Canvas canvas = BoxCanvas();
    // Across the box from the cyan square to the upper right corner, as if standing in it.
    DrawDropper(canvas, {6.0, 26.0}, 0.98, kCursorTool);
    return canvas.ToBmp24();
}

File MagnifierBoxImage() {
    Canvas canvas = BoxCanvas();
    const Point centre{13.5, 13.5};
    canvas.Glow(Ring(centre, 6.4 * 0.95, 3.2 * 0.95), Colour{96, 180, 255, 0.7}, 3.0);
    DrawMagnifier(canvas, centre, 0.95, kCursorTool);
    return canvas.ToBmp24();
}

File ProgramIcon() {
    Canvas canvas(100, 100);

    // A grid of flat colour squares, taken from the colour block.
    const Colour squares[4][4]{
        {{255, 0, 0}, {255, 153, 0}, {255, 255, 0}, {153, 255, 0}},
        {{0, 153, 0}, {0, 255, 255}, {0, 153, 255}, {0, 0, 255}},
        {{153, 0, 255}, {255, 0, 255}, {255, 102, 255}, {204, 204, 255}},
        {{102, 0, 0}, {153, 102, 0}, {51, 102, 255}, {102, 255, 255}},
    };
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            const double left = 4 + 24 * column, top = 4 + 24 * row;
            canvas.Fill(Box(left, top, left + 20, top + 20, 3), squares[row][column]);
        }
    }

    // The magnifying glass over it: ring and handle in rainbow gradients, a dark rim so that
    // they stand out from the squares, and a pale lens.
    const Point centre{41, 41};
    const Point handleStart{centre.x + 28 * kDiagonal, centre.y + 28 * kDiagonal};
    const Point handleEnd{centre.x + 62 * kDiagonal, centre.y + 62 * kDiagonal};
    const Shape ring = Ring(centre, 25, 9);
    const Shape handle = Capsule(handleStart, handleEnd, 7);
    const Colour rim{40, 40, 64};

    // Through the lens the squares show enlarged around its centre.
    const Shape lens = Circle(centre, 21);
    const double zoom = 1.7;
    canvas.Fill(lens, Colour{255, 255, 255});
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            const double left = centre.x + (4 + 24 * column - centre.x) * zoom;
            const double top = centre.y + (4 + 24 * row - centre.y) * zoom;
            canvas.Fill(
                Intersect(lens, Box(left, top, left + 20 * zoom, top + 20 * zoom, 3 * zoom)),
                squares[row][column]);
        }
    }
    canvas.Fill(lens, Colour{255, 255, 255, 0.3});
    canvas.Fill(Intersect(Ring(centre, 15, 3.5), [=](Point p) { return p.x + p.y - 2 * 41 + 8; }),
                Colour{255, 255, 255, 0.9});
    canvas.Fill(Grow(handle, 1.6), rim);
    canvas.Fill(handle, [=](Point p) {
        const double t = ((p.x - handleStart.x) + (p.y - handleStart.y)) * kDiagonal / 34;
        return Hue(200 + 160 * std::clamp(t, 0.0, 1.0));
    });
    canvas.Fill(Grow(ring, 1.6), rim);
    canvas.Fill(ring, [=](Point p) {
        return Hue(std::atan2(p.y - centre.y, p.x - centre.x) * 180 / 3.14159265358979);
    });

    const std::vector<BgraImage> images{canvas.ToBgra()};
    return WriteIconFile(images);
}

}  // namespace pigmora::assetgen
