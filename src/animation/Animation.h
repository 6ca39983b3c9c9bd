// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "animation/AnimationWindow.h"
#include "animation/OscillationState.h"

#include <cstdint>

namespace vibrona {

// The four operations behind the window's Start, Stop, Clear and slow-mode
// controls, and the frame loop that Start runs itself, on the UI thread.
//
// There is no timer: every frame ends by pumping the window's events, and
// that is where Stop, Clear, the slow mode and a further Start run. A Start
// delivered there runs a nested frame loop that restarts the motion at T = 0;
// the loop below waits in its pumping step until the nested one ends. One Stop
// ends them all, since each loop tests StopRequested when its pumping returns.
class Animation {
public:
    // How many frame loops may be nested. Each level holds one Start, one
    // pumping and Qt's dispatch of a click on the stack; the monkey test
    // nests to this bound in the sanitized build, whose frames are the
    // largest, well inside the UI thread's 8 MB.
    static constexpr int MaxDepth = 64;

    // Pauses of a frame [ms]: always 5, plus twice DelayMs.
    static constexpr std::int32_t FramePauseMs = 5;
    static constexpr std::int32_t SlowModeDelayMs = 50;

    // The springs' zig-zag has 2 x 30 steps.
    static constexpr std::int32_t SpringSteps = 30;

    // The range both chart axes get at every Start [m].
    static constexpr double AxisMinimum = -20.0;
    static constexpr double AxisMaximum = 20.0;

    explicit Animation(AnimationWindow &window, OscillationState &state = oscillation);

    // Start: fixes the axes at -20 ... 20, disables Clear, clears
    // StopRequested, reads the parameters and runs frames until a frame ends
    // with StopRequested set. Errors (AxisException, EConvertError,
    // EOverflow, EInvalidOp) leave it with what was done before them.
    //
    // At MaxDepth a further Start does all of that except running its own
    // loop: the innermost loop goes on from T = 0 with the new parameters,
    // which looks the same to the user and cannot exhaust the stack.
    void start();
    // Stop: enables Clear, then asks every running loop to end.
    void stop();
    // Clear: removes the chart's point; the picture keeps its figure.
    void clear();
    // The slow-mode check box changed: DelayMs from its state.
    void slowModeChanged();

    // How many frame loops are running, nested in each other.
    int depth() const { return m_depth; }

private:
    void runFrames();
    void drawFrame();

    AnimationWindow &m_window;
    OscillationState &m_state;
    int m_depth = 0;
};

} // namespace vibrona
