// SPDX-License-Identifier: GPL-3.0-or-later
//
// DrawSpring with any ends and any number of turns.
//
// Input: X1, Y1, X2, Y2 and N in turn, each from one selector byte and the
// bytes it asks for (missing bytes are 0). The extremes, zero and small
// values are each as likely as an arbitrary 32-bit pattern:
//   0 INT32_MIN   1 INT32_MAX   2 zero   3 a signed byte   4 INT32_MIN + a byte
//   5 INT32_MAX - a byte   6 a signed 16-bit value   7 any 32-bit value
// An N above MaxTurns is taken modulo MaxTurns + 1, so that a figure stays
// quick to draw; negative N and 0 stay as they are.
//
// The figure must have the bar at the fixed end and the ball at the mass,
// exactly the lines its zig-zag has, from the fixed end through the axis
// points of steps 2 and 2N - 2 to the mass, every vertex beside the segment
// between the ends, and leave the pen and brush as documented.

#include "picture/DrawSpring.h"
#include "picture/DrawingSurface.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

using namespace vibrona;

constexpr std::int32_t MaxTurns = 4096;
constexpr int SelectorKinds = 8;

// How far a vertex may lie outside the box spanned by the two ends: the
// zig-zag's 10 px, the truncation to a pixel, and two roundings to single
// precision at the coordinates' magnitude.
constexpr std::int64_t ZigZagReach = 10;
constexpr std::int64_t TruncationReach = 1;
constexpr int SingleRoundings = 2;

// The figure's parts as documented: a 40 x 5 px bar, a 12 px ball, and the
// straight lines of two steps at each end of the zig-zag.
constexpr std::int64_t BarWidth = 40;
constexpr std::int64_t BarHeight = 5;
constexpr std::int64_t BallDiameter = 12;
constexpr std::int64_t LeadInStep = 2;
constexpr std::int64_t LeadOutSteps = 2;
// An axis point is truncated to its pixel: less than a pixel away, plus a
// little for the rounding of this check's own arithmetic.
constexpr long double AxisPointTolerance = 1.0L + 1.0e-6L;

class ByteReader {
public:
    ByteReader(const std::uint8_t *data, std::size_t size) : m_data(data), m_size(size) {}

    template <typename Int>
    Int next()
    {
        unsigned char bytes[sizeof(Int)] = {};
        for (unsigned char &byte : bytes)
            byte = m_position < m_size ? m_data[m_position++] : 0;
        Int value;
        std::memcpy(&value, bytes, sizeof value);
        return value;
    }

    std::int32_t coordinate()
    {
        using Limits = std::numeric_limits<std::int32_t>;
        switch (next<std::uint8_t>() % SelectorKinds) {
        case 0:
            return Limits::min();
        case 1:
            return Limits::max();
        case 2:
            return 0;
        case 3:
            return next<std::int8_t>();
        case 4:
            return Limits::min() + next<std::uint8_t>();
        case 5:
            return Limits::max() - next<std::uint8_t>();
        case 6:
            return next<std::int16_t>();
        default:
            return next<std::int32_t>();
        }
    }

private:
    const std::uint8_t *m_data;
    std::size_t m_size;
    std::size_t m_position = 0;
};

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "DrawSpring: %s\n", what);
    std::abort();
}

struct PixelPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const PixelPoint &, const PixelPoint &) = default;
};

struct Spring {
    PixelPoint fixedEnd;
    PixelPoint mass;
    std::int32_t turns = 0;
};

struct Box {
    std::int64_t left, top, right, bottom;
    bool contains(std::int64_t x, std::int64_t y) const { return x >= left && x <= right && y >= top && y <= bottom; }
};

// The box spanned by the two ends, widened by what the zig-zag and the
// roundings may add.
Box reachOf(const Spring &spring)
{
    const auto [x1, y1] = spring.fixedEnd;
    const auto [x2, y2] = spring.mass;
    const std::int64_t magnitude = std::max({std::abs(std::int64_t{x1}), std::abs(std::int64_t{y1}),
                                             std::abs(std::int64_t{x2}), std::abs(std::int64_t{y2})}) +
                                   ZigZagReach;
    const float single = static_cast<float>(magnitude);
    const auto spacing =
        static_cast<std::int64_t>(std::ceil(std::nextafter(single, std::numeric_limits<float>::infinity()) - single));
    const std::int64_t reach = ZigZagReach + TruncationReach + SingleRoundings * spacing;
    return {std::min(x1, x2) - reach, std::min(y1, y2) - reach, std::max(x1, x2) + reach,
            std::max(y1, y2) + reach};
}

// A rectangle given by two corners in either order covers the point, and
// is no larger than its drawn size (it may be smaller where it meets the
// edge of the coordinate range).
bool covers(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, PixelPoint point,
            std::int64_t width, std::int64_t height)
{
    const auto spans = [](std::int64_t a, std::int64_t b, std::int64_t at, std::int64_t size) {
        return std::min(a, b) <= at && at <= std::max(a, b) && std::abs(b - a) <= size;
    };
    return spans(x1, x2, point.x, width) && spans(y1, y2, point.y, height);
}

// Counts the calls and checks each against the spring it draws.
class CountingSurface : public DrawingSurface {
public:
    explicit CountingSurface(const Spring &spring) : m_spring(spring), m_reach(reachOf(spring)) {}

    void setPenColor(Color color) override { m_pen = color; }
    void setPenWidth(std::int32_t width) override { m_penWidth = width; }
    void setPenStyle(PenStyle) override { m_penStyleSet = true; }
    void setBrushColor(Color color) override { m_brush = color; }

