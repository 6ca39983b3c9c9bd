// SPDX-License-Identifier: GPL-3.0-or-later
// The monkey: thousands of random user actions on the real window, seed by
// seed, most of them while Start's frame loop is running, and the window's
// rules checked after every action and at every pumping:
//   - the chart's series holds at most one point;
//   - Clear is disabled exactly from a Start that got past its axis settings
//     until the next Stop, and a click on it while disabled removes nothing;
//   - the frame loops nest no deeper than Animation::MaxDepth, and never
//     deeper than the Starts under way;
//   - after a Stop no frame runs until a Start gets past its axis settings;
//   - the window stays open until it is closed at rest; a close during a run
//     keeps the window animating and ends the program when the outermost run
//     has ended.
//
// A seed fixes every choice (std::mt19937). A failing seed names itself and
// the latest actions; it is replayed alone with
//   VIBRONA_MONKEY_SEED=N monkey_tests
// VIBRONA_MONKEY_ACTIONS=M sets the number of actions per seed, and
// VIBRONA_MONKEY_LOG=1 prints every action as it is done.
#include "WindowFixture.h"

#include "animation/OscillationState.h"
#include "platform/Application.h"

#include <QKeyEvent>
#include <QLocale>
#include <QPlainTextEdit>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace vibrona {
namespace {

using testing::WindowTest;

constexpr const char *SeedVariable = "VIBRONA_MONKEY_SEED";
constexpr const char *ActionsVariable = "VIBRONA_MONKEY_ACTIONS";
constexpr const char *LogVariable = "VIBRONA_MONKEY_LOG";

// About six seconds a seed in the sanitized build.
constexpr int DefaultActionsPerSeed = 2000;

// The suite's seeds. A seed that once found a fault stays here.
constexpr std::uint32_t SuiteSeeds[] = {1, 2, 3, 4, 5, 6, 7, 8};

// How the application's loop ends for the monkey; 0 is the program's own end.
constexpr int ExitActionsDone = 40;
constexpr int ExitGivenUp = 41;

// No action for this long means the window or the monkey is stuck [ms]:
// far beyond the slowest stretch of a sanitized run.
constexpr qint64 StallMs = 20000;
constexpr int WatchdogIntervalMs = 500;

// Inside a run several actions may come between two frames, as a quick user's
// do; now and then a few frames go by untouched. Every frame costs its 5 ms
// pause, so the frames, not the actions, set the time a seed takes.
constexpr int MaxBurst = 16;
constexpr int MaxIdleFrames = 3;
constexpr int IdlePercent = 5;

// Slow mode costs 105 ms a frame: once ticked, it is unticked again at the
// next action with this chance [%].
constexpr int SlowModeUntickPercent = 90;

// This share of the clicks on buttons and the check box are made with the
// keyboard instead: the focus put on the control, and Space [%].
constexpr int KeyboardPercent = 20;

// One outermost run in this many nests Starts without Stops until the depth
// limit, and this many Starts beyond it.
constexpr int DeepeningOneIn = 60;
constexpr int StartsBeyondMaxDepth = 2;

// How many of the latest actions a failure lists.
constexpr std::size_t RecentActionsShown = 30;

// Window sizes the monkey picks from [px]: from narrower than the left panel
// (the chart all but gone) to larger than the window opens; never so low that
// the buttons leave the screen.
constexpr int MinWindowWidth = 560;
// In a window so narrow the plot is a few pixels wide, and every pixel of a
// scroll moves the axes by their whole range: only now and then.
constexpr int UsualMinWindowWidth = 800;
constexpr int NarrowWindowPercent = 5;
constexpr int MaxWindowWidth = 1800;
constexpr int MinWindowHeight = 380;
constexpr int MaxWindowHeight = 1200;
// Drags start and end up to this far outside the chart [px]. Most of them
// are short, as the user's are: a long scroll soon moves an axis past 20 and
// every Start after it is refused until the user scrolls back.
constexpr int DragOvershoot = 40;
constexpr int ShortDragPx = 60;
constexpr int LongDragPercent = 15;
// After a refused Start the user scrolls back with this chance [%].
constexpr int RecentreAfterRefusalPercent = 50;
// After a Start that rejected an input the user puts the inputs right with
// this chance [%]; without it nearly every Start would end in a box.
constexpr int FixInputsAfterRejectionPercent = 80;
// The farthest a recentring drag reaches, for ranges zoomed so small that
// the origin lies beyond any screen [px].
constexpr int RecentreReachPx = 100000;

const QString AxisRefusal = QStringLiteral("Axis Maximum Value must be >= Minimum.");

std::optional<long long> environmentNumber(const char *name)
{
    const QByteArray value = qgetenv(name);
    if (value.isEmpty())
        return std::nullopt;
    bool ok = false;
    const long long number = value.toLongLong(&ok);
    if (!ok) {
        std::fprintf(stderr, "%s=%s is not a number; ignored\n", name, value.constData());
        return std::nullopt;
    }
    return number;
}

int actionsPerSeed()
{
    return int(std::max(1LL, environmentNumber(ActionsVariable).value_or(DefaultActionsPerSeed)));
}

struct SeedRow {
    std::uint32_t seed;
};

void PrintTo(const SeedRow &row, std::ostream *out)
{
    *out << "seed " << row.seed;
}

// The suite's seeds, or only the one the environment names.
std::vector<SeedRow> seedsToRun()
{
    if (const auto seed = environmentNumber(SeedVariable))
        return {SeedRow{std::uint32_t(*seed)}};
    std::vector<SeedRow> rows;
    for (const std::uint32_t seed : SuiteSeeds)
        rows.push_back({seed});
    return rows;
}

std::string seedName(const ::testing::TestParamInfo<SeedRow> &info)
{
    return "Seed" + std::to_string(info.param.seed);
}

// What Qt says thousands of times a seed and that tells nothing about the
// program: the offscreen platform at every box it shows, and the fonts at
// every script of the random texts that they lack.
const char *const PlatformChatter[] = {"does not support propagateSizeHints", "OpenType support missing"};
QtMessageHandler previousMessageHandler = nullptr;

void quietMessageHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    for (const char *chatter : PlatformChatter)
        if (message.contains(QLatin1String(chatter)))
            return;
    previousMessageHandler(type, context, message);
}

