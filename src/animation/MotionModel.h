// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "animation/OscillationState.h"

#include <cstdint>
#include <string>

// The physics of the animation: two perpendicular harmonic oscillations of one
// mass, X = A sin(Omega1 T) horizontally and Y = B sin(Omega2 T + Phi)
// vertically, and where the mass appears on the picture.
//
// Every formula is evaluated in the 80-bit extended format, one rounding per
// operation in the order written, and rounded to double only where a field of
// OscillationState is stored.

namespace vibrona {

// The five inputs of the window, in the order they are read.
enum class ParameterInput { AmplitudeA, Omega1, AmplitudeB, Omega2, PhaseDegrees };

// Where the parameter reading takes its texts from (the window's inputs).
class ParameterTexts {
public:
    virtual ~ParameterTexts() = default;
    // The input's text as the user typed it, UTF-8.
    virtual std::string text(ParameterInput input) const = 0;
    // The user's decimal separator at this moment.
    virtual char32_t decimalSeparator() const = 0;
};

// A pixel of the picture: origin top left, x to the right, y downwards.
struct PicturePoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const PicturePoint &, const PicturePoint &) = default;
};

// The fixed ends of the two springs, each 190 px from the mass at rest.
inline constexpr PicturePoint TopAnchor{200, 10};
inline constexpr PicturePoint LeftAnchor{10, 200};
// Where the mass rests (X = Y = 0), and the picture's scale.
inline constexpr long double RestX = 200.0L;
inline constexpr long double RestY = 200.0L;
inline constexpr long double PixelsPerMetre = 5.0L;

// The double nearest to 0.01, the step of T in every frame.
inline constexpr double TimeStep = 0.01;

// Rounds an extended value to the double it is stored in.
// Throws EOverflow when it lies beyond the double range.
double storeDouble(long double value);

// Start's reading of the parameters: A, Omega1, B, Omega2 and the phase in
// degrees, each converted and stored before the next text is read; then Phi
// is turned into radians and the time restarts (T = 0, Dt = 0.01).
// On a rejected text (EConvertError) or a value beyond double (EOverflow)
// the reading stops there: the fields before it are new, the rest untouched.
void readParameters(OscillationState &state, const ParameterTexts &texts);

// X and Y at the current T.
void computeDisplacement(OscillationState &state);

// T <- T + Dt, the sum rounded to double: T is a running sum of steps, so
// after 100 steps it is 1.0000000000000007, not 1.
void advanceTime(OscillationState &state);

// The sine as the motion uses it: of an argument of magnitude 2^63 or more it
// is 0, where the x87 instruction gives up on argument reduction.
long double motionSine(long double argument);

// An extended value truncated toward zero to a picture coordinate.
// Throws EInvalidOp when its magnitude is 2^63 or more (it has no 64-bit
// integer); beyond the 32-bit range it saturates, so that a mass far away is
// drawn off the picture in its true direction.
std::int32_t pictureCoordinate(long double value);

// Where the mass is drawn: (trunc(200 - 5 X), trunc(5 Y + 200)). The picture
// is the chart turned by half a turn: a positive X moves the mass left,
// toward LeftAnchor, a positive Y moves it down, away from TopAnchor.
PicturePoint massPoint(const OscillationState &state);

} // namespace vibrona
