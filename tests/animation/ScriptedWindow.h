// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "animation/Animation.h"
#include "picture/DrawSpring.h"
#include "platform/Errors.h"

#include "picture/RecordingSurface.h"

#include <array>
#include <cstdio>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace vibrona::testing {

// The window as the animation sees it, with a script of what the user does
// while the events are pumped. Every call is logged as text, the picture's
// calls in the same log. Errors escaping a handler run from the script are
// logged as "Error: <message>" and the script goes on, as the window's error
// display lets the program go on.
class ScriptedWindow : public AnimationWindow, public ParameterTexts {
public:
    using Action = std::function<void(Animation &)>;

    // What happens at the n-th pumping, counted over all loops. Once the
    // script has run out, each pumping presses Stop, so no run is endless.
    std::deque<Action> script;

    std::array<std::string, 5> inputs{"15", "1", "15", "1", "0"};
    bool slowMode = false;
    bool clearEnabled = true;
    struct Axis {
        bool automatic = true;
        double minimum = 0.0;
        double maximum = 10.0;
    };
    std::array<Axis, 2> axes{};
    std::vector<std::array<double, 2>> series;
    std::vector<std::string> log;
    RecordingSurface surface{{0, 0, 377, 673}, &log};
    Animation *animation = nullptr;
    int deepest = 0;

    Axis &axis(ChartAxis which) { return axes[static_cast<std::size_t>(which)]; }

    // A user's click: the handler runs, and its error is shown, not thrown.
    void click(const Action &handler)
    {
        try {
            handler(*animation);
        } catch (const Exception &error) {
            log.push_back("Error: " + error.message());
        }
    }

    // Only the frames' own entries: what the chart and the sleeps received.
    std::vector<std::string> entriesStartingWith(const std::string &prefix) const
    {
        std::vector<std::string> found;
        for (const std::string &entry : log)
            if (entry.rfind(prefix, 0) == 0)
                found.push_back(entry);
        return found;
    }

    // ParameterTexts
    std::string text(ParameterInput input) const override { return inputs.at(static_cast<std::size_t>(input)); }
    char32_t decimalSeparator() const override { return U','; }

    // AnimationWindow
    const ParameterTexts &texts() const override { return *this; }
    void setClearEnabled(bool enabled) override
    {
        clearEnabled = enabled;
        log.push_back(std::string("Clear.Enabled ") + (enabled ? "true" : "false"));
    }
    bool slowModeChecked() const override { return slowMode; }
    void setAxisAutomatic(ChartAxis which, bool automatic) override
    {
        axis(which).automatic = automatic;
        log.push_back(name(which) + ".Automatic " + (automatic ? "true" : "false"));
    }
    void setAxisMaximum(ChartAxis which, double value) override
    {
        if (value < axis(which).minimum)
            throw AxisException::maximumBelowMinimum();
        axis(which).maximum = value;
        log.push_back(name(which) + ".Maximum " + number(value));
    }
    void setAxisMinimum(ChartAxis which, double value) override
    {
        if (value > axis(which).maximum)
            throw AxisException::minimumAboveMaximum();
        axis(which).minimum = value;
        log.push_back(name(which) + ".Minimum " + number(value));
    }
    void clearSeries() override
    {
        series.clear();
        log.push_back("Series.Clear");
    }
    void addPoint(double x, double y, Color color) override
    {
        series.push_back({x, y});
        log.push_back("Series.Add(" + number(x) + ", " + number(y) + ", " + std::to_string(color) + ")");
    }
    DrawingSurface &picture() override { return surface; }
    void DrawSpring(std::int32_t X1, std::int32_t Y1, std::int32_t X2, std::int32_t Y2, std::int32_t N) override
    {
        vibrona::DrawSpring(surface, X1, Y1, X2, Y2, N);
    }
    void sleep(std::int32_t ms) override { log.push_back("Sleep " + std::to_string(ms)); }
    void pumpMessages() override
    {
        log.push_back("Pump");
        deepest = std::max(deepest, animation->depth());
        if (script.empty()) {
            click([](Animation &a) { a.stop(); });
            return;
        }
        const Action next = std::move(script.front());
        script.pop_front();
        if (next)
            click(next);
    }

    static std::string number(double value)
    {
        char text[32];
        std::snprintf(text, sizeof text, "%.17g", value);
        return text;
    }

private:
    static std::string name(ChartAxis which) { return which == ChartAxis::Bottom ? "BottomAxis" : "LeftAxis"; }
};

} // namespace vibrona::testing
