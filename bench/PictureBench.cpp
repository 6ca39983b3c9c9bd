// SPDX-License-Identifier: GPL-3.0-or-later
// The cost of one frame's picture: clearing it white and drawing both springs,
// on the QImage surface the window uses, and on a surface that draws nothing
// (the figure's own arithmetic).
#include "animation/MotionModel.h"
#include "picture/DrawSpring.h"
#include "platform/ImageSurface.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>

namespace {

using namespace vibrona;

constexpr QSize PictureSize{377, 673};
constexpr std::int32_t SpringSteps = 30;

class NullSurface final : public DrawingSurface {
public:
    void setPenColor(Color c) override { benchmark::DoNotOptimize(c); }
    void setPenWidth(std::int32_t w) override { benchmark::DoNotOptimize(w); }
    void setPenStyle(PenStyle) override {}
    void setBrushColor(Color c) override { benchmark::DoNotOptimize(c); }
    void MoveTo(std::int32_t x, std::int32_t y) override { benchmark::DoNotOptimize(x + y); }
    void LineTo(std::int32_t x, std::int32_t y) override { benchmark::DoNotOptimize(x + y); }
    void Rectangle(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d) override
    {
        benchmark::DoNotOptimize(a + b + c + d);
    }
    void Ellipse(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d) override
    {
        benchmark::DoNotOptimize(a + b + c + d);
    }
    PixelRect clipRect() const override { return {0, 0, PictureSize.width(), PictureSize.height()}; }
    void fillRect(const PixelRect &r) override { benchmark::DoNotOptimize(r); }
};

// Frames of the default motion, so that the springs take their real shapes.
void drawFrames(benchmark::State &state, DrawingSurface &surface)
{
    OscillationState motion;
    motion.A = 15.0;
    motion.B = 15.0;
    motion.Omega1 = 1.0;
    motion.Omega2 = 2.0;
    motion.Dt = TimeStep;
    for (auto _ : state) {
        computeDisplacement(motion);
        advanceTime(motion);
        surface.setBrushColor(clWhite);
        surface.fillRect(surface.clipRect());
        const PicturePoint mass = massPoint(motion);
        DrawSpring(surface, TopAnchor.x, TopAnchor.y, mass.x, mass.y, SpringSteps);
        DrawSpring(surface, LeftAnchor.x, LeftAnchor.y, mass.x, mass.y, SpringSteps);
    }
}

void BM_FrameOnImage(benchmark::State &state)
{
    int repaints = 0;
    ImageSurface surface([] { return ImageSurface::Geometry{PictureSize, 1.0}; }, [&] { ++repaints; });
    drawFrames(state, surface);
    benchmark::DoNotOptimize(surface.image());
}
BENCHMARK(BM_FrameOnImage)->Unit(benchmark::kMicrosecond);

void BM_FrameArithmeticOnly(benchmark::State &state)
{
    NullSurface surface;
    drawFrames(state, surface);
}
BENCHMARK(BM_FrameArithmeticOnly)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
