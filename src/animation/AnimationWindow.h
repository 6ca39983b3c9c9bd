// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "animation/MotionModel.h"
#include "picture/DrawingSurface.h"

#include <cstdint>

namespace vibrona {

enum class ChartAxis { Bottom, Left };

// The colour value that makes a chart point take its series' colour.
inline constexpr Color SeriesColor = 0x20000000;

// What the animation drives of the window: the five inputs, the Clear
// button, the slow-mode check box, the chart's axes and series, the picture's
// surface, and the platform's pauses and message pumping. The window
// implements it over its controls; the tests over a scripted stand-in.
class AnimationWindow {
public:
    virtual ~AnimationWindow() = default;

    virtual const ParameterTexts &texts() const = 0;
    virtual void setClearEnabled(bool enabled) = 0;
    virtual bool slowModeChecked() const = 0;

    // The chart's axis ranges. A maximum below the axis's current minimum, or
    // a minimum above its current maximum, throws AxisException and changes
    // nothing; equal values are allowed.
    virtual void setAxisAutomatic(ChartAxis axis, bool automatic) = 0;
    virtual void setAxisMaximum(ChartAxis axis, double value) = 0;
    virtual void setAxisMinimum(ChartAxis axis, double value) = 0;

    // The chart's one point series; both only mark the chart for repainting.
    virtual void clearSeries() = 0;
    virtual void addPoint(double x, double y, Color color) = 0;

    virtual DrawingSurface &picture() = 0;
    // One spring from (X1, Y1) to the mass at (X2, Y2) on the picture.
    virtual void DrawSpring(std::int32_t X1, std::int32_t Y1, std::int32_t X2, std::int32_t Y2, std::int32_t N) = 0;

    // Suspends the thread for at least `ms` milliseconds; 0 only yields.
    virtual void sleep(std::int32_t ms) = 0;
    // Dispatches every waiting event (input, repaints) and returns when none
    // is left. A Start, Stop, Clear or slow-mode click may run inside it.
    virtual void pumpMessages() = 0;
};

} // namespace vibrona
