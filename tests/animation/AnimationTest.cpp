// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation/Animation.h"

#include "ScriptedWindow.h"
#include "TableTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace vibrona {
namespace {

using testing::ScriptedWindow;
using Action = ScriptedWindow::Action;

const Action nothing = nullptr;
const Action pressStart = [](Animation &a) { a.start(); };
const Action pressStop = [](Animation &a) { a.stop(); };

// A window, its animation, and a fresh OscillationState (zero, as at program start).
class AnimationTest : public ::testing::Test {
protected:
    OscillationState state;
    ScriptedWindow window;
    Animation animation{window, state};

    AnimationTest() { window.animation = &animation; }

    // The user presses Start with the script already in place.
    void start() { window.click(pressStart); }
    std::vector<std::string> points() const { return window.entriesStartingWith("Series.Add"); }
    std::vector<std::string> errors() const { return window.entriesStartingWith("Error"); }
};

TEST_F(AnimationTest, DefaultRunsFirstFrameInOrder)
{
    window.script = {nothing};
    start();

    // Start's steps, then frame 1 up to the drawing of the picture.
    const std::vector<std::string> expected = {
        "BottomAxis.Automatic false", "LeftAxis.Automatic false", "LeftAxis.Maximum 20", "LeftAxis.Minimum -20",
        "BottomAxis.Maximum 20",      "BottomAxis.Minimum -20",   "Clear.Enabled false", "Series.Clear",
        "Series.Add(0, 0, 536870912)", "Sleep 0",                  "Sleep 5",             "Brush.Color 16777215",
        "FillRect(0, 0, 377, 673)",   "Pen.Color 0",              "Pen.Color 255",       "Pen.Width 5",
        "Rectangle(180, 5, 220, 10)"};
    ASSERT_GE(window.log.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(window.log.begin(), window.log.begin() + expected.size()), expected);

    // The frame ends with the left spring's ball at the mass, the second
    // pause and the pumping.
    const auto firstPump = std::find(window.log.begin(), window.log.end(), "Pump");
    ASSERT_NE(firstPump, window.log.end());
    EXPECT_EQ(*(firstPump - 1), "Sleep 0");
    EXPECT_EQ(*(firstPump - 2), "Ellipse(206, 194, 194, 206)");
    EXPECT_EQ(std::count(window.log.begin(), firstPump, "Ellipse(206, 194, 194, 206)"), 2);
}

TEST_F(AnimationTest, DefaultRunMovesAlongTheCurveUntilStop)
{
    window.script = {nothing, nothing};
    start();

    // Three frames: T = 0, 0.01, 0.02; the third pumping presses Stop.
    ASSERT_EQ(points().size(), 3u);
    EXPECT_EQ(points()[0], "Series.Add(0, 0, 536870912)");
    EXPECT_EQ(window.series.size(), 1u);
    EXPECT_EQ(window.series[0][0], state.X);
    EXPECT_DOUBLE_EQ(state.X, 15 * std::sin(0.02));
    EXPECT_DOUBLE_EQ(state.T, 0.03);
    EXPECT_TRUE(state.StopRequested);
    EXPECT_TRUE(window.clearEnabled);
    EXPECT_EQ(animation.depth(), 0);
    EXPECT_EQ(window.axes[0].minimum, -20.0);
    EXPECT_EQ(window.axes[1].maximum, 20.0);
}

TEST_F(AnimationTest, StopBeforeAnyStartThenStartRuns)
{
    window.click(pressStop);
    EXPECT_TRUE(window.clearEnabled);
    EXPECT_TRUE(state.StopRequested);

    window.script = {nothing};
    start();
    EXPECT_EQ(points().size(), 2u) << "the flag is cleared before the loop";
}

TEST_F(AnimationTest, ClearRemovesThePointAndLeavesThePicture)
{
    window.script = {};
    start();
    const std::size_t picture = window.log.size();
    window.click([](Animation &a) { a.clear(); });
    EXPECT_TRUE(window.series.empty());
    EXPECT_EQ(window.log.size(), picture + 1);
    EXPECT_EQ(window.log.back(), "Series.Clear");
}

TEST_F(AnimationTest, NestedStartRestartsAtZeroAndOneStopEndsBoth)
{
    window.script = {nothing, pressStart, nothing};
    start();

    // Frames at T = 0, 0.01, then the nested run at T = 0, 0.01, and Stop
    // in its second pumping ends the loop below it without another frame.
    EXPECT_EQ(window.deepest, 2);
    EXPECT_EQ(points().size(), 4u);
    EXPECT_EQ(points()[2], "Series.Add(0, 0, 536870912)");
    EXPECT_DOUBLE_EQ(state.T, 0.02);
    EXPECT_EQ(window.entriesStartingWith("Pump").size(), 4u);
    EXPECT_EQ(animation.depth(), 0);
}

TEST_F(AnimationTest, NestedStartWithARejectedThirdInputKeepsTheRunGoing)
{
    window.script = {nothing,
                     [this](Animation &a) {
                         window.inputs = {"7,5", "3", "abc", "4", "90"};
                         a.start();
                     },
                     nothing};
    start();

    EXPECT_EQ(errors(), std::vector<std::string>{"Error: 'abc' is not a valid floating point value"});
    EXPECT_EQ(window.deepest, 1) << "no nested loop ran";
    EXPECT_EQ(state.A, 7.5);
    EXPECT_EQ(state.Omega1, 3.0);
    EXPECT_EQ(state.B, 15.0);
    EXPECT_EQ(state.Omega2, 1.0);
    EXPECT_EQ(state.Phi, 0.0);
    // Four frames in one loop: T was not reset by the failed Start.
    EXPECT_EQ(points().size(), 4u);
    EXPECT_DOUBLE_EQ(state.T, 0.04);
    EXPECT_DOUBLE_EQ(state.X, 7.5 * std::sin(3 * 0.03));
}

TEST_F(AnimationTest, SlowModeTakesEffectAtTheNextPause)
{
    window.script = {[this](Animation &a) {
                         window.slowMode = true;
                         a.slowModeChanged();
                     },
                     [this](Animation &a) {
                         window.slowMode = false;
                         a.slowModeChanged();
                     }};
    start();

    const std::vector<std::string> sleeps = window.entriesStartingWith("Sleep");
    const std::vector<std::string> expected = {"Sleep 0",  "Sleep 5", "Sleep 0",  // normal
                                               "Sleep 50", "Sleep 5", "Sleep 50", // slow: 105 ms
                                               "Sleep 0",  "Sleep 5", "Sleep 0"};
    EXPECT_EQ(sleeps, expected);
}

struct AxisRefusalRow : testing::NamedRow {
    ChartAxis scrolled;
    std::vector<std::string> done; // the axis settings made before the refusal
};

class AnimationAxisRefusal : public AnimationTest, public ::testing::WithParamInterface<AxisRefusalRow> {};

// The user has scrolled an axis so that its minimum lies above 20.
TEST_P(AnimationAxisRefusal, EndsStartAndChangesNothingElse)
{
    const AxisRefusalRow &row = GetParam();
    window.axis(row.scrolled) = {false, 25.0, 35.0};
    window.inputs = {"1", "2", "3", "4", "5"};
    start();

    EXPECT_EQ(errors(), std::vector<std::string>{"Error: Axis Maximum Value must be >= Minimum"});
    std::vector<std::string> settings = window.log;
    settings.pop_back();
    EXPECT_EQ(settings, row.done);
    EXPECT_TRUE(window.clearEnabled);
    EXPECT_EQ(state.A, 0.0);
    EXPECT_TRUE(points().empty());
    EXPECT_EQ(window.axis(row.scrolled).minimum, 25.0);
}

const AxisRefusalRow axisRefusalRows[] = {
    {{"LeftAxis"}, ChartAxis::Left, {"BottomAxis.Automatic false", "LeftAxis.Automatic false"}},
    {{"BottomAxisAfterTheLeftIsSet"},
     ChartAxis::Bottom,
     {"BottomAxis.Automatic false", "LeftAxis.Automatic false", "LeftAxis.Maximum 20", "LeftAxis.Minimum -20"}},
};

INSTANTIATE_TEST_SUITE_P(Axes, AnimationAxisRefusal, ::testing::ValuesIn(axisRefusalRows), testing::RowName());

TEST_F(AnimationTest, RejectedInputAtRestLeavesTheAxesFixedAndClearDisabled)
{
    window.inputs = {"2", "3", "x", "4", "5"};
    start();
    EXPECT_EQ(errors(), std::vector<std::string>{"Error: 'x' is not a valid floating point value"});
    EXPECT_FALSE(window.clearEnabled);
    EXPECT_FALSE(state.StopRequested);
    EXPECT_EQ(state.A, 2.0);
    EXPECT_EQ(state.Omega1, 3.0);
    EXPECT_TRUE(points().empty());
    EXPECT_EQ(window.axes[0].maximum, 20.0);
}

// B = 1e30 with a quarter-turn phase puts the mass 5e30 px below the
// picture: no 64-bit integer holds that coordinate.
TEST_F(AnimationTest, FaultingPictureCoordinateEndsTheRunWithThePictureWhite)
{
    window.inputs = {"15", "1", "1e30", "1", "90"};
    start();

    EXPECT_EQ(errors(), std::vector<std::string>{"Error: Invalid floating point operation"});
    EXPECT_EQ(points(), std::vector<std::string>{"Series.Add(0, 1e+30, 536870912)"});
    EXPECT_EQ(window.series.size(), 1u);
    EXPECT_DOUBLE_EQ(state.T, 0.01);
    EXPECT_EQ(window.log[window.log.size() - 2], "FillRect(0, 0, 377, 673)");
    EXPECT_TRUE(window.surface.rectangles().empty()) << "no spring drawn";
    EXPECT_FALSE(state.StopRequested);
    EXPECT_FALSE(window.clearEnabled);
    EXPECT_EQ(animation.depth(), 0);
}

TEST_F(AnimationTest, FaultInANestedRunLetsTheRunBelowGoOn)
{
    window.script = {[this](Animation &a) {
                         window.inputs = {"15", "1", "1e30", "1", "90"};
                         a.start();
                     },
                     nothing};
    start();

    EXPECT_EQ(window.deepest, 1) << "the depth is counted back when the fault leaves the nested run";
    // The run below goes on from the T the faulted run left, with its
    // parameters, and so faults too at its next frame: two boxes, three points.
    EXPECT_EQ(errors().size(), 2u);
    ASSERT_EQ(points().size(), 3u);
    EXPECT_EQ(points()[2], "Series.Add(0.14999750001249998, 9.9995000041666532e+29, 536870912)");
    EXPECT_EQ(animation.depth(), 0);
}

TEST_F(AnimationTest, StartAtTheDepthBoundRestartsTheInnermostRun)
{
    // Every pumping presses Start again, until one more than the bound.
    for (int level = 1; level <= Animation::MaxDepth; ++level)
        window.script.push_back(pressStart);
    window.script.push_back(nothing);
    start();

    EXPECT_EQ(window.deepest, Animation::MaxDepth);
    EXPECT_EQ(animation.depth(), 0);
    // One frame at each level, then the innermost loop goes on at T = 0.
    const std::vector<std::string> added = points();
    ASSERT_EQ(added.size(), std::size_t(Animation::MaxDepth) + 2);
    EXPECT_EQ(added[Animation::MaxDepth], "Series.Add(0, 0, 536870912)");
    EXPECT_TRUE(errors().empty());
}

} // namespace
} // namespace vibrona