Application &application()
{
    return *static_cast<Application *>(QCoreApplication::instance());
}

// ---------------------------------------------------------------------------
// What the monkey does.

enum class Action {
    Start,
    Stop,
    Clear,
    SlowMode,
    Type,
    ValidInputs,
    FaultInputs,
    Zoom,
    Scroll,
    Recentre,
    Buttons,
    Resize,
    Close,
};

// How often each action is chosen, relative to the others in its column: at
// rest mostly Start, so that most actions land inside runs; in a deepening run
// no Stop and many Starts, to reach the depth limit.
struct ActionWeight {
    Action action;
    const char *name;
    int atRest;
    int inRun;
    int deepening;
};

constexpr ActionWeight ActionWeights[] = {
    // action               name           at rest  in run  deepening
    {Action::Start,         "Start",         400,      40,     300},
    {Action::Stop,          "Stop",           30,      40,       0},
    {Action::Clear,         "Clear",          60,      80,      40},
    {Action::SlowMode,      "SlowMode",       10,       8,       3},
    {Action::Type,          "Type",           80,      80,      30},
    {Action::ValidInputs,   "ValidInputs",    80,      60,     120},
    {Action::FaultInputs,   "FaultInputs",    10,      10,       0},
    {Action::Zoom,          "Zoom",           50,      80,      40},
    {Action::Scroll,        "Scroll",         50,      80,      40},
    {Action::Recentre,      "Recentre",       10,      10,      10},
    {Action::Buttons,       "Buttons",        20,      30,      20},
    {Action::Resize,        "Resize",         20,      20,      10},
    {Action::Close,         "Close",           4,       4,       0},
};

const char *actionName(Action action)
{
    for (const ActionWeight &weight : ActionWeights)
        if (weight.action == action)
            return weight.name;
    return "?";
}

// Texts the user may type or paste: numbers in both decimal notations, the
// double range's edges and beyond, words, symbols and scripts.
const char *const CuratedTexts[] = {
    "2,5", "3.5", "15", "1", "0", "-7", "+4", " 12", "12 ", "1e2", "1E-3", "-0", "0,0001",
    "1e400", "1E400", "-1e400", "1e30", "1e308", "1.8e308", "-1.8e308", "4.9e-324", "1e-400",
    "9223372036854775808", "abc", "", " ", "1..2", "1,,2", "--1", "1e", "e5", ",", ".", "1,000.5",
    "nan", "NAN", "inf", "-INF", "0x10", "$10", "1_000", "3,5 m²", "ϕ", "čtyři", "١٢٣", "１２",
    "😀", "1\t2", "½", "²", "٫", "1٫5", "∞", "－1",
};

