// SPDX-License-Identifier: GPL-3.0-or-later
// The soak: one long run of the real window from a real Start, with a random
// user action every 50 frames, and the memory it holds along the way.
//
//   soak_bench [frames] [seed]      (defaults: 100000 and 1)
//
// It runs offscreen, or on X11 where DISPLAY is set (Xvfb). The actions are
// the monkey's, less those that end the run: further Starts (nested, up to
// the depth limit and then restarting the innermost run), Clear while it is
// disabled, a short spell of slow mode, texts pasted into the inputs and the
// memo (numbers, and texts the inputs reject, whose error boxes are answered
// at once), parameters put right, zooms, scrolls, two-button drags and
// resizes. No Stop but the last, no close, and no parameters whose motion
// leaves the picture's coordinates: a fault would end the run.
//
// Printed: a table with the resident memory (/proc/self/status) and the heap
// in use every 10,000 frames, each taken with the window at its opening size, the peak resident memory (getrusage), and the
// growth of both from frame 10,000 to the last. The heap tells a leak from
// the allocator's and the system's own growth.
#include "animation/Animation.h"
#include "platform/Application.h"
#include "ui/Unit1.h"
#include "ui_Unit1.h"

#include "Memory.h"

#include <QElapsedTimer>
#include <QLocale>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTimer>

#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace vibrona::bench;

constexpr int DefaultFrames = 100000;
constexpr std::uint32_t DefaultSeed = 1;
constexpr int ActionEveryFrames = 50;
constexpr int SampleEveryFrames = 10000;
// Growth is measured from here on: by then every kind of action has been
// done a few times, and the run is as deep as it gets.
constexpr int GrowthBaseFrame = 10000;
// The chart's buffers follow the window's size: this many frames before each
// sample the window gets its opening size back, and keeps it until the
// sample, so that the samples compare like with like.
constexpr int SameSizeFrames = 100;
constexpr QSize OpeningSize{1099, 693};
// Slow mode stays on for this many frames (105 ms each).
constexpr int SlowModeFrames = 3;
// The window settles this long before the Start [ms].
constexpr int SettleMs = 300;
// Numbers pasted stay within this magnitude: the mass stays on the picture.
constexpr double SafeMagnitude = 25.0;
constexpr int ShortDragPx = 60;

// The offscreen platform says this at every box it shows.
const char *const PlatformChatter = "does not support propagateSizeHints";
QtMessageHandler previousMessageHandler = nullptr;

void quietMessageHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (!message.contains(QLatin1String(PlatformChatter)))
        previousMessageHandler(type, context, message);
}

// Texts the inputs reject; each Start while one is there shows a box.
const char *const RejectedTexts[] = {
    "abc", "", " ", "1..2", "--1", "e5", "0x10", "3,5 m²", "ϕ", "čtyři", "١٢٣", "１２", "😀", "1\t2", "nan",
};

enum class Action { Start, Clear, SlowMode, Paste, ValidInputs, Zoom, Scroll, Recentre, Buttons, Resize };

struct ActionWeight {
    Action action;
    int weight;
};

constexpr ActionWeight ActionWeights[] = {
    {Action::Start, 15},  {Action::Clear, 10},  {Action::SlowMode, 3}, {Action::Paste, 20},    {Action::ValidInputs, 12},
    {Action::Zoom, 10},   {Action::Scroll, 10}, {Action::Recentre, 5}, {Action::Buttons, 5}, {Action::Resize, 5},
};

struct Sample {
    int frame;
    double seconds;
    double resident;
    double heap;
    int depth;
    int starts;
    int boxes;
};

class Soak {
public:
    Soak(TForm1 &window, int frames, std::uint32_t seed)
        : m_window(window), ui(window.controls()), m_frames(frames), m_rng(seed)
    {
        // The samples' own storage is taken before the run, so that it does
        // not count as the program's growth.
        m_samples.reserve(std::size_t(frames / SampleEveryFrames + 2));
    }

    // Presses Start and returns after the final Stop; false when the run
    // ended before it.
    bool run()
    {
        sample(0);
        QTimer counter;
        counter.setInterval(0);
        QObject::connect(&counter, &QTimer::timeout, [this] { tick(); });
        m_clock.start();
        counter.start();
        ui.Button1->click();
        counter.stop();
        return m_counted > m_frames;
    }

    const std::vector<Sample> &samples() const { return m_samples; }
    int actions() const { return m_actions; }
    int counted() const { return m_counted; }

private:
    int pick(int from, int to) { return std::uniform_int_distribution<int>(from, to)(m_rng); }

