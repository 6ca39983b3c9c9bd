// SPDX-License-Identifier: GPL-3.0-or-later
// The cost of the animation's frames in the real window: a real Start, the
// real frame loop for a given number of frames, and a real Stop.
//
//   frame_bench [frames] [slow frames]      (defaults: 5000 and 100)
//
// It runs on the platform Qt picks: offscreen, or X11 where DISPLAY is set
// (Xvfb). Frames are counted by a zero-interval timer, which fires once in
// every pumping of the frame loop; nothing in the program is changed for it.
//
// Printed for normal and slow mode: the frame period (median, 95th
// percentile), the pauses per frame as measured by timing the same sleeps
// alone, the work per frame (period minus pauses), the process CPU time per
// frame, peak resident memory and its growth from frame 1,000 to the last.
// Also the time from process start to the window's first paint and from a
// Start to the first paint of the picture it draws; the program is started
// anew as a child process for that.
#include "platform/Application.h"
#include "platform/EventPump.h"
#include "ui/Unit1.h"
#include "ui_Unit1.h"

#include "Memory.h"

#include <QElapsedTimer>
#include <QPaintEvent>
#include <QProcess>
#include <QTimer>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace {

using namespace vibrona::bench;

constexpr int FrameForMemoryBase = 1000;

double nowMs(clockid_t clock = CLOCK_MONOTONIC)
{
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const auto index = std::size_t(p * double(values.size() - 1) + 0.5);
    return values[index];
}

// What the frame's pauses take on this machine: Sleep(DelayMs) twice and
// Sleep(5) once, each timed alone.
double measuredPausesMs(int delayMs)
{
    std::vector<double> samples;
    for (int i = 0; i < 200; ++i) {
        const double start = nowMs();
        vibrona::sleepMilliseconds(delayMs);
        vibrona::sleepMilliseconds(5);
        vibrona::sleepMilliseconds(delayMs);
        samples.push_back(nowMs() - start);
        if (delayMs > 0 && i >= 20)
            break;
    }
    return percentile(samples, 0.5);
}

struct RunFigures {
    int frames = 0;
    double medianPeriod = 0;
    double p95Period = 0;
    double pauses = 0;
    double cpuPerFrame = 0;
    double residentAtBase = 0;
    double residentAtEnd = 0;
    double heapAtBase = 0;
    double heapAtEnd = 0;
    double anonymousAtBase = 0;
    double anonymousAtEnd = 0;
};

RunFigures runFrames(TForm1 &window, int frames, bool slow)
{
    Ui::TForm1 &ui = window.controls();
    if (ui.CheckBox1->isChecked() != slow)
        ui.CheckBox1->click();

    RunFigures figures;
    // The measurements' own storage is touched before the run, so that it
    // does not count as the program's growth.
    std::vector<double> periods(std::size_t(frames), 0.0);
    std::size_t measured = 0;
    double last = 0;
    double cpuStart = 0;
    QTimer counter;
    counter.setInterval(0);
    QObject::connect(&counter, &QTimer::timeout, [&] {
        const double now = nowMs();
        if (figures.frames == 0)
            cpuStart = nowMs(CLOCK_PROCESS_CPUTIME_ID);
        else if (measured < periods.size())
            periods[measured++] = now - last;
        last = now;
        ++figures.frames;
        if (figures.frames == FrameForMemoryBase) {
            figures.residentAtBase = residentMb();
            figures.heapAtBase = heapInUseMb();
            figures.anonymousAtBase = anonymousResidentMb();
        }
        if (figures.frames == frames + 1)
            ui.Button2->click();
    });
    counter.start();
    ui.Button1->click();
    counter.stop();

    periods.resize(measured);
    figures.frames = int(periods.size());
    figures.cpuPerFrame = (nowMs(CLOCK_PROCESS_CPUTIME_ID) - cpuStart) / std::max(1, figures.frames);
    figures.medianPeriod = percentile(periods, 0.5);
    figures.p95Period = percentile(periods, 0.95);
    figures.pauses = measuredPausesMs(slow ? vibrona::Animation::SlowModeDelayMs : 0);
    figures.residentAtEnd = residentMb();
    figures.heapAtEnd = heapInUseMb();
    figures.anonymousAtEnd = anonymousResidentMb();
    return figures;
}