QString randomText(std::mt19937 &rng)
{
    const auto pick = [&](int from, int to) { return std::uniform_int_distribution<int>(from, to)(rng); };
    switch (pick(0, 11)) {
    case 0:
    case 1:
    case 2:
    case 9:
    case 10: { // a number the program can run with, in either notation
        const double value = std::uniform_real_distribution<double>(-25.0, 25.0)(rng);
        QString text = QString::number(value, 'f', pick(0, 4));
        if (pick(0, 1) == 0)
            text.replace(QLatin1Char('.'), QLatin1Char(','));
        return text;
    }
    case 3:
    case 4:
    case 5:
        return QString::fromUtf8(CuratedTexts[pick(0, int(std::size(CuratedTexts)) - 1)]);
    case 6: { // long: digits (beyond the double range when long enough) or letters
        const int length = pick(50, 3000);
        const bool digits = pick(0, 1) == 0;
        QString text;
        text.reserve(length);
        for (int i = 0; i < length; ++i)
            text.append(QChar(digits ? u'0' + char16_t(pick(0, 9)) : u'a' + char16_t(pick(0, 25))));
        return text;
    }
    case 7: { // random bytes, read as UTF-8
        QByteArray bytes;
        for (int i = pick(1, 64); i > 0; --i)
            bytes.append(char(pick(0, 255)));
        return QString::fromUtf8(bytes);
    }
    case 8: { // random UTF-16 units, lone surrogates included
        QString text;
        for (int i = pick(1, 16); i > 0; --i)
            text.append(QChar(char16_t(pick(1, 0xFFFF))));
        return text;
    }
    default:
        return {};
    }
}

// Parameters whose motion reaches a picture coordinate that has no 64-bit
// integer: at once (a phase of 90 degrees), or after a few frames.
struct FaultingInputs {
    const char *a;
    const char *omega1;
    const char *b;
    const char *omega2;
    const char *phase;
};

constexpr FaultingInputs FaultingInputSets[] = {
    {"15", "1", "1e30", "1", "90"},
    {"1e30", "1", "15", "1", "0"},
    {"1e20", "1", "15", "1", "0"},
    {"15", "1", "1e300", "3", "45"},
};

// ---------------------------------------------------------------------------

class WindowMonkey : public WindowTest, public ::testing::WithParamInterface<SeedRow> {
protected:
    WindowMonkey()
    {
        previousMessageHandler = qInstallMessageHandler(quietMessageHandler);
        application().setMainWindow(&window, [this] { return window.runDepth() > 0; });
    }

    ~WindowMonkey() override
    {
        application().setMainWindow(nullptr, nullptr);
        qInstallMessageHandler(previousMessageHandler);
        // The frame delay lives in the program-wide state: the next seed's
        // window must not start in slow mode behind an unticked box.
        if (ui.CheckBox1->isChecked())
            ui.CheckBox1->click();
    }

    void run(std::uint32_t seed, int actions);

private:
    // What the user is expected to see of the window.
    enum class Shown { Open, Closed, Either };

    // A Start whose outcome is not known yet: whether it got past its axis
    // settings shows in the boxes that came after it.
    struct PendingStart {
        std::size_t firstBox;
        bool clearDisabledBefore;
        std::optional<double> frozenTimeBefore;
    };

    void tick();
    void burst();
    void queueStart();
    void finish();
    bool canAct() const;
    bool endUnderWay() const { return m_endRequested && window.runDepth() == 0; }
    Action choose();
    void perform(Action action);
    bool check(const char *after);
    void resolvePendingStart();
    void dismiss(QMessageBox *box);
    bool checkNewBoxes();
    bool fail(const std::string &what);
    bool programEnded(int code);
    void record(const std::string &entry);

    int pick(int from, int to) { return std::uniform_int_distribution<int>(from, to)(m_rng); }
    bool percent(int chance) { return pick(0, 99) < chance; }
    QPoint chartPoint();
    QPoint dragEnd(QPoint from);

    void clickOn(QWidget *widget);
    void typeInto(QWidget *target, const QString &text);
    void stopRun();

    QLineEdit *const m_edits[5] = {ui.Edit1, ui.Edit2, ui.Edit3, ui.Edit4, ui.Edit5};
    std::mt19937 m_rng;
    QObject m_context;
    int m_actionsLeft = 0;
    bool m_startQueued = false;
    int m_idleFrames = 0;
    bool m_finished = false;
    bool m_deepening = false;
    int m_startsBeyondMax = 0;
    bool m_lastStartRefused = false;
    bool m_lastInputRejected = false;
    QElapsedTimer m_sinceAction;