    void MoveTo(std::int32_t x, std::int32_t y) override
    {
        if (m_lineCount != 0)
            fail("MoveTo inside the polyline");
        ++m_moveCount;
        m_start = {x, y};
    }
    void LineTo(std::int32_t x, std::int32_t y) override
    {
        if (!m_reach.contains(x, y)) {
            std::fprintf(stderr, "vertex (%d, %d)\n", x, y);
            fail("a vertex lies away from the spring's axis");
        }
        if (m_lineCount == 0)
            m_firstEnd = {x, y};
        ++m_lineCount;
        m_previousEnd = m_lastEnd;
        m_lastEnd = {x, y};
    }
    void Rectangle(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) override
    {
        if (m_moveCount != 0)
            fail("the bar drawn after the polyline began");
        if (!covers(x1, y1, x2, y2, m_spring.fixedEnd, BarWidth, BarHeight)) {
            std::fprintf(stderr, "bar (%d, %d, %d, %d)\n", x1, y1, x2, y2);
            fail("the bar is not at the fixed end");
        }
        ++m_rectangleCount;
    }
    void Ellipse(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) override
    {
        if (!covers(x1, y1, x2, y2, m_spring.mass, BallDiameter, BallDiameter)) {
            std::fprintf(stderr, "ball (%d, %d, %d, %d)\n", x1, y1, x2, y2);
            fail("the ball is not at the mass");
        }
        ++m_ellipseCount;
    }
    PixelRect clipRect() const override { return {0, 0, 0, 0}; }
    void fillRect(const PixelRect &) override { fail("fillRect is not part of the spring"); }

    std::int64_t lineCount() const { return m_lineCount; }
    int moveCount() const { return m_moveCount; }
    int rectangleCount() const { return m_rectangleCount; }
    int ellipseCount() const { return m_ellipseCount; }
    PixelPoint start() const { return m_start; }
    PixelPoint firstEnd() const { return m_firstEnd; }
    PixelPoint previousEnd() const { return m_previousEnd; }
    PixelPoint lastEnd() const { return m_lastEnd; }
    Color pen() const { return m_pen; }
    std::int32_t penWidth() const { return m_penWidth; }
    bool penStyleSet() const { return m_penStyleSet; }
    Color brush() const { return m_brush; }

private:
    Spring m_spring;
    Box m_reach;
    std::int64_t m_lineCount = 0;
    int m_moveCount = 0;
    int m_rectangleCount = 0;
    int m_ellipseCount = 0;
    PixelPoint m_start;
    PixelPoint m_firstEnd;
    PixelPoint m_previousEnd;
    PixelPoint m_lastEnd;
    // A pen and brush that the routine must replace.
    Color m_pen = clWhite;
    std::int32_t m_penWidth = 0;
    bool m_penStyleSet = false;
    Color m_brush = clWhite;
};

// The polyline of N turns: straight to step 2, the 2N - 5 vertices of steps
// 3 ... 2N - 3, back to the axis at step 2N - 2, then to the mass. With one
// or two turns there are no vertices, but both axis points are still there;
// with none, one straight line.
std::int64_t expectedLines(std::int32_t turns)
{
    if (turns >= 3)
        return 2 * std::int64_t{turns} - 2;
    if (turns >= 1)
        return 3;
    return 1;
}

// The point `steps` of the 2N equal steps from the fixed end lies within a
// pixel of the one a pixel keeps (the truncation toward zero).
bool onAxisAtStep(const Spring &spring, std::int64_t step, PixelPoint pixel)
{
    const long double stepCount = 2.0L * spring.turns;
    const auto near = [&](std::int32_t from, std::int32_t to, std::int32_t at) {
        const long double exact = from + (static_cast<long double>(to) - from) * step / stepCount;
        return std::fabs(exact - at) < AxisPointTolerance;
    };
    return near(spring.fixedEnd.x, spring.mass.x, pixel.x) && near(spring.fixedEnd.y, spring.mass.y, pixel.y);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    ByteReader reader(data, size);
    Spring spring;
    spring.fixedEnd.x = reader.coordinate();
    spring.fixedEnd.y = reader.coordinate();
    spring.mass.x = reader.coordinate();
    spring.mass.y = reader.coordinate();
    spring.turns = reader.coordinate();
    if (spring.turns > MaxTurns)
        spring.turns %= MaxTurns + 1;

    CountingSurface surface(spring);
    DrawSpring(surface, spring.fixedEnd.x, spring.fixedEnd.y, spring.mass.x, spring.mass.y, spring.turns);

    const std::int64_t lines = expectedLines(spring.turns);
    if (surface.lineCount() != lines) {
        std::fprintf(stderr, "N = %d: %lld lines, expected %lld\n", spring.turns,
                     static_cast<long long>(surface.lineCount()), static_cast<long long>(lines));
        fail("the polyline has the wrong number of lines");
    }
    if (surface.rectangleCount() != 1 || surface.moveCount() != 1 || surface.ellipseCount() != 1)
        fail("not one bar, one polyline and one ball");
    if (surface.start() != spring.fixedEnd)
        fail("the polyline does not start at the fixed end");
    if (surface.lastEnd() != spring.mass)
        fail("the polyline does not end at the mass");
    if (spring.turns >= 1) {
        const std::int64_t stepCount = 2 * std::int64_t{spring.turns};
        if (!onAxisAtStep(spring, LeadInStep, surface.firstEnd()))
            fail("the first line does not end on the axis two steps from the fixed end");
        if (!onAxisAtStep(spring, stepCount - LeadOutSteps, surface.previousEnd()))
            fail("the last line does not start on the axis two steps before the mass");
    }
    if (surface.pen() != clBlack || surface.penWidth() != 1 || !surface.penStyleSet() || surface.brush() != clBlack)
        fail("the pen is not black, 1 px and solid, or the brush not black");
    return 0;
}
