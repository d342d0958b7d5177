#include "tools/assetgen/canvas.h"

#include <algorithm>
#include <cmath>

#include "platform/bmp_file.h"

namespace pigmora::assetgen {

namespace {

double Length(double x, double y) { return std::sqrt(x * x + y * y); }

std::uint8_t ToByte(double v) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

}  // namespace

Colour Mix(const Colour& from, const Colour& to, double t) {
    return {from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t,
            from.b + (to.b - from.b) * t, from.a + (to.a - from.a) * t};
}

Colour Hue(double degrees) {
    const double h = std::fmod(std::fmod(degrees, 360.0) + 360.0, 360.0) / 60.0;
    const double x = 1.0 - std::fabs(std::fmod(h, 2.0) - 1.0);
    double r = 0, g = 0, b = 0;
    switch (static_cast<int>(h)) {
        case 0:
            r = 1, g = x;
            break;
        case 1:
            r = x, g = 1;
            break;
        case 2:
            g = 1, b = x;
            break;
        case 3:
            g = x, b = 1;
            break;
        case 4:
            r = x, b = 1;
            break;
        default:
            r = 1, b = x;
            break;
    }
    return {r * 255, g * 255, b * 255};
}

Shape Circle(Point centre, double radius) {
    return [=](Point p) { return Length(p.x - centre.x, p.y - centre.y) - radius; };
}

Shape Ring(Point centre, double radius, double width) {
    return [=](Point p) {
        return std::fabs(Length(p.x - centre.x, p.y - centre.y) - radius) - width / 2;
    };
}

Shape Capsule(Point a, Point b, double radius) {
    return [=](Point p) {
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double along = dx * dx + dy * dy;
        const double t =
            along == 0 ? 0 : std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / along, 0.0, 1.0);
        return Length(p.x - (a.x + t * dx), p.y - (a.y + t * dy)) - radius;
    };
}

Shape Box(double left, double top, double right, double bottom, double cornerRadius) {
    const double cx = (left + right) / 2, cy = (top + bottom) / 2;
    const double hx = (right - left) / 2 - cornerRadius, hy = (bottom - top) / 2 - cornerRadius;
    return [=](Point p) {
        const double qx = std::fabs(p.x - cx) - hx, qy = std::fabs(p.y - cy) - hy;
        return Length(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) -
               cornerRadius;
    };
}

Shape Polygon(std::vector<Point> corners) {
    return [corners = std::move(corners)](Point p) {
        // Distance to the nearest edge; the sign from the crossing rule.
        double nearest = 1e30;
        bool inside = false;
        for (std::size_t i = 0, j = corners.size() - 1; i < corners.size(); j = i++) {
            const Point a = corners[j], b = corners[i];
            const double ex = b.x - a.x, ey = b.y - a.y;
            const double wx = p.x - a.x, wy = p.y - a.y;
            const double t = std::clamp((wx * ex + wy * ey) / (ex * ex + ey * ey), 0.0, 1.0);
            nearest = std::min(nearest, Length(wx - ex * t, wy - ey * t));
            if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) * ex / ey) inside = !inside;
        }
        return inside ? -nearest : nearest;
    };
}

Shape Union(std::vector<Shape> parts) {
    return [parts = std::move(parts)](Point p) {
        double d = 1e30;
        for (const Shape& s : parts) d = std::min(d, s(p));
        return d;
    };
}

Shape Intersect(Shape a, Shape b) {
    return [=](Point p) { return std::max(a(p), b(p)); };
}

Shape Subtract(Shape a, Shape cut) {
    return [=](Point p) { return std::max(a(p), -cut(p)); };
}

Shape Grow(Shape s, double distance) {
    return [=](Point p) { return s(p) - distance; };
}

Paint Solid(Colour c) {
    return [=](Point) { return c; };
}

Canvas::Canvas(int width, int height, Colour ground)
    : width_(width),
      height_(height),
      pixels_(static_cast<std::size_t>(width) * height,
              Colour{ground.r * ground.a, ground.g * ground.a, ground.b * ground.a, ground.a}) {}

void Canvas::Blend(int x, int y, Colour c, double coverage) {
    const double a = std::clamp(c.a * coverage, 0.0, 1.0);
    if (a <= 0) return;
    Colour& d = pixels_[static_cast<std::size_t>(y) * width_ + x];
    d.r = c.r * a + d.r * (1 - a);
    d.g = c.g * a + d.g * (1 - a);
    d.b = c.b * a + d.b * (1 - a);
    d.a = a + d.a * (1 - a);
}

void Canvas::Fill(const Shape& shape, const Paint& paint) {
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const Point centre{x + 0.5, y + 0.5};
            const double coverage = std::clamp(0.5 - shape(centre), 0.0, 1.0);
            if (coverage > 0) Blend(x, y, paint(centre), coverage);
        }
    }
}

void Canvas::Glow(const Shape& shape, Colour c, double distance) {
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const double d = std::max(shape({x + 0.5, y + 0.5}), 0.0) / distance;
            Blend(x, y, c, std::exp(-d * d * 2));
        }
    }
}

void Canvas::Set(int x, int y, Colour c) {
    pixels_[static_cast<std::size_t>(y) * width_ + x] = {c.r * c.a, c.g * c.a, c.b * c.a, c.a};
}

void Canvas::FillRect(int left, int top, int width, int height, Colour c) {
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) Set(x, y, c);
    }
}

Colour Canvas::At(int x, int y) const {
    const Colour& p = pixels_[static_cast<std::size_t>(y) * width_ + x];
    if (p.a <= 0) return {0, 0, 0, 0};
    return {p.r / p.a, p.g / p.a, p.b / p.a, p.a};
}

BgraImage Canvas::ToBgra() const {
    BgraImage image{width_, height_, {}};
    image.pixels.reserve(pixels_.size());
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const Colour c = At(x, y);
            const std::uint8_t a = ToByte(c.a * 255);
            // Fully transparent pixels carry no colour, so equal pictures give equal files.
            image.pixels.push_back(a == 0 ? Bgra{0, 0, 0, 0}
                                          : Bgra{ToByte(c.b), ToByte(c.g), ToByte(c.r), a});
        }
    }
    return image;
}

std::vector<std::uint8_t> Canvas::ToBmp24() const {
    std::vector<std::uint8_t> file = NewBmp24(width_, height_);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const Colour c = At(x, y);
            SetBmpPixel(file, x, y, Bgr{ToByte(c.b), ToByte(c.g), ToByte(c.r)});
        }
    }
    return file;
}

}  // namespace pigmora::assetgen