void print(const char *mode, const RunFigures &f)
{
    const auto grown = [&](double base, double end) { return f.frames > FrameForMemoryBase ? end - base : 0.0; };
    std::printf("%-6s frames %6d  period median %.3f ms  p95 %.3f ms  pauses %.3f ms  work %.3f ms  "
                "cpu %.3f ms/frame\n       growth from frame %d to last: resident %+.2f MB, anonymous %+.2f MB, "
                "heap in use %+.3f MB\n",
                mode, f.frames, f.medianPeriod, f.p95Period, f.pauses, f.medianPeriod - f.pauses, f.cpuPerFrame,
                FrameForMemoryBase, grown(f.residentAtBase, f.residentAtEnd), grown(f.anonymousAtBase, f.anonymousAtEnd),
                grown(f.heapAtBase, f.heapAtEnd));
}

// The child: reports when the window first paints, and when the picture
// first paints after a Start, in CLOCK_MONOTONIC milliseconds.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(TForm1 &window) : m_window(window) {}
    double firstPaint = 0;
    double startClicked = 0;
    double firstPictureAfterStart = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            if (firstPaint == 0 && watched->isWidgetType() && static_cast<QWidget *>(watched)->window() == &m_window)
                firstPaint = nowMs();
            if (startClicked != 0 && firstPictureAfterStart == 0 && watched == m_window.controls().Image1)
                firstPictureAfterStart = nowMs();
        }
        return false;
    }

private:
    TForm1 &m_window;
};

int childStartup(int argc, char **argv)
{
    vibrona::Application application(argc, argv);
    TForm1 window;
    PaintWatch watch(window);
    application.installEventFilter(&watch);
    window.show();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (watch.firstPaint == 0)
            return;
        if (watch.startClicked == 0) {
            watch.startClicked = nowMs();
            QTimer::singleShot(0, [&] { window.controls().Button1->click(); });
        } else if (watch.firstPictureAfterStart != 0) {
            window.controls().Button2->click();
        }
    });
    poll.start(1);
    QTimer done;
    QObject::connect(&done, &QTimer::timeout, [&] {
        if (watch.firstPictureAfterStart != 0 && window.runDepth() == 0) {
            std::printf("%.3f %.3f %.3f\n", watch.firstPaint, watch.startClicked, watch.firstPictureAfterStart);
            std::fflush(stdout);
            QCoreApplication::exit(0);
        }
    });
    done.start(1);
    return application.exec();
}

void measureStartup(const char *self)
{
    std::vector<double> toPaint;
    std::vector<double> toPicture;
    for (int i = 0; i < 15; ++i) {
        QProcess child;
        const double spawned = nowMs();
        child.start(QString::fromLocal8Bit(self), {QStringLiteral("--startup-child")});
        if (!child.waitForFinished(30000) || child.exitCode() != 0) {
            std::printf("startup child failed: %s\n", child.readAllStandardError().constData());
            return;
        }
        double paint = 0, clicked = 0, picture = 0;
        if (std::sscanf(child.readAllStandardOutput().constData(), "%lf %lf %lf", &paint, &clicked, &picture) != 3)
            return;
        toPaint.push_back(paint - spawned);
        toPicture.push_back(picture - clicked);
    }
    std::printf("start-up: process start to first paint, median %.1f ms (of %zu); Start to its first picture, "
                "median %.2f ms\n",
                percentile(toPaint, 0.5), toPaint.size(), percentile(toPicture, 0.5));
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && std::string(argv[1]) == "--startup-child")
        return childStartup(argc, argv);

    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5000;
    const int slowFrames = argc > 2 ? std::max(1, std::atoi(argv[2])) : 100;

    int appArgc = 1;
    vibrona::Application application(appArgc, argv);
    std::printf("platform %s\n", qPrintable(QGuiApplication::platformName()));
    {
        TForm1 window;
        window.show();
        QElapsedTimer settle;
        settle.start();
        while (settle.elapsed() < 300)
            QCoreApplication::processEvents();

        print("normal", runFrames(window, frames, false));
        print("slow", runFrames(window, slowFrames, true));
        std::printf("peak resident memory %.1f MB\n", peakResidentMb());
    }
    measureStartup(argv[0]);
    return 0;
}
