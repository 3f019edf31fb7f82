#include "dish_painter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace {

// Design units on the 32 x 32 grid.
constexpr double kAxisX = 16.0;
constexpr double kDishY = 11.0;
constexpr double kRimRadius = 9.5;
constexpr double kBowlDepth = 4.5;
constexpr double kMountReach = 1.0;    // from the mast axis to the back of the bowl
constexpr double kFeedDistance = 9.0;  // from the back of the bowl to the LNB's horn
constexpr double kLnbLength = 2.5;
constexpr double kPivotY = 13.0;
constexpr double kFootTop = 26.5;
constexpr double kFootBottom = 30.0;

// A point on the dish's axis, `reach` units out from the mast, seen from the front: only its
// sideways displacement shows, the depth is lost in the projection.
Point onAxis(double reach, double sine) {
    return {kAxisX + reach * sine, kDishY};
}

// Below this many pixels across, the motor and the highlights only smear into the mast.
constexpr int kDetailedFrom = 24;

void paintStand(Canvas& canvas, const DishColours& colours) {
    const bool detailed = canvas.width() >= kDetailedFrom;
    const std::array<Point, 4> foot{
        {{9.5, kFootBottom}, {22.5, kFootBottom}, {19.5, kFootTop}, {12.5, kFootTop}}};
    canvas.fillPolygon(foot, colours.foot);
    canvas.drawLine({kAxisX, kPivotY}, {kAxisX, kFootTop + 0.5}, detailed ? 2.6 : 1.0,
                    colours.mast);
    if (!detailed) return;
    canvas.drawLine({kAxisX - 0.6, kPivotY + 4.0}, {kAxisX - 0.6, kFootTop - 0.5}, 0.6,
                    colours.mastLight);

    // The positioner motor sits on top of the mast and stays put while the dish turns.
    const std::array<Point, 4> motor{{{12.5, kPivotY - 1.5},
                                      {19.5, kPivotY - 1.5},
                                      {19.5, kPivotY + 3.5},
                                      {12.5, kPivotY + 3.5}}};
    canvas.fillPolygon(motor, colours.motor);
    const std::array<Point, 4> motorFace{{{13.5, kPivotY - 0.5},
                                          {15.0, kPivotY - 0.5},
                                          {15.0, kPivotY + 2.5},
                                          {13.5, kPivotY + 2.5}}};
    canvas.fillPolygon(motorFace, colours.motorLight);
}

void paintShell(Canvas& canvas, double sine, double cosine, const DishColours& colours) {
    // The convex back of the bowl: a stack of rings from its apex to the rim. Where the dish is
    // turned away, the rings further back stick out beside the rim as a crescent.
    const double minimumWidth = 0.6 * canvas.pixelUnits();
    constexpr int kRings = 24;
    for (int i = 0; i <= kRings; ++i) {
        const double depth = kBowlDepth * i / kRings;
        const double radius = kRimRadius * std::sqrt(depth / kBowlDepth);
        const std::uint8_t colour = i < kRings / 2 ? colours.shellDark : colours.shellLight;
        canvas.fillEllipse(onAxis(kMountReach + depth, sine),
                           std::max(radius * cosine, minimumWidth), radius, colour);
    }
}

void paintBowl(Canvas& canvas, double sine, double cosine, const DishColours& colours) {
    const Point centre = onAxis(kMountReach + kBowlDepth, sine);
    const double radiusX = std::max(kRimRadius * cosine, 0.6 * canvas.pixelUnits());
    canvas.fillEllipse(centre, radiusX, kRimRadius, colours.rim);

    // Light falls from the upper left, so the inner wall on the lower right catches it.
    const std::vector<std::uint8_t>& ramp = colours.bowl;
    const auto shade = [&](Point p) {
        const double u = (p.x - centre.x) / kRimRadius;
        const double v = (p.y - centre.y) / kRimRadius;
        const double light = std::clamp(0.55 + 0.45 * (0.6 * u + 0.8 * v), 0.0, 1.0);
        const auto step =
            static_cast<std::size_t>(light * static_cast<double>(ramp.size() - 1) + 0.5);
        return ramp[step];
    };
    const double rimWidth = canvas.pixelUnits();
    canvas.fillEllipse(centre, radiusX - rimWidth, kRimRadius - rimWidth, shade);
}

void paintFeed(Canvas& canvas, double sine, const DishColours& colours) {
    const Point rimCentre = onAxis(kMountReach + kBowlDepth, sine);
    const Point lowerRim{rimCentre.x, kDishY + kRimRadius - 1.0};
    const Point horn = onAxis(kMountReach + kFeedDistance, sine);
    const Point back = onAxis(kMountReach + kFeedDistance + kLnbLength, sine);
    canvas.drawLine(lowerRim, horn, 1.1, colours.arm);
    canvas.drawLine(horn, back, 3.2, colours.lnb);
    if (canvas.width() < kDetailedFrom) return;
    // A glint along the top of the LNB's body keeps it round rather than a flat blob.
    canvas.drawLine({horn.x, horn.y - 0.8}, {back.x, back.y - 0.8}, 0.5, colours.lnbLight);
}

}  // namespace

void paintDish(Canvas& canvas, double turnDegrees, const DishColours& colours) {
    if (!(std::abs(turnDegrees) <= 85.0)) {
        throw std::invalid_argument("dish turn must lie within -85 to 85 degrees");
    }
    if (colours.bowl.empty()) throw std::invalid_argument("bowl shading needs at least one colour");
    const double radians = turnDegrees * std::numbers::pi / 180.0;
    const double sine = std::sin(radians);
    const double cosine = std::cos(radians);
    if (canvas.width() < kDetailedFrom) canvas.shiftDrawing({-0.5 * canvas.pixelUnits(), 0.0});

    paintStand(canvas, colours);
    canvas.drawLine({kAxisX, kPivotY}, onAxis(kMountReach, sine), 2.0, colours.mast);
    paintShell(canvas, sine, cosine, colours);
    paintBowl(canvas, sine, cosine, colours);
    paintFeed(canvas, sine, colours);
    canvas.outlineSilhouette(colours.outline);
}
