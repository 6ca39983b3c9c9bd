// SPDX-License-Identifier: GPL-3.0-or-later
//
// Start's reading of the five inputs, then the frames of the motion.
//
// Input: one control byte, then the five texts A, Omega1, B, Omega2, Phi
// separated by '\n'. The last text takes whatever follows the fourth '\n',
// further '\n' included; a text that is missing is empty.
//   bit 0  the decimal separator: 0 '.', 1 ','
//   bit 1  the state before Start: 0 the program's start (all zero), 1 one
//          left by an earlier run, every field distinct
//
// Between the two states every field is seen to be written or kept. Start
// must store each input before the first that is rejected or beyond double
// and leave that one and the rest untouched; Phi turns into radians and the
// time restarts only once all five are stored. Then up to FrameCount frames
// run as the frame loop runs them; only massPoint may end them, with
// EInvalidOp, and only for a displacement too far away for a 64-bit pixel.

#include "animation/MotionModel.h"
#include "animation/OscillationState.h"
#include "platform/Errors.h"
#include "platform/TextToFloat.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace {

using namespace vibrona;

constexpr std::uint8_t CommaBit = 0x01;
constexpr std::uint8_t EarlierRunBit = 0x02;
constexpr char TextBreak = '\n';
constexpr std::size_t InputCount = 5;
constexpr int FrameCount = 1000;

// Pixels are 64-bit integers before they saturate to 32 bits, and the mass
// is drawn 5 px per metre from 200 px: a displacement below the first bound
// always has a pixel, one beyond the second never has.
constexpr double AlwaysDrawable = 1.8e18; // < (2^63 - 200) / 5
constexpr double NeverDrawable = 1.9e18;  // > (2^63 + 200) / 5
constexpr std::int32_t RestPixel = 200;

// How far the stored Phi may lie from the radians computed here, relative:
// one rounding to double and a few in extended. DBL_TRUE_MIN on top covers
// phases that round into the denormal range.
constexpr double RadianTolerance = 2.0 * DBL_EPSILON;

constexpr long double PiExtended = 3.14159265358979323846264338327950288L;
constexpr long double DegreesPerHalfTurn = 180.0L;

constexpr OscillationState ProgramStart{};
// What an earlier Start and its frames may have left behind.
constexpr OscillationState EarlierRun{
    .A = 3.5,
    .B = -7.25,
    .X = 1.125,
    .Y = -2.0625,
    .T = 12.340000000000002,
    .Dt = 0.01,
    .Omega1 = 0.75,
    .Omega2 = -1.5,
    .Phi = 0.39269908169872414,
    .DelayMs = 50,
    .StopRequested = true,
};

struct Input {
    ParameterInput which;
    double OscillationState::*field;
    const char *name;
};
constexpr std::array<Input, InputCount> Inputs{{
    {ParameterInput::AmplitudeA, &OscillationState::A, "A"},
    {ParameterInput::Omega1, &OscillationState::Omega1, "Omega1"},
    {ParameterInput::AmplitudeB, &OscillationState::B, "B"},
    {ParameterInput::Omega2, &OscillationState::Omega2, "Omega2"},
    {ParameterInput::PhaseDegrees, &OscillationState::Phi, "Phi"},
}};

// The fields that only the reading writes, never the frames.
constexpr std::array<double OscillationState::*, 6> ParameterFields{
    &OscillationState::A,      &OscillationState::B,   &OscillationState::Omega1,
    &OscillationState::Omega2, &OscillationState::Phi, &OscillationState::Dt};

class FuzzTexts : public ParameterTexts {
public:
    FuzzTexts(std::array<std::string, InputCount> texts, char32_t separator)
        : m_texts(std::move(texts)), m_separator(separator)
    {
    }
    std::string text(ParameterInput input) const override { return m_texts[static_cast<std::size_t>(input)]; }
    char32_t decimalSeparator() const override { return m_separator; }

private:
    std::array<std::string, InputCount> m_texts;
    char32_t m_separator;
};

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "motion: %s\n", what);
    std::abort();
}

