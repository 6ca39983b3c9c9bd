// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation/Animation.h"

namespace vibrona {

namespace {

// Counts a running frame loop for as long as it is on the stack, also when
// an error ends it.
class RunDepth {
public:
    explicit RunDepth(int &depth) : m_depth(depth) { ++m_depth; }
    ~RunDepth() { --m_depth; }
    RunDepth(const RunDepth &) = delete;
    RunDepth &operator=(const RunDepth &) = delete;

private:
    int &m_depth;
};

} // namespace

Animation::Animation(AnimationWindow &window, OscillationState &state) : m_window(window), m_state(state) {}

void Animation::start()
{
    // Each axis gets its maximum before its minimum, so only the maximum can
    // be refused: when the user has scrolled the axis's minimum above 20.
    m_window.setAxisAutomatic(ChartAxis::Bottom, false);
    m_window.setAxisAutomatic(ChartAxis::Left, false);
    m_window.setAxisMaximum(ChartAxis::Left, AxisMaximum);
    m_window.setAxisMinimum(ChartAxis::Left, AxisMinimum);
    m_window.setAxisMaximum(ChartAxis::Bottom, AxisMaximum);
    m_window.setAxisMinimum(ChartAxis::Bottom, AxisMinimum);
    m_window.setClearEnabled(false);
    m_state.StopRequested = false;
    readParameters(m_state, m_window.texts());

    if (m_depth >= MaxDepth)
        return; // the innermost loop carries on with T = 0
    const RunDepth running(m_depth);
    runFrames();
}

void Animation::runFrames()
{
    do {
        computeDisplacement(m_state);
        // The chart and the picture show the same instant: this X and Y.
        m_window.clearSeries();
        m_window.addPoint(m_state.X, m_state.Y, SeriesColor);
        m_window.sleep(m_state.DelayMs);
        m_window.sleep(FramePauseMs);
        advanceTime(m_state);
        drawFrame();
        m_window.sleep(m_state.DelayMs);
        m_window.pumpMessages();
    } while (!m_state.StopRequested);
}

void Animation::drawFrame()
{
    DrawingSurface &picture = m_window.picture();
    picture.setBrushColor(clWhite);
    picture.fillRect(picture.clipRect());
    // A coordinate that cannot be represented throws here, after the
    // clearing and before either spring.
    const PicturePoint mass = massPoint(m_state);
    m_window.DrawSpring(TopAnchor.x, TopAnchor.y, mass.x, mass.y, SpringSteps);
    m_window.DrawSpring(LeftAnchor.x, LeftAnchor.y, mass.x, mass.y, SpringSteps);
}

void Animation::stop()
{
    m_window.setClearEnabled(true);
    m_state.StopRequested = true;
}

void Animation::clear()
{
    m_window.clearSeries();
}

void Animation::slowModeChanged()
{
    m_state.DelayMs = m_window.slowModeChecked() ? SlowModeDelayMs : 0;
}

} // namespace vibrona
