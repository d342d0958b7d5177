// A small vector painter for the generated pictures. Shapes are signed distance functions in
// pixel units (negative inside; pixel (x, y) covers [x, x+1) x [y, y+1)); a pixel's coverage is
// taken from the distance at its centre, which gives smooth edges without supersampling and
// exact hard edges for shapes that lie on the pixel grid.
#pragma once

#include <functional>
#include <span>
#include <utility>
#include <vector>

#include "assets/formats.h"

namespace pigmora::assetgen {

// Components 0..255, alpha 0..1, straight.
struct Colour {
    double r, g, b;
    double a = 1.0;
};

Colour Mix(const Colour& from, const Colour& to, double t);
// Hue 0..360 at full saturation, lightness one half.
Colour Hue(double degrees);

struct Point {
    double x, y;
};

using Shape = std::function<double(Point)>;
using Paint = std::function<Colour(Point)>;

Shape Circle(Point centre, double radius);
// A band of the given width centred on the circle's edge.
Shape Ring(Point centre, double radius, double width);
// A segment with round ends: every point within radius of the segment from a to b.
Shape Capsule(Point a, Point b, double radius);
// A rectangle from (left, top) to (right, bottom), with rounded corners.
Shape Box(double left, double top, double right, double bottom, double cornerRadius = 0);
// Any simple polygon, corners in either order.
Shape Polygon(std::vector<Point> corners);

Shape Union(std::vector<Shape> parts);
Shape Intersect(Shape a, Shape b);
Shape Subtract(Shape a, Shape cut);
// Grown by distance (shrunk when negative).
Shape Grow(Shape s, double distance);

Paint Solid(Colour c);

class Canvas {
  public:
    Canvas(int width, int height, Colour ground = {0, 0, 0, 0});

    int Width() const { return width_; }
    int Height() const { return height_; }

    // Paints the shape over what is there, its edges blended by coverage.
    void Fill(const Shape& shape, const Paint& paint);
    void Fill(const Shape& shape, Colour c) { Fill(shape, Solid(c)); }
    // A soft halo outside the shape, fading over about the given distance.
    void Glow(const Shape& shape, Colour c, double distance);
    // Exact pixels, for the parts of a picture that are fixed to the pixel.
    void Set(int x, int y, Colour c);
    void FillRect(int left, int top, int width, int height, Colour c);

    Colour At(int x, int y) const;
    BgraImage ToBgra() const;
    // The picture as 24-bit BMP; the canvas is expected to be opaque.
    std::vector<std::uint8_t> ToBmp24() const;

  private:
    void Blend(int x, int y, Colour c, double coverage);

    int width_;
    int height_;
    // Premultiplied, so that blending is one formula.
    std::vector<Colour> pixels_;
};

}  // namespace pigmora::assetgen
