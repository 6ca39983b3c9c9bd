// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowFixture.h"

#include "platform/Application.h"
#include "TableTest.h"


namespace vibrona {
namespace {

using testing::WindowTest;

vibrona::Application &application()
{
    return *static_cast<vibrona::Application *>(QCoreApplication::instance());
}

struct RejectedStartRow : testing::NamedRow {
    const char *edit; // the input typed into
    const char *typed;
    const char *shown;
};

class ShellRejectedStart : public WindowTest, public ::testing::WithParamInterface<RejectedStartRow> {};

TEST_P(ShellRejectedStart, ShowsTheErrorBoxAndGoesOn)
{
    window.findChild<QLineEdit *>(GetParam().edit)->setText(QString::fromUtf8(GetParam().typed));
    ui.Button1->click();

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QString::fromUtf8(GetParam().shown));
    EXPECT_EQ(boxes[0].title, QCoreApplication::applicationName());
    EXPECT_EQ(boxes[0].icon, QMessageBox::Critical);
    EXPECT_EQ(boxes[0].buttons.size(), 1);
    EXPECT_EQ(QApplication::activeWindow(), &window) << "the window is active again";
    EXPECT_FALSE(ui.Button3->isEnabled()) << "Clear stays disabled until Stop";

    // The program goes on: with the input put right, Start runs.
    window.findChild<QLineEdit *>(GetParam().edit)->setText("1");
    atFrame(2, [&] { ui.Button2->click(); });
    EXPECT_EQ(pressStartAndRun(), 2);
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(ui.Button3->isEnabled());
}

const RejectedStartRow rejectedStartRows[] = {
    {{"LettersInTheFirstInput"}, "Edit1", "abc", "'abc' is not a valid floating point value."},
    {{"EmptyPhase"}, "Edit5", "", "'' is not a valid floating point value."},
    {{"BeyondTheDoubleRange"}, "Edit3", "1E400", "Floating point overflow."},
    {{"NonAsciiTextQuotedWhole"}, "Edit2", "3,5 m²", "'3,5 m²' is not a valid floating point value."},
};

INSTANTIATE_TEST_SUITE_P(Inputs, ShellRejectedStart, ::testing::ValuesIn(rejectedStartRows), testing::RowName());

TEST_F(WindowTest, CarriesTheProgramsIconAndTitle)
{
    EXPECT_TRUE(QApplication::windowIcon().availableSizes().contains(QSize(32, 32)));
    EXPECT_FALSE(window.windowIcon().isNull());
    EXPECT_EQ(window.windowTitle(), "Vibrona");
    // The tests' executable, ui_tests, gets its title by the same rule: the
    // first character as it is.
    EXPECT_EQ(QCoreApplication::applicationName(), "ui_tests");
}

TEST_F(WindowTest, ErrorInANestedStartLeavesTheRunBelowRunning)
{
    int framesAfterError = 0;
    atFrame(2, [&] {
        ui.Edit3->setText("abc");
        ui.Button1->click();
    });
    for (int frame = 3; frame <= 6; ++frame)
        atFrame(frame, [&] { ++framesAfterError; });
    atFrame(7, [&] { ui.Button2->click(); });
    pressStartAndRun();

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "'abc' is not a valid floating point value.");
    EXPECT_EQ(framesAfterError, 4);
    EXPECT_EQ(window.runDepth(), 0);
}

TEST_F(WindowTest, FaultingCoordinateEndsTheRunWithItsBox)
{
    ui.Edit3->setText("1e30");
    ui.Edit5->setText("90");
    ui.Button1->click();

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Invalid floating point operation.");
    EXPECT_EQ(ui.Chart1->Series1().Count(), 1);
    EXPECT_EQ(ui.Image1->surface().image().pixelColor(200, 200), QColor(Qt::white));
    EXPECT_FALSE(ui.Button3->isEnabled());
    EXPECT_EQ(window.runDepth(), 0);
}

// The program's own loop, for as long as the window keeps the program going.
class ShellEnding : public WindowTest {
protected:
    ShellEnding() { application().setMainWindow(&window, [this] { return window.runDepth() > 0; }); }
    ~ShellEnding() override { application().setMainWindow(nullptr, nullptr); }

    // Runs the application's event loop with `first` queued; returns whether
    // the program ended with exit code 0 (rather than given up on).
    bool programEnds(std::function<void()> first)
    {
        QTimer::singleShot(0, first);
        QTimer safety;
        safety.setSingleShot(true);
        QObject::connect(&safety, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        safety.start(SafetyStopMs);
        return QApplication::exec() == 0;
    }
};

TEST_F(ShellEnding, CloseAtRestEndsAtOnce)
{
    EXPECT_TRUE(programEnds([&] { window.close(); }));
    EXPECT_FALSE(window.isVisible());
}

struct CloseDuringRunRow : testing::NamedRow {
    std::function<void(QWidget &)> askToEnd;
};

class ShellEndDuringRun : public ShellEnding, public ::testing::WithParamInterface<CloseDuringRunRow> {};

TEST_P(ShellEndDuringRun, WaitsForStop)
{
    bool stillAnimating = false;
    atFrame(2, [&] { GetParam().askToEnd(window); });
    atFrame(3, [&] { GetParam().askToEnd(window); }); // a second request changes nothing
    atFrame(6, [&] {
        stillAnimating = window.isVisible() && application().endPending();
        ui.Button2->click();
    });
    EXPECT_TRUE(programEnds([&] { pressStartAndRun(); }));
    EXPECT_TRUE(stillAnimating);
    EXPECT_FALSE(application().endPending());
}

const CloseDuringRunRow closeDuringRunRows[] = {
    {{"WindowClosed"}, [](QWidget &w) { w.close(); }},
    {{"ApplicationQuit"}, [](QWidget &) { QCoreApplication::quit(); }},
};

INSTANTIATE_TEST_SUITE_P(Requests, ShellEndDuringRun, ::testing::ValuesIn(closeDuringRunRows), testing::RowName());

TEST_F(ShellEnding, CloseDuringARunEndedByAFaultEndsWhenTheBoxIsDismissed)
{
    atFrame(2, [&] {
        window.close();
        ui.Edit3->setText("1e30");
        ui.Edit5->setText("90");
        ui.Button1->click(); // a nested Start that faults
    });
    atFrame(3, [&] { ui.Button1->click(); });
    // The outermost run restarts once more and faults too; the program then ends.
    EXPECT_TRUE(programEnds([&] { pressStartAndRun(); }));
    EXPECT_GE(boxes.size(), 2u);
}

} // namespace
} // namespace vibrona