    // The model of what the window must show.
    bool m_clearDisabled = false;
    std::optional<PendingStart> m_pending;
    std::size_t m_boxesChecked = 0;
    std::optional<double> m_frozenTime; // T since a Stop
    int m_startsUnderWay = 0;           // Start clicks not yet returned
    bool m_endRequested = false;        // a close or quit since the window was shown
    Shown m_shown = Shown::Open;

    std::deque<std::string> m_recent;
    const bool m_logAll = qEnvironmentVariableIsSet(LogVariable);
    int m_actionNumber = 0;

    struct Figures {
        int inRuns = 0;
        int atRest = 0;
        int frames = 0;
        int slowFrames = 0;
        int starts = 0;
        int axisRefusals = 0;
        int deepest = 0;
        int programEnds = 0;
    } m_figures;
};

void WindowMonkey::run(std::uint32_t seed, int actions)
{
    m_rng.seed(seed);
    m_actionsLeft = actions;

    QTimer driver;
    driver.setInterval(0);
    QObject::connect(&driver, &QTimer::timeout, [this] { tick(); });
    QTimer watchdog;
    watchdog.setInterval(WatchdogIntervalMs);
    QObject::connect(&watchdog, &QTimer::timeout, [this] {
        if (m_finished || m_sinceAction.elapsed() <= StallMs)
            return;
        if (endUnderWay())
            fail("the program did not end after a close, with no run going on");
        else
            fail("no action for " + std::to_string(StallMs) + " ms: the window or a box is stuck");
    });
    QElapsedTimer clock;
    clock.start();
    m_sinceAction.start();
    driver.start();
    watchdog.start();

    // The program's own loop, as in main(): a close ends it and returns 0.
    // The program is then started anew on the same window.
    for (;;) {
        const int code = QApplication::exec();
        if (code == ExitActionsDone || code == ExitGivenUp || !programEnded(code))
            break;
    }
    driver.stop();
    watchdog.stop();

    std::size_t axisBoxes = 0;
    for (const testing::SeenBox &box : boxes)
        axisBoxes += box.text == AxisRefusal;
    std::printf("[monkey] seed %u: %d actions (%d in runs, %d at rest), %d frames, %d Starts, %zu error boxes "
                "(%zu axis refusals), deepest nesting %d, %d program ends, %d frames in slow mode, %.1f s\n",
                seed, m_figures.inRuns + m_figures.atRest, m_figures.inRuns, m_figures.atRest, m_figures.frames,
                m_figures.starts, boxes.size(), axisBoxes, m_figures.deepest, m_figures.programEnds, m_figures.slowFrames,
                double(clock.elapsed()) / 1000.0);
}

// The application's loop returned with `code`: the program ended.
bool WindowMonkey::programEnded(int code)
{
    if (code != 0)
        return fail("the program's loop ended with code " + std::to_string(code));
    if (!m_endRequested)
        return fail("the program ended without a close or quit");
    if (window.runDepth() != 0)
        return fail("the program ended with " + std::to_string(window.runDepth()) + " frame loops running");
    if (application().endPending())
        return fail("the program ended with its end still pending");
    ++m_figures.programEnds;
    record("-- the program ended; started anew");
    m_endRequested = false;
    m_shown = Shown::Open;
    window.show();
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    return !m_finished;
}

// One pumping: of a frame loop, of an error box's loop, or of the program's
// own loop at rest.
void WindowMonkey::tick()
{
    if (m_finished)
        return;
    const int depth = window.runDepth();
    m_figures.deepest = std::max(m_figures.deepest, depth);
    // The boxes are answered at once, at the first pumping of their loop:
    // the fixture's watcher would take up to its interval each.
    if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
        dismiss(box);
        return;
    }
    if (!check("a pumping"))
        return;
    // Outside a box, a pumping during a run is a frame's.
    if (depth > 0) {
        ++m_figures.frames;
        m_figures.slowFrames += oscillation.DelayMs > 0;
    }
    if (m_startQueued || QApplication::activeModalWidget() || endUnderWay())
        return;
    if (m_idleFrames > 0) {
        --m_idleFrames;
        return;
    }
    burst();
}

bool WindowMonkey::canAct() const
{
    return !m_finished && m_actionsLeft > 0 && !QApplication::activeModalWidget() && !endUnderWay();
}

void WindowMonkey::burst()
{
    if (m_actionsLeft == 0) {
        finish();
        return;
    }
    const bool inRun = window.runDepth() > 0;
    const int actions = inRun ? pick(1, MaxBurst) : 1;
    for (int i = 0; i < actions && canAct(); ++i) {
        const Action action = choose();
        if (action == Action::Start) {
            queueStart();
            break;
        }
        perform(action);
        if (m_finished || !check(actionName(action)))
            return;
        // After Stop the user watches the runs end: further actions in the
        // same pumping, a Start among them, would mostly keep them going.
        if (action == Action::Stop)
            break;
    }
    m_idleFrames = ui.CheckBox1->isChecked() || !percent(IdlePercent) ? 0 : pick(1, MaxIdleFrames);
}

