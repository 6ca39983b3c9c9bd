// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation/MotionModel.h"
#include "platform/Errors.h"

#include "TableTest.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <string>

namespace vibrona {
namespace {

// The window's five inputs, as a test types them.
class TypedTexts : public ParameterTexts {
public:
    TypedTexts(std::array<std::string, 5> texts, char32_t separator = U'.')
        : m_texts(std::move(texts)), m_separator(separator)
    {
    }
    std::string text(ParameterInput input) const override { return m_texts.at(static_cast<std::size_t>(input)); }
    char32_t decimalSeparator() const override { return m_separator; }

private:
    std::array<std::string, 5> m_texts;
    char32_t m_separator;
};

const TypedTexts defaultTexts{{"15", "1", "15", "1", "0"}};

// Start's reading followed by `frames` frames; returns the last frame's MassPoint.
PicturePoint runFrames(OscillationState &state, int frames)
{
    PicturePoint point;
    for (int frame = 0; frame < frames; ++frame) {
        computeDisplacement(state);
        advanceTime(state);
        point = massPoint(state);
    }
    return point;
}

TEST(ParameterReading, DefaultTexts)
{
    OscillationState state;
    readParameters(state, defaultTexts);
    EXPECT_EQ(state.A, 15.0);
    EXPECT_EQ(state.B, 15.0);
    EXPECT_EQ(state.Omega1, 1.0);
    EXPECT_EQ(state.Omega2, 1.0);
    EXPECT_EQ(state.Phi, 0.0);
    EXPECT_EQ(state.T, 0.0);
    EXPECT_EQ(state.Dt, 0.01);
}

TEST(ParameterReading, UsesTheGivenSeparator)
{
    OscillationState state;
    readParameters(state, TypedTexts({"1,5", "2", "-0,25", "3", "0"}, U','));
    EXPECT_EQ(state.A, 1.5);
    EXPECT_EQ(state.B, -0.25);
}

TEST(OscillationStateAtStart, IsAllZero)
{
    EXPECT_EQ(oscillation.A, 0.0);
    EXPECT_EQ(oscillation.Dt, 0.0);
    EXPECT_EQ(oscillation.DelayMs, 0);
    EXPECT_FALSE(oscillation.StopRequested);
}

struct FrameRow : testing::NamedRow {
    int frame;
    PicturePoint point;
};

class DefaultRun : public ::testing::TestWithParam<FrameRow> {};

TEST_P(DefaultRun, DrawsTheMassAt)
{
    OscillationState state;
    readParameters(state, defaultTexts);
    EXPECT_EQ(runFrames(state, GetParam().frame), GetParam().point);
}

// Along y = x on the chart, so along the other diagonal on the picture,
// between (274, 125) and (125, 274) at a quarter and three quarters of 2 pi.
const FrameRow defaultFrames[] = {
    {"FirstFrameAtRest", 1, {200, 200}},
    {"SecondFrame", 2, {199, 200}},
    {"QuarterTurnNearLeftEnd", 158, {125, 274}},
    {"ThreeQuartersNearRightEnd", 472, {274, 125}},
};

INSTANTIATE_TEST_SUITE_P(Frames, DefaultRun, ::testing::ValuesIn(defaultFrames),
                         testing::RowName());

TEST(DefaultRunSecondFrame, MovesOnTheChartDiagonal)
{
    OscillationState state;
    readParameters(state, defaultTexts);
    runFrames(state, 2);
    EXPECT_EQ(state.X, state.Y);
    EXPECT_GT(state.X, 0.0);
}

struct PhaseRow : testing::NamedRow {
    std::string phase;
    std::string amplitudeB;
    double phi;
    PicturePoint point;
};

class Phase : public ::testing::TestWithParam<PhaseRow> {};

TEST_P(Phase, FirstFrame)
{
    const PhaseRow &row = GetParam();
    OscillationState state;
    readParameters(state, TypedTexts({"15", "1", row.amplitudeB, "1", row.phase}));
    EXPECT_EQ(state.Phi, row.phi);
    EXPECT_EQ(runFrames(state, 1), row.point);
}

const PhaseRow phaseRows[] = {
    {"QuarterTurnDown", "90", "15", 1.5707963267948966, {200, 275}},
    {"QuarterTurnUp", "-90", "15", -1.5707963267948966, {200, 125}},
    {"HalfTurnAlmostAtRest", "180", "15", 3.141592653589793, {200, 200}},
    // 5 Y + 200 is about -0.5, which truncates to 0, not -1.
    {"TruncatesTowardZero", "90", "-401e-1", 1.5707963267948966, {200, 0}},
};

INSTANTIATE_TEST_SUITE_P(Phases, Phase, ::testing::ValuesIn(phaseRows),
                         testing::RowName());

TEST(Phase, HalfTurnLeavesARoundingRemainder)
{
    OscillationState state;
    readParameters(state, TypedTexts({"15", "1", "15", "1", "180"}));
    computeDisplacement(state);
    EXPECT_NEAR(state.Y, 1.8e-15, 0.1e-15);
    EXPECT_NE(state.Y, 0.0);
}

TEST(TimeAdvance, IsARunningSumOfSteps)
{
    OscillationState state;
    readParameters(state, defaultTexts);
    for (int step = 0; step < 100; ++step)
        advanceTime(state);
    EXPECT_EQ(state.T, 1.0000000000000007);
}

// With Omega1 = 1e20 the argument Omega1 T reaches 2^63 in the eleventh frame
// (T = 0.09999999999999999); from then on X is 0.
TEST(Displacement, SineOfAHugeArgumentIsZero)
{
    OscillationState state;
    readParameters(state, TypedTexts({"15", "1e20", "15", "1", "0"}));
    runFrames(state, 9);
    computeDisplacement(state);
    EXPECT_NE(state.X, 0.0) << "in the tenth frame Omega1 T = 9e18 is still below 2^63";
    advanceTime(state);
    EXPECT_EQ(state.T, 0.09999999999999999);
    for (int frame = 11; frame <= 20; ++frame) {
        computeDisplacement(state);
        EXPECT_EQ(state.X, 0.0) << "frame " << frame;
        advanceTime(state);
    }
}

TEST(PictureMapping, HugeAmplitudeFaults)
{
    OscillationState state;
    readParameters(state, TypedTexts({"15", "1", "1e19", "1", "90"}));
    computeDisplacement(state);
    advanceTime(state);
    EXPECT_THROW(massPoint(state), EInvalidOp);
}

struct CoordinateRow : testing::NamedRow {
    long double value;
    std::int32_t coordinate;
};

class PictureCoordinate : public ::testing::TestWithParam<CoordinateRow> {};

TEST_P(PictureCoordinate, Truncates)
{
    EXPECT_EQ(pictureCoordinate(GetParam().value), GetParam().coordinate);
}

constexpr std::int32_t Int32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t Int32Min = std::numeric_limits<std::int32_t>::min();

const CoordinateRow coordinateRows[] = {
    {"PositiveFraction", 199.25L, 199},
    {"NegativeHalf", -0.5L, 0},
    {"NegativeFraction", -37.5L, -37},
    {"LargestInt32", 2147483647.9L, Int32Max},
    {"SmallestInt32", -2147483648.9L, Int32Min},
    // Beyond 32 bits the mass stays off the picture on its own side instead
    // of wrapping around to an unrelated place.
    {"JustAboveInt32Saturates", 2147483648.0L, Int32Max},
    {"JustBelowInt32Saturates", -2147483649.0L, Int32Min},
    {"FourBillionSaturatesNotWraps", 4294967496.0L, Int32Max},
    {"LargestBelow2To63Saturates", 9223372036854775807.0L - 1023.0L, Int32Max},
    {"MostNegativeAbove2To63Saturates", -9223372036854775807.0L + 1023.0L, Int32Min},
};

INSTANTIATE_TEST_SUITE_P(Coordinates, PictureCoordinate, ::testing::ValuesIn(coordinateRows),
                         testing::RowName());

struct FaultRow : testing::NamedRow {
    long double value;
};

class PictureCoordinateFault : public ::testing::TestWithParam<FaultRow> {};

TEST_P(PictureCoordinateFault, RaisesInvalidOperation)
{
    try {
        pictureCoordinate(GetParam().value);
        FAIL() << "no fault";
    } catch (const EInvalidOp &error) {
        EXPECT_EQ(error.message(), "Invalid floating point operation");
    }
}

const FaultRow faultRows[] = {
    {"Plus2To63", 9223372036854775808.0L},
    {"Minus2To63", -9223372036854775808.0L},
    {"HugeDouble", 5.0L * 1.7e308L},
};

INSTANTIATE_TEST_SUITE_P(Coordinates, PictureCoordinateFault, ::testing::ValuesIn(faultRows),
                         testing::RowName());

TEST(PictureMapping, FarMassSaturatesOnItsSide)
{
    OscillationState state;
    state.X = 1e9;  // far to the left of the picture
    state.Y = -1e9; // far above it
    EXPECT_EQ(massPoint(state), (PicturePoint{Int32Min, Int32Min}));
    state.X = -1e9;
    state.Y = 1e9;
    EXPECT_EQ(massPoint(state), (PicturePoint{Int32Max, Int32Max}));
}

// A rejected input stops the reading there: the fields before it are new,
// that field and the rest keep their values, and neither the phase
// conversion nor the time restart happens.
struct PartialRow : testing::NamedRow {
    std::array<std::string, 5> texts;
    std::string message;
    bool overflow;
};

class PartialUpdate : public ::testing::TestWithParam<PartialRow> {
protected:
    static OscillationState before()
    {
        OscillationState state;
        state.A = 1.0;
        state.Omega1 = 2.0;
        state.B = 3.0;
        state.Omega2 = 4.0;
        state.Phi = 0.5;
        state.T = 7.25;
        state.Dt = 0.01;
        return state;
    }
};

TEST_P(PartialUpdate, ThirdTextRejected)
{
    const PartialRow &row = GetParam();
    OscillationState state = before();
    try {
        readParameters(state, TypedTexts(row.texts));
        FAIL() << "accepted";
    } catch (const EOverflow &error) {
        EXPECT_TRUE(row.overflow);
        EXPECT_EQ(error.message(), row.message);
    } catch (const EConvertError &error) {
        EXPECT_FALSE(row.overflow);
        EXPECT_EQ(error.message(), row.message);
    }
    EXPECT_EQ(state.A, 10.0);
    EXPECT_EQ(state.Omega1, 20.0);
    EXPECT_EQ(state.B, 3.0);
    EXPECT_EQ(state.Omega2, 4.0);
    EXPECT_EQ(state.Phi, 0.5);
    EXPECT_EQ(state.T, 7.25);
    EXPECT_EQ(state.Dt, 0.01);
}

const PartialRow partialRows[] = {
    {"Letters", {"10", "20", "abc", "40", "50"}, "'abc' is not a valid floating point value", false},
    {"Empty", {"10", "20", "", "40", "50"}, "'' is not a valid floating point value", false},
    {"BlanksKeptInMessage", {"10", "20", " 1 000 ", "40", "50"}, "' 1 000 ' is not a valid floating point value",
     false},
    {"BeyondDouble", {"10", "20", "1E400", "40", "50"}, "Floating point overflow", true},
    {"BeyondDoubleByExponentLimit", {"10", "20", "1e0500", "40", "50"}, "Floating point overflow", true},
};

INSTANTIATE_TEST_SUITE_P(Reading, PartialUpdate, ::testing::ValuesIn(partialRows),
                         testing::RowName());

struct StoreRow : testing::NamedRow {
    long double value;
    double stored;
};

class StoreDouble : public ::testing::TestWithParam<StoreRow> {};

TEST_P(StoreDouble, Rounds)
{
    EXPECT_EQ(storeDouble(GetParam().value), GetParam().stored);
}

const StoreRow storeRows[] = {
    {"Largest", static_cast<long double>(std::numeric_limits<double>::max()), std::numeric_limits<double>::max()},
    {"TooSmallBecomesDenormal", 1e-310L, 1e-310},
    {"FarTooSmallBecomesZero", 1e-400L, 0.0},
};

INSTANTIATE_TEST_SUITE_P(Store, StoreDouble, ::testing::ValuesIn(storeRows),
                         testing::RowName());

TEST(StoreDouble, BeyondDoubleOverflows)
{
    EXPECT_THROW(storeDouble(1.8e308L), EOverflow);
    EXPECT_THROW(storeDouble(-1e400L), EOverflow);
}

} // namespace
} // namespace vibrona