bool sameBits(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

enum class Failure { None, Convert, Overflow };

// The first input that Start cannot store, and the values of those before it.
struct ExpectedReading {
    std::array<double, InputCount> values{};
    std::size_t stored = 0;
    Failure failure = Failure::None;
};

ExpectedReading expectedReading(const FuzzTexts &texts)
{
    ExpectedReading expected;
    for (const Input &input : Inputs) {
        long double value = 0.0L;
        try {
            value = textToFloat(texts.text(input.which), texts.decimalSeparator());
        } catch (const EConvertError &) {
            expected.failure = Failure::Convert;
            return expected;
        }
        const double stored = static_cast<double>(value);
        if (std::isinf(stored)) { // the conversion never gives an infinity itself
            expected.failure = Failure::Overflow;
            return expected;
        }
        expected.values[expected.stored++] = stored;
    }
    return expected;
}

void checkReading(const OscillationState &before, const OscillationState &state, const ExpectedReading &expected,
                  Failure failure)
{
    if (failure != expected.failure) {
        constexpr const char *Outcomes[] = {"read all five texts", "stopped with EConvertError",
                                            "stopped with EOverflow"};
        std::fprintf(stderr, "Start %s, the texts say it %s\n", Outcomes[static_cast<int>(failure)],
                     Outcomes[static_cast<int>(expected.failure)]);
        fail("Start did not stop where the texts say");
    }

    for (std::size_t i = 0; i < Inputs.size(); ++i) {
        const Input &input = Inputs[i];
        const double now = state.*input.field;
        if (i >= expected.stored) {
            if (!sameBits(now, before.*input.field)) {
                std::fprintf(stderr, "%s\n", input.name);
                fail("an input at or after the one that stopped Start changed its field");
            }
        } else if (input.which == ParameterInput::PhaseDegrees) {
            const long double radians = expected.values[i] * (PiExtended / DegreesPerHalfTurn);
            const long double error = std::fabs(static_cast<long double>(now) - radians);
            if (!(error <= std::fabs(radians) * RadianTolerance + DBL_TRUE_MIN)) {
                std::fprintf(stderr, "degrees %a gave %a, expected about %La\n", expected.values[i], now, radians);
                fail("Phi is not the phase in radians");
            }
        } else if (!sameBits(now, expected.values[i])) {
            std::fprintf(stderr, "%s is %a, the text gives %a\n", input.name, now, expected.values[i]);
            fail("an input before the one that stopped Start is not the text's value");
        }
    }

    const bool restarted = expected.failure == Failure::None;
    if (!sameBits(state.T, restarted ? 0.0 : before.T) || !sameBits(state.Dt, restarted ? TimeStep : before.Dt))
        fail(restarted ? "the time did not restart after a complete reading"
                       : "the time changed although the reading stopped");
    if (!sameBits(state.X, before.X) || !sameBits(state.Y, before.Y) ||
        state.DelayMs != before.DelayMs || state.StopRequested != before.StopRequested)
        fail("the reading wrote a field that is not a parameter");
}

// The mass is drawn on the side its displacement points to: a positive X to
// the left of the rest pixel, a positive Y below it.
void checkDirection(double displacement, std::int32_t pixel, bool pixelGrowsWithDisplacement)
{
    const double toward = pixelGrowsWithDisplacement ? displacement : -displacement;
    if ((toward > 0.0 && pixel < RestPixel) || (toward < 0.0 && pixel > RestPixel)) {
        std::fprintf(stderr, "displacement %a drawn at %d\n", displacement, pixel);
        fail("the mass is drawn on the wrong side of its rest");
    }
}

void runFrames(OscillationState &state)
{
    const OscillationState parameters = state;
    for (int frame = 0; frame < FrameCount; ++frame) {
        computeDisplacement(state);
        // |sin| <= 1 survives both roundings: the amplitude is representable.
        if (!(std::fabs(state.X) <= std::fabs(state.A)) || !(std::fabs(state.Y) <= std::fabs(state.B)))
            fail("a displacement exceeds its amplitude");

        const double earlier = state.T;
        advanceTime(state);
        const double ulp = std::nextafter(state.T, std::numeric_limits<double>::infinity()) - state.T;
        if (!(std::fabs((state.T - earlier) - state.Dt) <= ulp))
            fail("T did not advance by Dt");

        const double farthest = std::max(std::fabs(state.X), std::fabs(state.Y));
        PicturePoint point;
        try {
            point = massPoint(state);
        } catch (const EInvalidOp &) {
            if (farthest < AlwaysDrawable)
                fail("EInvalidOp for a displacement that has a pixel");
            break; // it ends the frame loop, as in the window
        }
        if (farthest >= NeverDrawable)
            fail("a pixel for a displacement beyond 64-bit pixels");
        checkDirection(state.X, point.x, false);
        checkDirection(state.Y, point.y, true);
    }
    for (double OscillationState::*field : ParameterFields)
        if (!sameBits(state.*field, parameters.*field))
            fail("a frame changed a parameter");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const char32_t separator = (data[0] & CommaBit) ? U',' : U'.';
    std::string_view rest(reinterpret_cast<const char *>(data + 1), size - 1);
    std::array<std::string, InputCount> texts;
    for (std::size_t i = 0; i < InputCount; ++i) {
        const std::size_t end = i + 1 < InputCount ? std::min(rest.find(TextBreak), rest.size()) : rest.size();
        texts[i] = std::string(rest.substr(0, end));
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    const FuzzTexts fuzzTexts(std::move(texts), separator);

    const ExpectedReading expected = expectedReading(fuzzTexts);
    const OscillationState before = (data[0] & EarlierRunBit) ? EarlierRun : ProgramStart;
    OscillationState state = before;
    Failure failure = Failure::None;
    try {
        readParameters(state, fuzzTexts);
    } catch (const EConvertError &) {
        failure = Failure::Convert;
    } catch (const EOverflow &) {
        failure = Failure::Overflow;
    }
    checkReading(before, state, expected, failure);
    if (failure == Failure::None)
        runFrames(state);
    return 0;
}
