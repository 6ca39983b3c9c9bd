// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace vibrona {

// The application object: its title from the executable's name, its icon,
// the last guard against errors escaping an event, and the rule that closing
// the main window ends the program, at once at rest and only when the run
// ends during one.
class Application : public QApplication {
    Q_OBJECT
public:
    // Opens the display. Where none can be opened it prints one line saying
    // so and how to run the program, and ends the process with ExitNoDisplay.
    Application(int &argc, char **argv);
    ~Application() override;

    static constexpr int ExitNoDisplay = 2;

    // `running` tells whether a frame loop is going on.
    void setMainWindow(QWidget *window, std::function<bool()> running);

    // A close or quit was asked for during a run and is waiting for its end.
    bool endPending() const { return m_endPending; }

    bool notify(QObject *receiver, QEvent *event) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool running() const { return m_running && m_running(); }

    QPointer<QWidget> m_mainWindow;
    std::function<bool()> m_running;
    bool m_endPending = false;
    int m_dispatchDepth = 0; // events being dispatched, nested in each other
};

} // namespace vibrona
