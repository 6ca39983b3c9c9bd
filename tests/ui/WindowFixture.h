// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/Unit1.h"
#include "ui_Unit1.h"

#include "QtPrinting.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

namespace vibrona::testing {

// An error box as the user saw it.
struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon;
    QStringList buttons;
};

// The real window, shown and active on the offscreen platform, with the
// means to act on it while a run is going on: actions at given pumpings,
// and every error box read and dismissed as it comes.
class WindowTest : public ::testing::Test {
protected:
    TForm1 window;
    Ui::TForm1 &ui = window.controls();
    std::vector<SeenBox> boxes;

    // A run is never left running: after this long the test presses Stop.
    static constexpr int SafetyStopMs = 10000;

    WindowTest()
    {
        window.show();
        window.activateWindow();
        QApplication::setActiveWindow(&window);
        QApplication::processEvents();
        m_boxWatcher.setInterval(5);
        QObject::connect(&m_boxWatcher, &QTimer::timeout, [this] { dismissBox(); });
        m_boxWatcher.start();
    }

    ~WindowTest() override { m_boxWatcher.stop(); }

    // Runs `action` from inside the running frame loop, at its n-th pumping
    // (counted from the Start that runs it).
    void atFrame(int frame, std::function<void()> action) { m_atFrame.push_back({frame, std::move(action)}); }

    // Presses Start and returns when its run has ended; frames are counted
    // by a zero-interval timer, which fires once per pumping.
    int pressStartAndRun()
    {
        int frames = 0;
        QTimer counter;
        counter.setInterval(0);
        QObject::connect(&counter, &QTimer::timeout, [&] {
            ++frames;
            for (auto &[frame, action] : m_atFrame)
                if (frame == frames && action)
                    std::exchange(action, nullptr)();
        });
        QTimer safety;
        safety.setSingleShot(true);
        QObject::connect(&safety, &QTimer::timeout, [this] { ui.Button2->click(); });
        counter.start();
        safety.start(SafetyStopMs);
        ui.Button1->click();
        m_atFrame.clear();
        return frames;
    }

    // A drag on the chart from `from` to `to`, with `button` held.
    void dragOnChart(QPoint from, QPoint to, Qt::MouseButton button)
    {
        QWidget *chart = ui.Chart1;
        const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButtons held) {
            QMouseEvent event(type, QPointF(at), QPointF(chart->mapToGlobal(at)), button, held, Qt::NoModifier);
            QApplication::sendEvent(chart, &event);
        };
        send(QEvent::MouseButtonPress, from, button);
        send(QEvent::MouseMove, (from + to) / 2, button);
        send(QEvent::MouseMove, to, button);
        send(QEvent::MouseButtonRelease, to, Qt::NoButton);
    }

    // Where a chart value lies on the screen, in the chart's coordinates.
    QPoint chartPixel(double x, double y) const
    {
        return QPoint(int(ui.Chart1->xAxis->coordToPixel(x)), int(ui.Chart1->yAxis->coordToPixel(y)));
    }

private:
    void dismissBox()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        SeenBox seen{box->windowTitle(), box->text(), box->icon(), {}};
        for (QAbstractButton *button : box->buttons())
            seen.buttons.push_back(button->text());
        boxes.push_back(seen);
        box->button(QMessageBox::Ok)->click();
    }

    QTimer m_boxWatcher;
    std::vector<std::pair<int, std::function<void()>>> m_atFrame;
};

} // namespace vibrona::testing