    void sample(int frame)
    {
        m_samples.push_back({frame, double(m_clock.isValid() ? m_clock.elapsed() : 0) / 1000.0, residentMb(),
                             heapInUseMb(), m_window.runDepth(), m_starts, m_boxes});
    }

    // One pumping of a frame loop, or of an error box's loop.
    void tick()
    {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            ++m_boxes;
            box->button(QMessageBox::Ok)->click();
            return;
        }
        if (m_window.runDepth() == 0 || QApplication::activeModalWidget())
            return;
        ++m_counted;
        if (m_counted % SampleEveryFrames == 0 || m_counted == m_frames)
            sample(m_counted);
        if (sizeKept())
            m_window.resize(OpeningSize);
        if (m_counted > m_frames) {
            ui.Button2->click();
            return;
        }
        if (m_slowFramesLeft > 0 && --m_slowFramesLeft == 0)
            ui.CheckBox1->click();
        if (m_counted % ActionEveryFrames == 0 && !m_actionQueued) {
            // Qt fires no timer again while its handler runs: a Start clicked
            // here would run a loop in which this counter never fires.
            m_actionQueued = true;
            QMetaObject::invokeMethod(
                &m_context,
                [this] {
                    m_actionQueued = false;
                    if (!QApplication::activeModalWidget() && m_counted <= m_frames)
                        act();
                },
                Qt::QueuedConnection);
        }
    }

    bool sizeKept() const
    {
        const int toSample = std::min(SampleEveryFrames - m_counted % SampleEveryFrames, m_frames - m_counted);
        return toSample <= SameSizeFrames;
    }

    Action choose()
    {
        int total = 0;
        for (const ActionWeight &w : ActionWeights)
            total += w.weight;
        int at = pick(0, total - 1);
        for (const ActionWeight &w : ActionWeights) {
            at -= w.weight;
            if (at < 0)
                return w.action;
        }
        return Action::Clear;
    }

    QString numberText(bool usersNotation)
    {
        const double value = std::uniform_real_distribution<double>(-SafeMagnitude, SafeMagnitude)(m_rng);
        QString text = QString::number(value, 'f', pick(0, 3));
        return text.replace(QStringLiteral("."),
                            usersNotation ? QLocale::system().decimalPoint() : QStringLiteral(","));
    }

    QString randomText()
    {
        switch (pick(0, 3)) {
        case 0:
        case 1:
            return numberText(pick(0, 1) == 0);
        case 2:
            return QString::fromUtf8(RejectedTexts[pick(0, int(std::size(RejectedTexts)) - 1)]);
        default: { // random letters and marks, never digits
            QString text;
            for (int i = pick(1, 200); i > 0; --i)
                text.append(QChar(char16_t(pick(0x0400, 0x04FF))));
            return text;
        }
        }
    }

    QPoint chartPoint()
    {
        return {pick(0, ui.Chart1->width()), pick(0, ui.Chart1->height())};
    }

    void drag(QPoint from, QPoint to, Qt::MouseButton button)
    {
        send(QEvent::MouseButtonPress, from, button, button);
        send(QEvent::MouseMove, (from + to) / 2, Qt::NoButton, button);
        send(QEvent::MouseMove, to, Qt::NoButton, button);
        send(QEvent::MouseButtonRelease, to, button, Qt::NoButton);
    }

    void send(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
    {
        QMouseEvent event(type, QPointF(at), ui.Chart1->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
        QApplication::sendEvent(ui.Chart1, &event);
    }

    void clickOn(QWidget *widget)
    {
        const QPointF at = widget->rect().center();
        QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(widget, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(widget, &release);
    }

    void act()
    {
        ++m_actions;
        QLineEdit *const edits[] = {ui.Edit1, ui.Edit2, ui.Edit3, ui.Edit4, ui.Edit5};
        switch (choose()) {
        case Action::Start:
            ++m_starts;
            clickOn(ui.Button1);
            return;
        case Action::Clear: // disabled during the run: nothing happens
            clickOn(ui.Button3);
            return;
        case Action::SlowMode:
            if (!ui.CheckBox1->isChecked()) {
                clickOn(ui.CheckBox1);
                m_slowFramesLeft = SlowModeFrames;
            }
            return;
        case Action::Paste: {
            // Pasted, not typed: typing would grow the controls' undo
            // history, which is Qt's and the user's memory, not a leak.
            const int target = pick(0, 5);
            if (target < 5)
                edits[target]->setText(randomText());
            else
                ui.Output->setPlainText(randomText());
            return;
        }
        case Action::ValidInputs:
            for (QLineEdit *edit : edits)
                edit->setText(numberText(true));
            return;
        case Action::Zoom:
            drag(chartPoint(), chartPoint(), Qt::LeftButton);
            return;
        case Action::Scroll: {
            const QPoint from = chartPoint();
            drag(from, from + QPoint(pick(-ShortDragPx, ShortDragPx), pick(-ShortDragPx, ShortDragPx)),
                 Qt::RightButton);
            return;
        }
        case Action::Recentre: {
            // Undo the zoom; the next Start puts the axes back at -20 ... 20
            // unless a scroll took their minimum above 20, which the next
            // recentring, undoing a scroll of the same size, mostly mends.
            const QPoint middle = ui.Chart1->axisRect()->rect().center();
            drag(middle, middle - QPoint(ShortDragPx, ShortDragPx), Qt::LeftButton);
            const double xRange = ui.Chart1->BottomAxis().Maximum() - ui.Chart1->BottomAxis().Minimum();
            const double yRange = ui.Chart1->LeftAxis().Maximum() - ui.Chart1->LeftAxis().Minimum();
            const auto toOrigin = [](double centre, double range, int length) {
                return range > 0 ? int(std::clamp(centre * std::max(1, length) / range, -1e5, 1e5)) : 0;
            };
            const QRect plot = ui.Chart1->axisRect()->rect();
            const QPoint moved(
                toOrigin((ui.Chart1->BottomAxis().Maximum() + ui.Chart1->BottomAxis().Minimum()) / 2, xRange,
                         plot.width()),
                -toOrigin((ui.Chart1->LeftAxis().Maximum() + ui.Chart1->LeftAxis().Minimum()) / 2, yRange,
                          plot.height()));
            drag(middle, middle + moved, Qt::RightButton);
            return;
        }
        case Action::Buttons: {
            const Qt::MouseButton first = pick(0, 1) ? Qt::LeftButton : Qt::RightButton;
            const Qt::MouseButton second = first == Qt::LeftButton ? Qt::RightButton : Qt::LeftButton;
            const QPoint a = chartPoint(), b = chartPoint();
            send(QEvent::MouseButtonPress, a, first, first);
            send(QEvent::MouseButtonPress, a, second, first | second);
            send(QEvent::MouseMove, b, Qt::NoButton, first | second);
            send(QEvent::MouseButtonRelease, b, second, first);
            send(QEvent::MouseButtonRelease, b, first, Qt::NoButton);
            return;
        }
        case Action::Resize:
            if (!sizeKept())
                m_window.resize(pick(800, 1800), pick(400, 1200));
            return;
        }
    }

    TForm1 &m_window;
    Ui::TForm1 &ui;
    const int m_frames;
    std::mt19937 m_rng;
    QObject m_context;
    QElapsedTimer m_clock;
    std::vector<Sample> m_samples;
    int m_counted = 0;
    int m_actions = 0;
    int m_starts = 1;
    int m_boxes = 0;
    int m_slowFramesLeft = 0;
    bool m_actionQueued = false;
};

} // namespace

int main(int argc, char **argv)
{
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : DefaultFrames;
    const auto seed = argc > 2 ? std::uint32_t(std::strtoul(argv[2], nullptr, 10)) : DefaultSeed;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    int appArgc = 1;
    vibrona::Application application(appArgc, argv);
    previousMessageHandler = qInstallMessageHandler(quietMessageHandler);
    std::printf("platform %s, %d frames, seed %u, an action every %d frames\n",
                qPrintable(QGuiApplication::platformName()), frames, seed, ActionEveryFrames);

    TForm1 window;
    window.show();
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < SettleMs)
        QCoreApplication::processEvents();

    Soak soak(window, frames, seed);
    const bool ranThrough = soak.run();

    std::printf("\n%9s %10s %15s %18s %6s %7s %6s\n", "frame", "time [s]", "resident [MB]", "heap in use [MB]", "depth",
                "Starts", "boxes");
    for (const Sample &s : soak.samples())
        std::printf("%9d %10.1f %15.2f %18.3f %6d %7d %6d\n", s.frame, s.seconds, s.resident, s.heap, s.depth,
                    s.starts, s.boxes);
    std::printf("\n%d actions; peak resident memory %.1f MB\n", soak.actions(), peakResidentMb());

    const auto base = std::find_if(soak.samples().begin(), soak.samples().end(),
                                   [](const Sample &s) { return s.frame == GrowthBaseFrame; });
    if (base != soak.samples().end() && &*base != &soak.samples().back()) {
        const Sample &last = soak.samples().back();
        std::printf("growth from frame %d to frame %d: resident %+.2f MB, heap in use %+.3f MB\n", GrowthBaseFrame,
                    last.frame, last.resident - base->resident, last.heap - base->heap);
    }
    if (!ranThrough) {
        std::printf("the run ended at frame %d, before the final Stop\n", soak.counted());
        return 1;
    }
    return 0;
}
