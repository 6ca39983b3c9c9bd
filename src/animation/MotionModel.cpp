// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation/MotionModel.h"

#include "platform/Errors.h"
#include "platform/ExtendedPrecision.h"
#include "platform/TextToFloat.h"

#include <cmath>
#include <limits>

namespace vibrona {

namespace {

// The extended value nearest to pi, 3.14159265358979323851...
constexpr long double Pi = 3.14159265358979323846264338327950288L;
constexpr long double DegreesPerHalfTurn = 180.0L;

// 2^63: from here on an extended value has no 64-bit integer, and the x87
// sine no longer reduces its argument.
constexpr long double TwoTo63 = 9223372036854775808.0L;

void readInto(double &field, const ParameterTexts &texts, ParameterInput input)
{
    field = storeDouble(textToFloat(texts.text(input), texts.decimalSeparator()));
}

} // namespace

double storeDouble(long double value)
{
    const auto stored = static_cast<double>(value);
    if (std::isinf(stored) && !std::isinf(value))
        throw EOverflow();
    return stored;
}

void readParameters(OscillationState &state, const ParameterTexts &texts)
{
    readInto(state.A, texts, ParameterInput::AmplitudeA);
    readInto(state.Omega1, texts, ParameterInput::Omega1);
    readInto(state.B, texts, ParameterInput::AmplitudeB);
    readInto(state.Omega2, texts, ParameterInput::Omega2);
    readInto(state.Phi, texts, ParameterInput::PhaseDegrees);

    // Phi [rad] = (pi x Phi [deg]) / 180: the product first, then the quotient.
    state.Phi = static_cast<double>((Pi * state.Phi) / DegreesPerHalfTurn);
    state.T = 0.0;
    state.Dt = TimeStep;
}

long double motionSine(long double argument)
{
    if (std::fabs(argument) >= TwoTo63)
        return 0.0L;
    return std::sin(argument);
}

void computeDisplacement(OscillationState &state)
{
    // X [m] = sin(Omega1 [rad/T] x T) x A [m]
    state.X = static_cast<double>(motionSine(static_cast<long double>(state.Omega1) * state.T) * state.A);
    // Y [m] = sin(Omega2 [rad/T] x T + Phi [rad]) x B [m]
    state.Y = static_cast<double>(
        motionSine(static_cast<long double>(state.Omega2) * state.T + state.Phi) * state.B);
}

void advanceTime(OscillationState &state)
{
    state.T = static_cast<double>(static_cast<long double>(state.T) + state.Dt);
}

std::int32_t pictureCoordinate(long double value)
{
    if (!(std::fabs(value) < TwoTo63))
        throw EInvalidOp();
    const auto truncated = static_cast<std::int64_t>(value);
    constexpr std::int64_t Lowest = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t Highest = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(truncated < Lowest ? Lowest : truncated > Highest ? Highest : truncated);
}

PicturePoint massPoint(const OscillationState &state)
{
    // x [px] = trunc(200 - 5 [px/m] x X [m]),  y [px] = trunc(5 [px/m] x Y [m] + 200)
    return PicturePoint{pictureCoordinate(RestX - PixelsPerMetre * state.X),
                        pictureCoordinate(PixelsPerMetre * state.Y + RestY)};
}

} // namespace vibrona
