#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

// A point in design units: every picture is drawn on a 32 x 32 unit grid, whatever the pixel size
// of the canvas, so one drawing serves the large and the small icon.
struct Point {
    double x;
    double y;
};

// A palette-indexed raster with a per-pixel opacity flag. Untouched pixels stay transparent and
// hold palette index 0.
class Canvas {
  public:
    static constexpr double kDesignUnits = 32.0;

    // Picks the palette index of a pixel from its centre, for shaded fills.
    using Shader = std::function<std::uint8_t(Point)>;

    Canvas(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    // The width of one pixel in design units; thin details use it so they never vanish.
    double pixelUnits() const { return kDesignUnits / width_; }
    // Moves everything drawn afterwards; half a pixel lets a one-pixel line on a pixel boundary of
    // the design grid land on a single column instead of smearing over two.
    void shiftDrawing(Point offset) { shift_ = offset; }

    void fillEllipse(Point centre, double radiusX, double radiusY, std::uint8_t colour);
    void fillEllipse(Point centre, double radiusX, double radiusY, const Shader& shader);
    void fillPolygon(std::span<const Point> corners, std::uint8_t colour);
    // A segment with round caps; never thinner than one pixel.
    void drawLine(Point from, Point to, double thickness, std::uint8_t colour);
    // Paints every transparent pixel that touches an opaque one (4-neighbourhood), so the whole
    // picture gets a one-pixel contour that keeps it readable on any background.
    void outlineSilhouette(std::uint8_t colour);

    std::uint8_t colourAt(int x, int y) const { return colours_[index(x, y)]; }
    bool opaqueAt(int x, int y) const { return opaque_[index(x, y)] != 0; }

  private:
    std::size_t index(int x, int y) const;
    Point pixelCentre(int x, int y) const;
    void fill(const std::function<bool(Point)>& inside, const Shader& shader);

    int width_;
    int height_;
    Point shift_{0.0, 0.0};
    std::vector<std::uint8_t> colours_;
    std::vector<std::uint8_t> opaque_;
};