// Qt fires no timer again while its handler runs: a Start clicked from the
// driver would run a frame loop in which the driver never fires. Start is
// clicked from a queued call instead, as the user's clicks come, and its
// burst ends there.
void WindowMonkey::queueStart()
{
    m_startQueued = true;
    QMetaObject::invokeMethod(
        &m_context,
        [this] {
            m_startQueued = false;
            if (canAct() && check("the actions before Start")) {
                perform(Action::Start);
                check(actionName(Action::Start));
            }
        },
        Qt::QueuedConnection);
}

// The actions are used up: Stop, and end the loop at rest.
void WindowMonkey::finish()
{
    if (window.runDepth() > 0) {
        stopRun();
        return;
    }
    if (ui.CheckBox1->isChecked())
        clickOn(ui.CheckBox1);
    m_finished = true;
    QCoreApplication::exit(ExitActionsDone);
}

Action WindowMonkey::choose()
{
    if (ui.CheckBox1->isChecked() && percent(SlowModeUntickPercent))
        return Action::SlowMode;
    if (m_lastStartRefused && percent(RecentreAfterRefusalPercent))
        return Action::Recentre;
    if (std::exchange(m_lastInputRejected, false) && percent(FixInputsAfterRejectionPercent))
        return Action::ValidInputs;
    const bool inRun = window.runDepth() > 0;
    const auto weightOf = [&](const ActionWeight &w) { return !inRun ? w.atRest : m_deepening ? w.deepening : w.inRun; };
    int total = 0;
    for (const ActionWeight &weight : ActionWeights)
        total += weightOf(weight);
    int at = pick(0, total - 1);
    for (const ActionWeight &weight : ActionWeights) {
        at -= weightOf(weight);
        if (at < 0)
            return weight.action;
    }
    return Action::Start;
}

QPoint WindowMonkey::chartPoint()
{
    const QSize size = ui.Chart1->size();
    return {pick(-DragOvershoot, size.width() + DragOvershoot), pick(-DragOvershoot, size.height() + DragOvershoot)};
}

QPoint WindowMonkey::dragEnd(QPoint from)
{
    if (percent(LongDragPercent))
        return chartPoint();
    return from + QPoint(pick(-ShortDragPx, ShortDragPx), pick(-ShortDragPx, ShortDragPx));
}

