// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "picture/DrawingSurface.h"

#include <cstdint>

namespace vibrona {

// The spring's axis in the figure's number formats: the length and the
// direction in single precision, and the 10-pixel zig-zag offset (ax, ay).
struct SpringAxis {
    float length = 0.0f; // L [px]
    float angle = 0.0f;  // theta [rad], with tan(theta) = dx / dy; 0 where dx = dy = 0
    float ax = 0.0f;     // single(cos(theta) x 10) [px]
    float ay = 0.0f;     // single(sin(theta) x 10) [px]
};

SpringAxis springAxis(std::int64_t dx, std::int64_t dy);

// One spring of the mechanism: a 40 x 5 px mount bar at the fixed end
// (X1, Y1), a zig-zag polyline of 2N equal steps along the axis to the mass
// at (X2, Y2), and the mass as a black ball of 12 px diameter.
//
// The bar is outlined red (black where both ends coincide) with a 5 px pen
// and filled with whatever brush the surface holds on entry. The routine
// leaves a black 1 px solid pen, a black brush and the current position at
// the mass.
//
// For N < 1 it draws the bar, one straight line and the ball.
void DrawSpring(DrawingSurface &surface, std::int32_t X1, std::int32_t Y1, std::int32_t X2, std::int32_t Y2,
                std::int32_t N);

} // namespace vibrona
