// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture/DrawSpring.h"

#include "RecordingSurface.h"
#include "TableTest.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace vibrona {
namespace {

using testing::Point;
using testing::RecordingSurface;

constexpr std::int32_t Max32 = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t Min32 = std::numeric_limits<std::int32_t>::min();

// The upper spring of the first frame at rest, (200, 10) to (200, 200): the
// 55 zig-zag vertices alternate 10 px either side of the vertical axis.
const std::vector<Point> upperZigZag = {
    {210, 19},  {190, 22},  {210, 25},  {190, 29},  {210, 32},  {190, 35},  {210, 38},  {190, 41},  {210, 44},
    {190, 48},  {210, 51},  {190, 54},  {210, 57},  {190, 60},  {210, 63},  {190, 67},  {210, 70},  {190, 73},
    {210, 76},  {190, 79},  {210, 82},  {190, 86},  {210, 89},  {190, 92},  {210, 95},  {190, 98},  {210, 101},
    {190, 105}, {210, 108}, {190, 111}, {210, 114}, {190, 117}, {210, 120}, {190, 124}, {210, 127}, {190, 130},
    {210, 133}, {190, 136}, {210, 139}, {190, 143}, {210, 146}, {190, 149}, {210, 152}, {190, 155}, {210, 158},
    {190, 162}, {210, 165}, {190, 168}, {210, 171}, {190, 174}, {210, 177}, {190, 181}, {210, 184}, {190, 187},
    {210, 190}};

std::vector<Point> upperSpringLines()
{
    std::vector<Point> lines{{200, 16}};
    lines.insert(lines.end(), upperZigZag.begin(), upperZigZag.end());
    lines.push_back({200, 193});
    lines.push_back({200, 200});
    return lines;
}

// The left spring at rest, (10, 200) to (200, 200), is the upper one mirrored
// in the diagonal through the mass: odd vertices above the axis.
std::vector<Point> leftSpringLines()
{
    std::vector<Point> lines{{16, 200}};
    for (const Point &p : upperZigZag)
        lines.push_back({p.y, 400 - p.x});
    lines.push_back({193, 200});
    lines.push_back({200, 200});
    return lines;
}

TEST(DrawSpring, UpperSpringAtRestInFull)
{
    RecordingSurface surface;
    DrawSpring(surface, 200, 10, 200, 200, 30);

    std::vector<std::string> expected = {"Pen.Color 0",      "Pen.Color 255",   "Pen.Width 5",
                                         "Rectangle(180, 5, 220, 10)", "Pen.Color 0", "Pen.Width 1",
                                         "Pen.Style psSolid", "Brush.Color 0",  "MoveTo(200, 10)"};
    for (const Point &p : upperSpringLines())
        expected.push_back("LineTo(" + std::to_string(p.x) + ", " + std::to_string(p.y) + ")");
    expected.push_back("Ellipse(206, 194, 194, 206)");
    EXPECT_EQ(surface.calls(), expected);
}

TEST(DrawSpring, LeftSpringAtRestInFull)
{
    RecordingSurface surface;
    DrawSpring(surface, 10, 200, 200, 200, 30);

    EXPECT_EQ(surface.lines(), leftSpringLines());
    ASSERT_EQ(surface.rectangles().size(), 1u);
    EXPECT_EQ(surface.rectangles()[0].corners, (PixelRect{-10, 195, 30, 200}));
    EXPECT_EQ(surface.calls()[8], "MoveTo(10, 200)");
    EXPECT_EQ(surface.calls().back(), "Ellipse(206, 194, 194, 206)");
}

// What the routine leaves behind is what the next call's bar is filled with.
TEST(DrawSpring, OneFrameFillsTheTopBarWhiteAndTheLeftBarBlack)
{
    RecordingSurface surface;
    surface.setBrushColor(clWhite); // the frame's clearing of the picture
    DrawSpring(surface, 200, 10, 200, 200, 30);
    DrawSpring(surface, 10, 200, 200, 200, 30);

    ASSERT_EQ(surface.rectangles().size(), 2u);
    EXPECT_EQ(surface.rectangles()[0].corners, (PixelRect{180, 5, 220, 10}));
    EXPECT_EQ(surface.rectangles()[0].brush, clWhite);
    EXPECT_EQ(surface.rectangles()[0].pen, clRed);
    EXPECT_EQ(surface.rectangles()[1].corners, (PixelRect{-10, 195, 30, 200}));
    EXPECT_EQ(surface.rectangles()[1].brush, clBlack);
    EXPECT_EQ(surface.rectangles()[1].pen, clRed);
    EXPECT_EQ(surface.pen(), clBlack);
    EXPECT_EQ(surface.brush(), clBlack);
}

// A spring given by its ends, with the first and last LineTo points expected.
struct SpringRow : testing::NamedRow {
    std::int32_t x1, y1, x2, y2, n;
    std::vector<Point> head; // from the lead-in on
    std::vector<Point> tail; // up to the end point
    std::size_t lineCount;
    PixelRect bar;
    std::string ellipse;
};

class DrawSpringLines : public ::testing::TestWithParam<SpringRow> {};

TEST_P(DrawSpringLines, DrawsTheExpectedPolyline)
{
    const SpringRow &row = GetParam();
    RecordingSurface surface;
    DrawSpring(surface, row.x1, row.y1, row.x2, row.y2, row.n);

    const std::vector<Point> &lines = surface.lines();
    ASSERT_EQ(lines.size(), row.lineCount);
    ASSERT_GE(lines.size(), row.head.size());
    ASSERT_GE(lines.size(), row.tail.size());
    EXPECT_EQ(std::vector<Point>(lines.begin(), lines.begin() + row.head.size()), row.head);
    EXPECT_EQ(std::vector<Point>(lines.end() - row.tail.size(), lines.end()), row.tail);
    ASSERT_EQ(surface.rectangles().size(), 1u);
    EXPECT_EQ(surface.rectangles()[0].corners, row.bar);
    EXPECT_EQ(surface.calls().back(), row.ellipse);
}

const SpringRow springRows[] = {
    {{"ObliqueFromTheTop"}, 200, 10, 125, 274, 30,
     {{197, 18}, {205, 25}, {185, 24}, {203, 34}, {182, 33}},
     {{122, 244}, {140, 254}, {120, 253}, {138, 263}, {127, 265}, {125, 274}},
     58, {180, 5, 220, 10}, "Ellipse(131, 268, 119, 280)"},
    {{"ObliqueFromTheLeft"}, 10, 200, 125, 274, 30,
     {{13, 202}, {21, 195}, {12, 213}, {24, 197}, {16, 215}},
     {{108, 275}, {120, 259}, {111, 277}, {124, 261}, {121, 271}, {125, 274}},
     58, {-10, 195, 30, 200}, "Ellipse(131, 268, 119, 280)"},
    // Odd vertices below the axis, and -37.5, -38.33 truncated toward zero.
    {{"PointingLeftPastTheEdge"}, 10, 200, -40, 200, 30,
     {{8, 200}, {7, 210}, {6, 190}, {5, 210}},
     {{-35, 210}, {-36, 190}, {-37, 210}, {-38, 200}, {-40, 200}},
     58, {-10, 195, 30, 200}, "Ellipse(-34, 194, -46, 206)"},
    // ax = cos(single pi/2) x 10 is not 0: 3 + ax and the like round to just
    // below the whole pixel in single precision, so steps 3, 5, 7 are one short.
    {{"PointingRightNearZero"}, 0, 100, 60, 100, 30,
     {{2, 100}, {2, 90}, {4, 110}, {4, 90}, {6, 110}, {6, 90}, {8, 110}, {9, 90}, {10, 110}, {11, 90}},
     {{58, 100}, {60, 100}},
     58, {-20, 95, 20, 100}, "Ellipse(66, 94, 54, 106)"},
    {{"VerticalPointingUp"}, 200, 300, 200, 100, 30,
     {{200, 293}, {210, 290}, {190, 286}, {210, 283}},
     {{200, 100}},
     58, {180, 295, 220, 300}, "Ellipse(206, 94, 194, 106)"},
    {{"ThreeStepsGiveOneVertex"}, 200, 10, 200, 200, 3,
     {{200, 73}, {210, 105}, {200, 136}, {200, 200}}, {},
     4, {180, 5, 220, 10}, "Ellipse(206, 194, 194, 206)"},
    {{"TwoStepsGiveNoVertex"}, 200, 10, 200, 200, 2,
     {{200, 105}, {200, 105}, {200, 200}}, {},
     3, {180, 5, 220, 10}, "Ellipse(206, 194, 194, 206)"},
    {{"OneStepRunsToTheEndAndBack"}, 200, 10, 200, 200, 1,
     {{200, 200}, {200, 10}, {200, 200}}, {},
     3, {180, 5, 220, 10}, "Ellipse(206, 194, 194, 206)"},
    // No caller passes N < 1: the bar, one straight line and the ball.
    {{"ZeroStepsGiveAStraightLine"}, 200, 10, 200, 200, 0,
     {{200, 200}}, {},
     1, {180, 5, 220, 10}, "Ellipse(206, 194, 194, 206)"},
    {{"NegativeStepsGiveAStraightLine"}, 200, 10, 150, 120, -7,
     {{150, 120}}, {},
     1, {180, 5, 220, 10}, "Ellipse(156, 114, 144, 126)"},
    // Beyond the 32-bit domain: squares and step products in 64 bits, so the
    // lead-in still points toward the far mass.
    {{"MassAtTheSaturatedCorner"}, 200, 10, Max32, Min32, 30,
     {{71582981, -71582778}}, {{Max32, Min32}},
     58, {180, 5, 220, 10}, "Ellipse(2147483647, -2147483648, 2147483641, -2147483642)"},
    {{"MassAtTheOppositeCorner"}, 10, 200, Min32, Max32, 30,
     {{-71582778, 71582981}}, {{Min32, Max32}},
     58, {-10, 195, 30, 200}, "Ellipse(-2147483642, 2147483641, -2147483648, 2147483647)"},
};

INSTANTIATE_TEST_SUITE_P(Springs, DrawSpringLines, ::testing::ValuesIn(springRows), testing::RowName());

TEST(DrawSpring, BothEndsEqualDrawABlackBarAndACollapsedSpring)
{
    RecordingSurface surface;
    DrawSpring(surface, 120, 80, 120, 80, 30);

    ASSERT_EQ(surface.rectangles().size(), 1u);
    EXPECT_EQ(surface.rectangles()[0].pen, clBlack);
    EXPECT_EQ(surface.rectangles()[0].corners, (PixelRect{100, 75, 140, 80}));
    const std::vector<Point> &lines = surface.lines();
    ASSERT_EQ(lines.size(), 58u);
    EXPECT_EQ(lines.front(), (Point{120, 80}));
    EXPECT_EQ(lines[lines.size() - 2], (Point{120, 80}));
    EXPECT_EQ(lines.back(), (Point{120, 80}));
    // The vertices zig-zag sideways, as the upper spring at rest does.
    EXPECT_EQ(lines[1], (Point{130, 80}));
    EXPECT_EQ(lines[2], (Point{110, 80}));
    EXPECT_EQ(surface.calls().back(), "Ellipse(126, 74, 114, 86)");
}

struct AxisRow : testing::NamedRow {
    std::int64_t dx, dy;
    float length, angle, ax, ay;
};

class SpringAxisValues : public ::testing::TestWithParam<AxisRow> {};

TEST_P(SpringAxisValues, AreTheSinglePrecisionValues)
{
    const AxisRow &row = GetParam();
    const SpringAxis axis = springAxis(row.dx, row.dy);
    EXPECT_EQ(axis.length, row.length);
    EXPECT_EQ(axis.angle, row.angle);
    EXPECT_FLOAT_EQ(axis.ax, row.ax);
    EXPECT_FLOAT_EQ(axis.ay, row.ay);
}

const AxisRow axisRows[] = {
    {{"Down"}, 0, 190, 190.0f, 0.0f, 10.0f, 0.0f},
    {{"Right"}, 190, 0, 190.0f, std::bit_cast<float>(0x3FC90FDBu), -4.37113897e-7f, 10.0f},
    {{"Left"}, -50, 0, 50.0f, std::bit_cast<float>(0x4096CBE4u), 1.19248810e-7f, -10.0f},
    {{"ObliqueFromTheTop"}, -75, 264, 274.446716f, -0.276798159f, 9.61935329f, -2.73277092f},
    {{"ObliqueFromTheLeft"}, 115, 74, 136.751602f, 0.999019504f, 5.41127110f, 8.40940857f},
    {{"NoLength"}, 0, 0, 0.0f, 0.0f, 10.0f, 0.0f},
};

INSTANTIATE_TEST_SUITE_P(Directions, SpringAxisValues, ::testing::ValuesIn(axisRows), testing::RowName());

} // namespace
} // namespace vibrona