void WindowMonkey::clickOn(QWidget *widget)
{
    // Sent to the widget as the mouse or the keyboard would, so that a
    // disabled button ignores it as it ignores the user.
    if (percent(KeyboardPercent)) {
        widget->setFocus(Qt::TabFocusReason);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QApplication::sendEvent(widget, &release);
        return;
    }
    const QPoint at = widget->rect().center();
    const QPointF global = widget->mapToGlobal(QPointF(at));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

void WindowMonkey::typeInto(QWidget *target, const QString &text)
{
    auto *edit = qobject_cast<QLineEdit *>(target);
    auto *memo = qobject_cast<QPlainTextEdit *>(target);
    switch (pick(0, 3)) {
    case 0: // pasted over the whole text
        if (edit)
            edit->setText(text);
        else
            memo->setPlainText(text);
        return;
    case 1: // typed after what is there
        break;
    default: // typed over the selected text; an empty text deletes it
        if (edit)
            edit->selectAll();
        else
            memo->selectAll();
        if (text.isEmpty()) {
            QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
            QApplication::sendEvent(target, &backspace);
            return;
        }
        break;
    }
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

void WindowMonkey::stopRun()
{
    clickOn(ui.Button2);
    m_clearDisabled = false;
    m_frozenTime = oscillation.T;
}

std::string shortText(const QString &text)
{
    constexpr int Shown = 24;
    std::string out = text.left(Shown).toStdString();
    if (text.size() > Shown)
        out += "... (" + std::to_string(text.size()) + " characters)";
    return "\"" + out + "\"";
}

void WindowMonkey::perform(Action action)
{
    --m_actionsLeft;
    m_sinceAction.start();
    const int depth = window.runDepth();
    ++(depth > 0 ? m_figures.inRuns : m_figures.atRest);
    std::ostringstream entry;
    entry << "#" << ++m_actionNumber << " depth " << depth << ": " << actionName(action);
    const auto note = [&](const std::string &detail) { entry << " " << detail; };

    QLineEdit *const *const edits = m_edits;
    switch (action) {
    case Action::Start: {
        if (depth == 0) {
            m_deepening = pick(0, DeepeningOneIn - 1) == 0;
            m_startsBeyondMax = 0;
        }
        if (m_deepening && depth >= Animation::MaxDepth && ++m_startsBeyondMax > StartsBeyondMaxDepth)
            m_deepening = false;
        if (m_deepening)
            note("(deepening)");
        record(entry.str());
        m_pending = PendingStart{boxes.size(), m_clearDisabled, m_frozenTime};
        m_frozenTime.reset();
        ++m_figures.starts;
        const int number = m_actionNumber;
        ++m_startsUnderWay;
        clickOn(ui.Button1);
        --m_startsUnderWay;
        record("   the Start of #" + std::to_string(number) + " returned to depth " + std::to_string(window.runDepth()));
        return;
    }
    case Action::Stop:
        record(entry.str());
        stopRun();
        return;
    case Action::Clear: {
        const bool enabled = ui.Button3->isEnabled();
        const int before = ui.Chart1->Series1().Count();
        note(enabled ? "(enabled)" : "(disabled)");
        record(entry.str());
        clickOn(ui.Button3);
        const int after = ui.Chart1->Series1().Count();
        if (after != (enabled ? 0 : before))
            fail("a click on Clear, " + std::string(enabled ? "enabled" : "disabled") + ", left " +
                 std::to_string(after) + " of " + std::to_string(before) + " points");
        return;
    }
    case Action::SlowMode: {
        const bool before = ui.CheckBox1->isChecked();
        note(before ? "off" : "on");
        record(entry.str());
        clickOn(ui.CheckBox1);
        if (ui.CheckBox1->isChecked() == before)
            fail("a click on the slow-mode check box did not toggle it");
        return;
    }
    case Action::Type: {
        const int target = pick(0, 5);
        const QString text = randomText(m_rng);
        note((target < 5 ? edits[target]->objectName().toStdString() : std::string("Output")) + " " +
             shortText(text));
        record(entry.str());
        typeInto(target < 5 ? static_cast<QWidget *>(edits[target]) : ui.Output, text);
        return;
    }
    case Action::ValidInputs: {
        const bool defaults = percent(30);
        std::string shown;
        for (int i = 0; i < 5; ++i) {
            const double limit = i == 4 ? 360.0 : i % 2 == 0 ? 20.0 : 5.0;
            QString text = defaults ? QStringList{"15", "1", "15", "1", "0"}[i]
                                    : QString::number(std::uniform_real_distribution<double>(0.0, limit)(m_rng), 'f',
                                                      pick(0, 2));
            // In the user's notation: the other one is for Type to try.
            text.replace(QStringLiteral("."), QLocale::system().decimalPoint());
            edits[i]->setText(text);
            shown += " " + text.toStdString();
        }
        note(shown);
        record(entry.str());
        return;
    }
    case Action::FaultInputs: {
        const FaultingInputs &set = FaultingInputSets[pick(0, int(std::size(FaultingInputSets)) - 1)];
        const char *texts[] = {set.a, set.omega1, set.b, set.omega2, set.phase};
        for (int i = 0; i < 5; ++i) {
            edits[i]->setText(QString::fromUtf8(texts[i]));
            note(texts[i]);
        }
        record(entry.str());
        return;
    }
    case Action::Zoom:
    case Action::Scroll: {
        // Zoom rectangles span much of the plot; scrolls are mostly short.
        const QPoint from = chartPoint();
        const QPoint to = action == Action::Zoom ? chartPoint() : dragEnd(from);
        note("(" + std::to_string(from.x()) + "," + std::to_string(from.y()) + ") to (" + std::to_string(to.x()) +
             "," + std::to_string(to.y()) + ")");
        record(entry.str());
        dragOnChart(from, to, action == Action::Zoom ? Qt::LeftButton : Qt::RightButton);
        return;
    }
    case Action::Recentre: {
        // Back to where Start can set the axes: the zoom undone (a left drag
        // up and to the left), then the origin pulled to the middle of the
        // plot with the right button, by as many pixels as the plot's scale
        // takes.
        const QRect plot = ui.Chart1->axisRect()->rect();
        const QPoint middle = plot.center();
        if (percent(50))
            dragOnChart(middle, middle - QPoint(ShortDragPx, ShortDragPx), Qt::LeftButton);
        const auto pixelsToOrigin = [](const ChartAxisRange &axis, int lengthPx) {
            const double range = axis.Maximum() - axis.Minimum();
            const double centre = (axis.Maximum() + axis.Minimum()) / 2.0;
            const double pixels = range > 0.0 ? centre * std::max(1, lengthPx) / range : 0.0;
            return int(std::clamp(pixels, double(-RecentreReachPx), double(RecentreReachPx)));
        };
        const QPoint moved(pixelsToOrigin(ui.Chart1->BottomAxis(), plot.width()),
                           -pixelsToOrigin(ui.Chart1->LeftAxis(), plot.height()));
        note("by (" + std::to_string(moved.x()) + "," + std::to_string(moved.y()) + ")");
        record(entry.str());
        dragOnChart(middle, middle + moved, Qt::RightButton);
        m_lastStartRefused = false;
        return;
    }
    case Action::Buttons: {
        // Two buttons at once: the second pressed while the first is held,
        // and released first.
        const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};
        const Qt::MouseButton first = buttons[pick(0, 2)];
        const Qt::MouseButton second = buttons[pick(0, 2)];
        const QPoint at[] = {chartPoint(), chartPoint(), chartPoint()};
        note(std::to_string(int(first)) + "+" + std::to_string(int(second)));
        record(entry.str());
        QWidget *chart = ui.Chart1;
        const auto send = [&](QEvent::Type type, QPoint point, Qt::MouseButton button, Qt::MouseButtons held) {
            QMouseEvent event(type, QPointF(point), chart->mapToGlobal(QPointF(point)), button, held, Qt::NoModifier);
            QApplication::sendEvent(chart, &event);
        };
        send(QEvent::MouseButtonPress, at[0], first, first);
        send(QEvent::MouseButtonPress, at[0], second, first | second);
        send(QEvent::MouseMove, at[1], Qt::NoButton, first | second);
        send(QEvent::MouseButtonRelease, at[1], second, first);
        send(QEvent::MouseMove, at[2], Qt::NoButton, first);
        send(QEvent::MouseButtonRelease, at[2], first, Qt::NoButton);
        return;
    }
    case Action::Resize: {
        const int narrowest = percent(NarrowWindowPercent) ? MinWindowWidth : UsualMinWindowWidth;
        const QSize size(pick(narrowest, MaxWindowWidth), pick(MinWindowHeight, MaxWindowHeight));
        note(std::to_string(size.width()) + "x" + std::to_string(size.height()));
        record(entry.str());
        window.resize(size);
        return;
    }
    case Action::Close: {
        const bool quit = percent(15);
        note(quit ? "(quit)" : "(window)");
        record(entry.str());
        m_endRequested = true;
        if (depth == 0)
            m_shown = quit ? Shown::Either : Shown::Closed;
        if (quit)
            QCoreApplication::quit();
        else
            window.close();
        return;
    }
    }
}

// The program's errors, as their boxes say them.
const QString ErrorTexts[] = {
    AxisRefusal,
    QStringLiteral("Floating point overflow."),
    QStringLiteral("Invalid floating point operation."),
};
const QString RejectedTextStart = QStringLiteral("'");
const QString RejectedTextEnd = QStringLiteral("' is not a valid floating point value.");

void WindowMonkey::dismiss(QMessageBox *box)
{
    testing::SeenBox seen{box->windowTitle(), box->text(), box->icon(), {}};
    for (QAbstractButton *button : box->buttons())
        seen.buttons.push_back(button->text());
    boxes.push_back(seen);
    record("   box: " + shortText(seen.text));
    QAbstractButton *ok = box->button(QMessageBox::Ok);
    if (!ok) {
        fail("a box without OK: " + seen.text.toStdString());
        return;
    }
    // Boxes come from Start, or from a frame of the run it is running.
    if (m_startsUnderWay == 0) {
        fail("a box with no Start under way: " + seen.text.toStdString());
        return;
    }
    ok->click();
}

// Every box is one of the program's errors; a rejected text is quoted as one
// of the inputs holds it. The boxes the fixture's watcher answered are judged
// here too.
bool WindowMonkey::checkNewBoxes()
{
    for (; m_boxesChecked < boxes.size(); ++m_boxesChecked) {
        const testing::SeenBox &seen = boxes[m_boxesChecked];
        const std::string shown = seen.title.toStdString() + ": " + seen.text.toStdString();
        if (seen.icon != QMessageBox::Critical || seen.buttons.size() != 1 ||
            seen.title != QCoreApplication::applicationName())
            return fail("a box that is not an error box: " + shown);
        if (seen.text.startsWith(RejectedTextStart) && seen.text.endsWith(RejectedTextEnd)) {
            const QString quoted = seen.text.mid(RejectedTextStart.size(),
                                                 seen.text.size() - RejectedTextStart.size() - RejectedTextEnd.size());
            const bool typed = std::any_of(std::begin(m_edits), std::end(m_edits), [&](QLineEdit *edit) {
                return QString::fromStdString(edit->text().toStdString()) == quoted;
            });
            if (!typed)
                return fail("the box quotes a text that no input holds: " + shown);
        } else if (std::find(std::begin(ErrorTexts), std::end(ErrorTexts), seen.text) == std::end(ErrorTexts)) {
            return fail("a box with an unknown text: " + shown);
        }
    }
    return true;
}

void WindowMonkey::resolvePendingStart()
{
    if (!m_pending)
        return;
    // Only Start shows boxes before its first frame; any box since the click
    // is this Start's own.
    const bool refused = std::any_of(boxes.begin() + std::ptrdiff_t(m_pending->firstBox), boxes.end(),
                                     [](const testing::SeenBox &box) { return box.text == AxisRefusal; });
    m_lastStartRefused = refused;
    m_lastInputRejected = !refused && boxes.size() > m_pending->firstBox;
    if (refused) {
        ++m_figures.axisRefusals;
        m_clearDisabled = m_pending->clearDisabledBefore;
        m_frozenTime = m_pending->frozenTimeBefore;
    } else {
        m_clearDisabled = true;
    }
    m_pending.reset();
}

bool WindowMonkey::check(const char *after)
{
    // While a box is open the window waits for its OK; what it shows then is
    // judged once the box is gone.
    if (m_finished || QApplication::activeModalWidget())
        return !m_finished;
    if (!checkNewBoxes())
        return false;
    resolvePendingStart();
    const std::string when = std::string(" (after ") + after + ")";
    const int depth = window.runDepth();
    if (ui.Chart1->Series1().Count() > 1)
        return fail("the series holds " + std::to_string(ui.Chart1->Series1().Count()) + " points" + when);
    if (depth > Animation::MaxDepth)
        return fail("frame loops nested " + std::to_string(depth) + " deep, beyond " +
                    std::to_string(Animation::MaxDepth) + when);
    if (depth > m_startsUnderWay)
        return fail(std::to_string(depth) + " frame loops running with " + std::to_string(m_startsUnderWay) +
                    " Starts under way" + when);
    if (ui.Button3->isEnabled() == m_clearDisabled)
        return fail(std::string("Clear is ") + (m_clearDisabled ? "enabled" : "disabled") + " although " +
                    (m_clearDisabled ? "no Stop followed the last Start that got past its axes"
                                     : "no Start got past its axes since the last Stop") +
                    when);
    if (m_frozenTime && oscillation.T != *m_frozenTime)
        return fail("a frame ran after Stop: T moved from " + std::to_string(*m_frozenTime) + " to " +
                    std::to_string(oscillation.T) + when);
    if (m_shown == Shown::Open && !window.isVisible())
        return fail("the window is hidden although it was not closed at rest" + when);
    if (m_shown == Shown::Closed && window.isVisible())
        return fail("the window is still shown after a close at rest" + when);
    if (m_endRequested && depth > 0 && !application().endPending())
        return fail("a close during the run is not waiting for the run's end" + when);
    return true;
}

bool WindowMonkey::fail(const std::string &what)
{
    if (m_finished)
        return false;
    std::string recent;
    for (const std::string &entry : m_recent)
        recent += "  " + entry + "\n";
    ADD_FAILURE() << what << "\nthe latest actions:\n" << recent;
    // Give up the seed: end every run and the loop.
    m_finished = true;
    ui.Button2->click();
    QCoreApplication::exit(ExitGivenUp);
    return false;
}

void WindowMonkey::record(const std::string &entry)
{
    if (m_logAll)
        std::printf("[monkey] %s\n", entry.c_str());
    m_recent.push_back(entry);
    if (m_recent.size() > RecentActionsShown)
        m_recent.pop_front();
}

TEST_P(WindowMonkey, KeepsTheWindowsRules)
{
    const std::uint32_t seed = GetParam().seed;
    const int actions = actionsPerSeed();
    SCOPED_TRACE("seed " + std::to_string(seed) + ", " + std::to_string(actions) +
                 " actions; replay it alone: " + SeedVariable + "=" + std::to_string(seed) + " " + ActionsVariable +
                 "=" + std::to_string(actions) + " monkey_tests");
    run(seed, actions);
}

INSTANTIATE_TEST_SUITE_P(Seeds, WindowMonkey, ::testing::ValuesIn(seedsToRun()), seedName);

} // namespace
} // namespace vibrona
