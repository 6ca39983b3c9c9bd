// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "animation/Animation.h"
#include "animation/AnimationWindow.h"

#include <QWidget>

#include <memory>

namespace Ui {
class TForm1;
}

// The program's one window. Its controls, texts and layout are in Unit1.ui;
// this class only binds them: the four handlers forward to the animation,
// and the window gives the animation its controls, chart and picture.
class TForm1 : public QWidget, private vibrona::AnimationWindow, private vibrona::ParameterTexts {
    Q_OBJECT
public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    // Start, Stop, Clear and the slow-mode check box.
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void CheckBox1Click();

    // One spring of the picture, drawn on Image1.
    void DrawSpring(std::int32_t X1, std::int32_t Y1, std::int32_t X2, std::int32_t Y2, std::int32_t N) override;

    // Whether a frame loop is going on, and how deep they are nested.
    int runDepth() const { return m_animation.depth(); }

    Ui::TForm1 &controls() { return *ui; }

private:
    // ParameterTexts
    std::string text(vibrona::ParameterInput input) const override;
    char32_t decimalSeparator() const override;

    // AnimationWindow
    const vibrona::ParameterTexts &texts() const override { return *this; }
    void setClearEnabled(bool enabled) override;
    bool slowModeChecked() const override;
    void setAxisAutomatic(vibrona::ChartAxis axis, bool automatic) override;
    void setAxisMaximum(vibrona::ChartAxis axis, double value) override;
    void setAxisMinimum(vibrona::ChartAxis axis, double value) override;
    void clearSeries() override;
    void addPoint(double x, double y, vibrona::Color color) override;
    vibrona::DrawingSurface &picture() override;
    void sleep(std::int32_t ms) override;
    void pumpMessages() override;

    std::unique_ptr<Ui::TForm1> ui;
    vibrona::Animation m_animation;
};
