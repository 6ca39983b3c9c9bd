// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture/DrawSpring.h"

#include "platform/ExtendedPrecision.h"

#include <bit>
#include <cmath>
#include <limits>

// The figure is computed in three formats: 32-bit integers for the ends and
// the steps, single precision for L, theta, ax, ay and the axis and vertex
// points, and 80-bit extended for every other intermediate, each operation
// rounded once. single(v) below is v evaluated in extended, then stored as a
// float.
//
// The integer quantities are held in 64 bits: inside the 32-bit range they
// are the same numbers, and a mass at a saturated coordinate, billions of
// pixels away, still gets the true spring toward it instead of an overflow.

namespace vibrona {

namespace {

// theta of a spring pointing right or left (dy = 0): the floats nearest to
// pi/2 and 3 pi/2. Their cosines are not 0, which moves some vertices near
// whole pixels by one pixel; that is part of the figure.
constexpr float HalfPi = std::bit_cast<float>(0x3FC90FDBu);      // 1.57079637
constexpr float ThreeHalfPi = std::bit_cast<float>(0x4096CBE4u); // 4.71238899

constexpr float ZigZagAmplitude = 10.0f; // [px], a single-precision constant

// The mount bar: 40 px wide, 5 px high, its lower edge on the fixed end.
constexpr std::int64_t BarHalfWidth = 20;
constexpr std::int64_t BarHeight = 5;
constexpr std::int32_t BarPenWidth = 5;
constexpr std::int64_t BallRadius = 6;

// A value truncated toward zero into the 32-bit coordinate range. Inside the
// range this is plain truncation; beyond it (only reached from the ends'
// extremes) the point is kept at the range's edge.
std::int32_t coordinate(long double value)
{
    constexpr long double Lowest = std::numeric_limits<std::int32_t>::min();
    constexpr long double Highest = std::numeric_limits<std::int32_t>::max();
    if (!(value > Lowest - 1.0L))
        return std::numeric_limits<std::int32_t>::min();
    if (!(value < Highest + 1.0L))
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value);
}

std::int32_t coordinate(std::int64_t value)
{
    return coordinate(static_cast<long double>(value));
}

} // namespace

SpringAxis springAxis(std::int64_t dx, std::int64_t dy)
{
    SpringAxis axis;
    // L [px] = sqrt(dx^2 + dy^2). Each square of a 33-bit difference is exact
    // in the 64-bit significand; the sum is rounded once.
    const long double dx2 = static_cast<long double>(dx) * static_cast<long double>(dx);
    const long double dy2 = static_cast<long double>(dy) * static_cast<long double>(dy);
    axis.length = static_cast<float>(std::sqrt(dx2 + dy2));

    if (dy != 0) {
        // theta = arctan(dx / dy), in (-pi/2, pi/2): the offset (-ax, ay) is
        // then orthogonal to the axis, since dx cos(theta) = dy sin(theta).
        axis.angle = static_cast<float>(std::atan(static_cast<long double>(dx) / static_cast<long double>(dy)));
    } else if (dx > 0) {
        axis.angle = HalfPi;
    } else if (dx < 0) {
        axis.angle = ThreeHalfPi;
    } else {
        // Both ends coincide and there is no direction. theta = 0 is the
        // limit of arctan(dx / dy) along the vertical, so the collapsed
        // spring zig-zags sideways like the upper spring at rest, and the
        // figure changes continuously as the mass reaches the anchor
        // along the vertical.
        axis.angle = 0.0f;
    }
    axis.ax = static_cast<float>(std::cos(static_cast<long double>(axis.angle)) * ZigZagAmplitude);
    axis.ay = static_cast<float>(std::sin(static_cast<long double>(axis.angle)) * ZigZagAmplitude);
    return axis;
}

void DrawSpring(DrawingSurface &surface, std::int32_t X1, std::int32_t Y1, std::int32_t X2, std::int32_t Y2,
                std::int32_t N)
{
    surface.setPenColor(clBlack);
    const std::int64_t dx = std::int64_t{X2} - X1;
    const std::int64_t dy = std::int64_t{Y2} - Y1;
    const SpringAxis axis = springAxis(dx, dy);

    // The bar is horizontal whatever the spring's direction. Neither the brush
    // nor the pen style is set before it: its fill is the caller's brush.
    if (axis.length != 0.0f)
        surface.setPenColor(clRed);
    surface.setPenWidth(BarPenWidth);
    surface.Rectangle(coordinate(X1 - BarHalfWidth), coordinate(Y1 - BarHeight), coordinate(X1 + BarHalfWidth), Y1);

    surface.setPenColor(clBlack);
    surface.setPenWidth(1);
    surface.setPenStyle(PenStyle::psSolid);
    surface.setBrushColor(clBlack);
    surface.MoveTo(X1, Y1);

    if (N >= 1) {
        const long double steps = static_cast<long double>(2 * std::int64_t{N}); // 2N
        // The point at step k of 2N along the axis, in extended precision:
        // P(k) = P1 + (d k) / (2N).
        const auto axisX = [&](std::int64_t k) { return X1 + (static_cast<long double>(dx) * k) / steps; };
        const auto axisY = [&](std::int64_t k) { return Y1 + (static_cast<long double>(dy) * k) / steps; };

        // Straight from the fixed end to step 2; these points are truncated
        // without passing through single precision.
        surface.LineTo(coordinate(axisX(2)), coordinate(axisY(2)));

        // Vertex k lies 10 px beside axis point k, on alternating sides:
        // q = p + sigma (-ax, ay) with sigma = (-1)^k.
        for (std::int64_t k = 3; k <= 2 * std::int64_t{N} - 3; ++k) {
            const float px = static_cast<float>(axisX(k));
            const float py = static_cast<float>(axisY(k));
            const long double sigma = (k % 2 == 0) ? 1.0L : -1.0L;
            const float qx = static_cast<float>(px - sigma * axis.ax);
            const float qy = static_cast<float>(py + sigma * axis.ay);
            surface.LineTo(coordinate(static_cast<long double>(qx)), coordinate(static_cast<long double>(qy)));
        }

        // Back on the axis at step 2N - 2, then straight to the mass.
        const std::int64_t leadOut = 2 * std::int64_t{N} - 2;
        surface.LineTo(coordinate(axisX(leadOut)), coordinate(axisY(leadOut)));
    }
    surface.LineTo(X2, Y2);

    // The ball, right-hand corner first.
    surface.Ellipse(coordinate(X2 + BallRadius), coordinate(Y2 - BallRadius), coordinate(X2 - BallRadius),
                    coordinate(Y2 + BallRadius));
}

} // namespace vibrona
