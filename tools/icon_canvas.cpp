#include "icon_canvas.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

Canvas::Canvas(int width, int height)
    : width_(width),
      height_(height),
      colours_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0),
      opaque_(colours_.size(), 0) {
    if (width <= 0 || height <= 0) throw std::invalid_argument("canvas size must be positive");
}

std::size_t Canvas::index(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        throw std::out_of_range("pixel outside the canvas");
    }
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
           static_cast<std::size_t>(x);
}

Point Canvas::pixelCentre(int x, int y) const {
    const double unitsX = kDesignUnits / width_;
    const double unitsY = kDesignUnits / height_;
    return {(x + 0.5) * unitsX - shift_.x, (y + 0.5) * unitsY - shift_.y};
}

void Canvas::fill(const std::function<bool(Point)>& inside, const Shader& shader) {
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const Point centre = pixelCentre(x, y);
            if (!inside(centre)) continue;
            const std::size_t at = index(x, y);
            colours_[at] = shader(centre);
            opaque_[at] = 1;
        }
    }
}

void Canvas::fillEllipse(Point centre, double radiusX, double radiusY, std::uint8_t colour) {
    fillEllipse(centre, radiusX, radiusY, [colour](Point) { return colour; });
}

void Canvas::fillEllipse(Point centre, double radiusX, double radiusY, const Shader& shader) {
    if (radiusX <= 0.0 || radiusY <= 0.0) return;
    fill(
        [=](Point p) {
            const double dx = (p.x - centre.x) / radiusX;
            const double dy = (p.y - centre.y) / radiusY;
            return dx * dx + dy * dy <= 1.0;
        },
        shader);
}

void Canvas::fillPolygon(std::span<const Point> corners, std::uint8_t colour) {
    if (corners.size() < 3) return;
    const std::vector<Point> polygon(corners.begin(), corners.end());
    fill(
        [&polygon](Point p) {
            // Even-odd crossing test along a horizontal ray.
            bool inside = false;
            for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
                const Point a = polygon[i];
                const Point b = polygon[j];
                if ((a.y > p.y) != (b.y > p.y)) {
                    const double crossX = a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y);
                    if (p.x < crossX) inside = !inside;
                }
            }
            return inside;
        },
        [colour](Point) { return colour; });
}

void Canvas::drawLine(Point from, Point to, double thickness, std::uint8_t colour) {
    // Half a pixel of reach keeps a thin diagonal connected at the small icon size.
    const double radius = std::max(thickness / 2.0, 0.5 * pixelUnits());
    const double dx = to.x - from.x;
    const double dy = to.y - from.y;
    const double lengthSquared = dx * dx + dy * dy;
    fill(
        [=](Point p) {
            double t = 0.0;
            if (lengthSquared > 0.0) {
                t = std::clamp(((p.x - from.x) * dx + (p.y - from.y) * dy) / lengthSquared, 0.0,
                               1.0);
            }
            const double ex = p.x - (from.x + t * dx);
            const double ey = p.y - (from.y + t * dy);
            return ex * ex + ey * ey <= radius * radius;
        },
        [colour](Point) { return colour; });
}

void Canvas::outlineSilhouette(std::uint8_t colour) {
    const std::vector<std::uint8_t> before = opaque_;
    auto wasOpaque = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return false;
        return before[index(x, y)] != 0;
    };
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            if (wasOpaque(x, y)) continue;
            if (wasOpaque(x - 1, y) || wasOpaque(x + 1, y) || wasOpaque(x, y - 1) ||
                wasOpaque(x, y + 1)) {
                colours_[index(x, y)] = colour;
                opaque_[index(x, y)] = 1;
            }
        }
    }
}
