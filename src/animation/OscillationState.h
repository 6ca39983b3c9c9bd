// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace vibrona {

// The animation's variables. One instance lives for the whole program
// (`oscillation` below), zero at start; it is only touched on the UI thread.
struct OscillationState {
    double A = 0.0;      // amplitude of the horizontal oscillation [m]
    double B = 0.0;      // amplitude of the vertical oscillation [m]
    double X = 0.0;      // current horizontal displacement [m]
    double Y = 0.0;      // current vertical displacement [m]
    double T = 0.0;      // simulated time, a running sum of Dt
    double Dt = 0.0;     // time step; 0.01 from the first Start on
    double Omega1 = 0.0; // angular frequency of the horizontal oscillation [rad per unit of T]
    double Omega2 = 0.0; // angular frequency of the vertical oscillation [rad per unit of T]
    double Phi = 0.0;    // phase of the vertical oscillation [rad], typed in degrees
    std::int32_t DelayMs = 0;    // extra pause at two points of each frame: 0, or 50 in slow mode
    bool StopRequested = false;  // tested at the end of every frame
};

// The program-wide animation state.
extern OscillationState oscillation;

} // namespace vibrona
