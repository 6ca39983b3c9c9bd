// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture/DrawSpring.h"
#include "platform/ImageSurface.h"

#include "QtPrinting.h"
#include "TableTest.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cstdint>
#include <limits>

namespace vibrona {
namespace {

constexpr QSize PictureSize{377, 673};

// A surface the size of the picture, counting its requests for a repaint.
class ImageSurfaceTest : public ::testing::Test {
protected:
    ImageSurface surface{[this] { return ImageSurface::Geometry{PictureSize, ratio}; }, [this] { ++repaints; }};
    qreal ratio = 1.0;
    int repaints = 0;

    // One frame's picture: cleared white, then both springs to the mass.
    void drawFrame(std::int32_t mx, std::int32_t my)
    {
        surface.setBrushColor(clWhite);
        surface.fillRect(surface.clipRect());
        DrawSpring(surface, 200, 10, mx, my, 30);
        DrawSpring(surface, 10, 200, mx, my, 30);
    }
    QColor pixel(int x, int y) const { return surface.image().pixelColor(QPoint(x, y) * int(ratio)); }
};

TEST_F(ImageSurfaceTest, IsCreatedOnFirstUseAtTheControlsSize)
{
    EXPECT_TRUE(surface.image().isNull());
    EXPECT_EQ(surface.clipRect(), (PixelRect{0, 0, 377, 673}));
    EXPECT_EQ(surface.image().size(), PictureSize);
    EXPECT_EQ(pixel(0, 0), QColor(Qt::white));
    EXPECT_EQ(repaints, 1) << "a new image is shown whole";
    EXPECT_EQ(surface.takeChangedArea(), QRect(0, 0, 377, 673));
}

TEST_F(ImageSurfaceTest, DefaultFirstFrame)
{
    drawFrame(200, 200);
    EXPECT_GT(repaints, 0);
    EXPECT_EQ(pixel(200, 200), QColor(Qt::black)) << "the ball's centre";
    EXPECT_EQ(pixel(204, 200), QColor(Qt::black));
    EXPECT_EQ(pixel(200, 196), QColor(Qt::black));
    EXPECT_EQ(pixel(180, 5), QColor(Qt::red)) << "the top bar's outline";
    EXPECT_EQ(pixel(219, 9), QColor(Qt::red));
    EXPECT_EQ(pixel(300, 400), QColor(Qt::white)) << "nothing drawn there";
    EXPECT_EQ(pixel(376, 672), QColor(Qt::white));
    // The left bar runs off the picture at x = -10 and is clipped.
    EXPECT_EQ(pixel(0, 197), QColor(Qt::red));
}

// Clearing to the last clearing's colour fills only what was drawn since;
// the changed area tells the control what to repaint.
TEST_F(ImageSurfaceTest, SecondFrameChangesOnlyTheSpringsArea)
{
    drawFrame(200, 200);
    surface.takeChangedArea();
    drawFrame(250, 300);
    const QRect changed = surface.takeChangedArea();
    EXPECT_TRUE(changed.contains(QRect(0, 0, 256, 306))) << "both springs, both frames";
    EXPECT_FALSE(changed.contains(QPoint(300, 400)));
    EXPECT_EQ(pixel(200, 200), QColor(Qt::white)) << "the first frame's ball is cleared";
    EXPECT_EQ(pixel(250, 300), QColor(Qt::black));
}

TEST_F(ImageSurfaceTest, ClearingToAnotherColourFillsEverything)
{
    drawFrame(200, 200);
    surface.setBrushColor(clRed);
    surface.fillRect(surface.clipRect());
    EXPECT_EQ(pixel(376, 672), QColor(Qt::red));
    surface.setBrushColor(clWhite);
    surface.fillRect(surface.clipRect());
    EXPECT_EQ(pixel(376, 672), QColor(Qt::white));
}

TEST_F(ImageSurfaceTest, OnePixelLinesStayOnePixelWide)
{
    drawFrame(200, 200);
    // The lead-in of the upper spring, (200, 10) to (200, 16), is vertical.
    EXPECT_EQ(pixel(200, 14), QColor(Qt::black));
    EXPECT_EQ(pixel(199, 14), QColor(Qt::white));
    EXPECT_EQ(pixel(201, 14), QColor(Qt::white));
}

struct LineRow : testing::NamedRow {
    qreal ratio;
    QPoint from, to;
    QPoint onTheLine;
    QPoint offTheLine;
};

class ImageSurfaceLine : public ImageSurfaceTest, public ::testing::WithParamInterface<LineRow> {};

// Lines inside the image are set pixel by pixel, others go through QPainter:
// both must put the line where it belongs.
TEST_P(ImageSurfaceLine, CoversItsPixels)
{
    ratio = GetParam().ratio;
    surface.setBrushColor(clWhite);
    surface.fillRect(surface.clipRect());
    surface.MoveTo(GetParam().from.x(), GetParam().from.y());
    surface.LineTo(GetParam().to.x(), GetParam().to.y());
    EXPECT_EQ(pixel(GetParam().onTheLine.x(), GetParam().onTheLine.y()), QColor(Qt::black));
    EXPECT_EQ(pixel(GetParam().offTheLine.x(), GetParam().offTheLine.y()), QColor(Qt::white));
}

const LineRow lineRows[] = {
    {{"InsideAcross"}, 1.0, {10, 10}, {110, 60}, {60, 35}, {60, 38}},
    {{"InsideBothEndsSet"}, 1.0, {30, 30}, {40, 30}, {40, 30}, {41, 30}},
    {{"InsideOnePoint"}, 1.0, {50, 50}, {50, 50}, {50, 50}, {51, 50}},
    {{"UpToTheLastPixel"}, 1.0, {376, 0}, {376, 672}, {376, 672}, {375, 672}},
    {{"CrossingTheLeftEdge"}, 1.0, {-40, 200}, {40, 200}, {0, 200}, {0, 203}},
    {{"FromFarAway"}, 1.0, {200, 200}, {200, std::numeric_limits<std::int32_t>::max()}, {200, 600}, {203, 600}},
    {{"OnADenserScreen"}, 2.0, {10, 10}, {110, 60}, {60, 35}, {60, 38}},
};

INSTANTIATE_TEST_SUITE_P(Lines, ImageSurfaceLine, ::testing::ValuesIn(lineRows), testing::RowName());

TEST_F(ImageSurfaceTest, ColourValuesHaveRedInTheLowestByte)
{
    EXPECT_EQ(ImageSurface::toQColor(clRed), QColor(255, 0, 0));
    EXPECT_EQ(ImageSurface::toQColor(0xFF0000), QColor(0, 0, 255));
    EXPECT_EQ(ImageSurface::toQColor(clWhite), QColor(255, 255, 255));
    EXPECT_EQ(ImageSurface::toQColor(clBlack), QColor(0, 0, 0));
}

TEST_F(ImageSurfaceTest, HighDensityScreensGetADenserImageInTheSameCoordinates)
{
    ratio = 2.0;
    EXPECT_EQ(surface.clipRect(), (PixelRect{0, 0, 377, 673}));
    EXPECT_EQ(surface.image().size(), PictureSize * 2);
    drawFrame(200, 200);
    EXPECT_EQ(pixel(200, 200), QColor(Qt::black));
    EXPECT_EQ(pixel(300, 400), QColor(Qt::white));
}

struct FarRow : testing::NamedRow {
    std::int32_t mx, my;
};

class ImageSurfaceFarMass : public ImageSurfaceTest, public ::testing::WithParamInterface<FarRow> {};

// A mass at a saturated coordinate: the springs run off the picture
// without a fault, and the anchors' bars are still there.
TEST_P(ImageSurfaceFarMass, DrawsWithoutFault)
{
    drawFrame(GetParam().mx, GetParam().my);
    EXPECT_EQ(pixel(180, 5), QColor(Qt::red));
}

constexpr std::int32_t Max32 = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t Min32 = std::numeric_limits<std::int32_t>::min();

const FarRow farRows[] = {
    {{"BottomRight"}, Max32, Max32},
    {{"TopLeft"}, Min32, Min32},
    {{"TopRight"}, Max32, Min32},
    {{"FarLeftOnTheRow"}, Min32, 200},
};

INSTANTIATE_TEST_SUITE_P(Extremes, ImageSurfaceFarMass, ::testing::ValuesIn(farRows), testing::RowName());

} // namespace
} // namespace vibrona
