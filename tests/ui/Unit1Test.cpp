// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowFixture.h"

#include "TableTest.h"

#include <QAccessible>
#include <QLayout>
#include <QScreen>

#include <cmath>

namespace vibrona {
namespace {

using testing::WindowTest;

TEST_F(WindowTest, OpensWithTheInitialState)
{
    EXPECT_EQ(window.windowTitle(), "Vibrona");
    EXPECT_EQ(ui.Edit1->text(), "15");
    EXPECT_EQ(ui.Edit2->text(), "1");
    EXPECT_EQ(ui.Edit3->text(), "15");
    EXPECT_EQ(ui.Edit4->text(), "1");
    EXPECT_EQ(ui.Edit5->text(), "0");
    EXPECT_FALSE(ui.CheckBox1->isChecked());
    EXPECT_TRUE(ui.Button3->isEnabled()) << "Clear is enabled although nothing is drawn yet";
    EXPECT_EQ(QApplication::focusWidget(), ui.Edit1);
    EXPECT_EQ(ui.Chart1->Series1().Count(), 0);
    EXPECT_TRUE(ui.Chart1->BottomAxis().Automatic());
    EXPECT_TRUE(ui.Output->toPlainText().isEmpty());
    EXPECT_EQ(ui.Label7->text(), QString::fromUtf8("ω1"));
    EXPECT_EQ(ui.Label4->text(), QString::fromUtf8("ω2"));
    EXPECT_EQ(ui.Label8->text(), QString::fromUtf8("ϕ"));
}

TEST_F(WindowTest, LayoutPlacesEveryControl)
{
    EXPECT_EQ(window.size(), QSize(1099, 693));
    EXPECT_EQ(ui.Panel1->geometry(), QRect(0, 0, 1099, 693));
    EXPECT_EQ(ui.Panel2->geometry(), QRect(1, 1, 592, 691));
    EXPECT_EQ(ui.Chart1->geometry(), QRect(593, 1, 505, 691));
    EXPECT_EQ(ui.Image1->geometry(), QRect(208, 16, 377, 673));
    EXPECT_EQ(ui.GroupBox1->geometry(), QRect(8, 8, 193, 681));
    EXPECT_EQ(ui.Edit5->geometry(), QRect(112, 180, 57, 21));
    EXPECT_EQ(ui.Button1->geometry(), QRect(16, 256, 75, 25));
    EXPECT_EQ(ui.Output->geometry(), QRect(8, 368, 177, 153));
    EXPECT_EQ(window.font().pixelSize(), 11);
}

TEST_F(WindowTest, TabVisitsTheControlsInOrderWithThePhaseLast)
{
    const std::vector<QWidget *> order = {ui.Edit1,   ui.Edit2,   ui.Edit3,     ui.Edit4,  ui.Button1,
                                          ui.Button2, ui.Button3, ui.CheckBox1, ui.Output, ui.Edit5};
    ui.Edit1->setFocus();
    for (std::size_t i = 1; i <= order.size(); ++i) {
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QApplication::sendEvent(QApplication::focusWidget(), &tab);
        EXPECT_EQ(QApplication::focusWidget(), order[i % order.size()]) << "after Tab number " << i;
    }
}

TEST_F(WindowTest, TabSkipsClearWhileItIsDisabled)
{
    ui.Button3->setEnabled(false);
    ui.Button2->setFocus();
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(ui.Button2, &tab);
    EXPECT_EQ(QApplication::focusWidget(), ui.CheckBox1);
}

TEST_F(WindowTest, EditsAreAnnouncedByTheirLabels)
{
    EXPECT_EQ(ui.Label1->buddy(), ui.Edit1);
    EXPECT_EQ(ui.Label8->buddy(), ui.Edit5);
    EXPECT_EQ(ui.Edit1->accessibleName(), "amplituda A [m]");
    EXPECT_FALSE(ui.Image1->accessibleName().isEmpty());
    EXPECT_FALSE(ui.Chart1->accessibleName().isEmpty());
}

TEST_F(WindowTest, RunFixesTheAxesAndKeepsOnePoint)
{
    int mostPoints = 0;
    bool clearDisabled = true;
    for (int frame = 1; frame <= 20; ++frame)
        atFrame(frame, [&] {
            mostPoints = std::max(mostPoints, ui.Chart1->Series1().Count());
            clearDisabled = clearDisabled && !ui.Button3->isEnabled();
        });
    atFrame(21, [&] { ui.Button2->click(); });
    pressStartAndRun();

    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(mostPoints, 1);
    EXPECT_TRUE(clearDisabled);
    EXPECT_TRUE(ui.Button3->isEnabled()) << "Stop enables Clear";
    EXPECT_EQ(ui.Chart1->Series1().Count(), 1);
    for (ChartAxisRange *axis : {&ui.Chart1->BottomAxis(), &ui.Chart1->LeftAxis()}) {
        EXPECT_FALSE(axis->Automatic());
        EXPECT_EQ(axis->Minimum(), -20.0);
        EXPECT_EQ(axis->Maximum(), 20.0);
    }
    EXPECT_EQ(window.runDepth(), 0);

    ui.Button3->click();
    EXPECT_EQ(ui.Chart1->Series1().Count(), 0);
}

TEST_F(WindowTest, FirstFrameDrawsTheMassAtRest)
{
    atFrame(1, [&] { ui.Button2->click(); });
    pressStartAndRun();
    const QImage image = ui.Image1->surface().image();
    EXPECT_EQ(image.pixelColor(200, 200), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(200, 7), QColor(Qt::red));
    EXPECT_EQ(ui.Chart1->Series1().points()[0].x, 0.0);
}

TEST_F(WindowTest, WideningTheWindowWidensOnlyTheChart)
{
    window.resize(1400, 800);
    QApplication::processEvents();
    EXPECT_EQ(ui.Panel2->width(), 592);
    EXPECT_EQ(ui.Panel2->height(), 798);
    EXPECT_EQ(ui.Panel1->geometry(), QRect(0, 0, 1400, 800));
    EXPECT_EQ(ui.Chart1->geometry(), QRect(593, 1, 1400 - 2 - 592, 798));
    EXPECT_EQ(ui.Image1->geometry(), QRect(208, 16, 377, 673));
}

TEST_F(WindowTest, TextInTheMemoChangesNothing)
{
    ui.Output->setPlainText("poznámka");
    atFrame(1, [&] { ui.Button2->click(); });
    pressStartAndRun();
    EXPECT_EQ(ui.Output->toPlainText(), "poznámka");
    EXPECT_TRUE(boxes.empty());
}

// After a Start the axes run from -20 to 20; the user zooms into the
// square from (-10, 10) to (10, -10), then drags back to undo it.
TEST_F(WindowTest, ZoomAndUndo)
{
    atFrame(1, [&] { ui.Button2->click(); });
    pressStartAndRun();
    QApplication::processEvents();

    dragOnChart(chartPixel(-10, 10), chartPixel(10, -10), Qt::LeftButton);
    EXPECT_NEAR(ui.Chart1->BottomAxis().Minimum(), -10.0, 0.2);
    EXPECT_NEAR(ui.Chart1->BottomAxis().Maximum(), 10.0, 0.2);
    EXPECT_NEAR(ui.Chart1->LeftAxis().Minimum(), -10.0, 0.2);
    EXPECT_NEAR(ui.Chart1->LeftAxis().Maximum(), 10.0, 0.2);

    dragOnChart(chartPixel(5, -5), chartPixel(-5, 5), Qt::LeftButton);
    EXPECT_EQ(ui.Chart1->BottomAxis().Minimum(), -20.0);
    EXPECT_EQ(ui.Chart1->LeftAxis().Maximum(), 20.0);
}

TEST_F(WindowTest, ZoomDuringARun)
{
    atFrame(3, [&] { dragOnChart(chartPixel(0, 20), chartPixel(20, 0), Qt::LeftButton); });
    atFrame(6, [&] { ui.Button2->click(); });
    pressStartAndRun();
    EXPECT_NEAR(ui.Chart1->BottomAxis().Minimum(), 0.0, 0.2);
    EXPECT_NEAR(ui.Chart1->LeftAxis().Maximum(), 20.0, 0.2);
}

TEST_F(WindowTest, RightDragScrollsBothAxes)
{
    atFrame(1, [&] { ui.Button2->click(); });
    pressStartAndRun();
    // Dragging right and down by a quarter of the range moves the view to
    // smaller x and larger y.
    dragOnChart(chartPixel(0, 0), chartPixel(10, -10), Qt::RightButton);
    EXPECT_NEAR(ui.Chart1->BottomAxis().Minimum(), -30.0, 0.2);
    EXPECT_NEAR(ui.Chart1->BottomAxis().Maximum(), 10.0, 0.2);
    EXPECT_NEAR(ui.Chart1->LeftAxis().Minimum(), -10.0, 0.2);
    EXPECT_NEAR(ui.Chart1->LeftAxis().Maximum(), 30.0, 0.2);
}

// What the screen shows of the chart, read back from the window's backing
// store after the pending repaints: the repainting must cover every change.
class WindowScreen : public WindowTest {
protected:
    QColor shownAt(double x, double y)
    {
        QApplication::processEvents();
        QApplication::processEvents();
        const QImage screen = window.screen()->grabWindow(window.winId()).toImage();
        return screen.pixelColor(ui.Chart1->mapTo(&window, chartPixel(x, y)) * int(screen.devicePixelRatio()));
    }
    static bool isRed(const QColor &c) { return c.red() > 200 && c.green() < 80 && c.blue() < 80; }
};

TEST_F(WindowScreen, ShowsThePointAndRepaintsAfterZoomScrollAndClear)
{
    ui.Edit1->setText("10");
    ui.Edit3->setText("10");
    ui.Edit5->setText("90");
    atFrame(1, [&] { ui.Button2->click(); });
    pressStartAndRun(); // one frame: the point (0, 10)
    ASSERT_EQ(ui.Chart1->Series1().points()[0].y, 10.0);
    EXPECT_TRUE(isRed(shownAt(0, 10)));
    EXPECT_FALSE(isRed(shownAt(0, 0)));

    dragOnChart(chartPixel(-5, 15), chartPixel(5, 5), Qt::LeftButton);
    EXPECT_TRUE(isRed(shownAt(0, 10))) << "zoomed: the point is drawn at its new place";

    dragOnChart(chartPixel(0, 10), chartPixel(2, 8), Qt::RightButton);
    EXPECT_TRUE(isRed(shownAt(0, 10))) << "scrolled";

    ui.Button3->click();
    EXPECT_FALSE(isRed(shownAt(0, 10))) << "cleared";
}

// The picture is repainted only where a frame changed it: what the screen
// shows must still be the whole of the last frame's figure. (The first
// version showed only the springs' area, leaving the panel's colour around
// it: the first image had never been shown whole.)
TEST_F(WindowScreen, ShowsThePicturesLastFrameExactly)
{
    ui.Edit4->setText("3");
    atFrame(25, [&] { ui.Button2->click(); });
    pressStartAndRun();
    QApplication::processEvents();
    QApplication::processEvents();
    const QImage screen = window.screen()->grabWindow(window.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    const QImage picture = ui.Image1->surface().image().convertToFormat(QImage::Format_RGB32);
    const QRect area(ui.Image1->mapTo(&window, QPoint(0, 0)), ui.Image1->size());
    const QImage shown = screen.copy(area);
    QRect differing;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (shown.pixel(x, y) != picture.pixel(x, y))
                differing |= QRect(x, y, 1, 1);
    EXPECT_TRUE(differing.isEmpty()) << "the screen differs from the picture in " << differing.x() << ", "
                                     << differing.y() << ", " << differing.width() << " x " << differing.height();
}

TEST_F(WindowScreen, MovingPointLeavesNoTrace)
{
    int fullReplots = 0;
    atFrame(3, [&] { fullReplots = ui.Chart1->fullReplots(); });
    atFrame(40, [&] { ui.Button2->click(); });
    pressStartAndRun();
    const auto points = ui.Chart1->Series1().points();
    ASSERT_EQ(points.size(), 1u);
    EXPECT_EQ(ui.Chart1->fullReplots(), fullReplots) << "moving the point replots nothing whole";
    EXPECT_TRUE(isRed(shownAt(points[0].x, points[0].y)));
    EXPECT_FALSE(isRed(shownAt(0, 0))) << "the first frame's point is gone from the screen";
}

struct ScrolledAxisRow : testing::NamedRow {
    bool left; // which axis the user scrolled above 20
    double leftMinimumAfter;
};

class WindowScrolledAxis : public WindowTest, public ::testing::WithParamInterface<ScrolledAxisRow> {};

// Scrolled so that the axis's minimum lies above 20, Start is refused.
TEST_P(WindowScrolledAxis, MakesStartFail)
{
    atFrame(1, [&] { ui.Button2->click(); });
    pressStartAndRun();
    const QPoint origin = chartPixel(0, 0);
    const QPoint moved = GetParam().left ? chartPixel(0, -45) : chartPixel(-45, 0);
    dragOnChart(origin, moved, Qt::RightButton);
    const double scrolled = GetParam().left ? ui.Chart1->LeftAxis().Minimum() : ui.Chart1->BottomAxis().Minimum();
    ASSERT_GT(scrolled, 20.0);

    ui.Button1->click();

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Axis Maximum Value must be >= Minimum.");
    EXPECT_TRUE(ui.Button3->isEnabled()) << "Start ended before Clear was touched";
    EXPECT_NEAR(ui.Chart1->LeftAxis().Minimum(), GetParam().leftMinimumAfter, 0.5);
    EXPECT_EQ(window.runDepth(), 0);
}

const ScrolledAxisRow scrolledAxisRows[] = {
    {{"LeftAxis"}, true, 25.0},
    {{"BottomAxisAfterTheLeftIsReset"}, false, -20.0},
};

INSTANTIATE_TEST_SUITE_P(Axes, WindowScrolledAxis, ::testing::ValuesIn(scrolledAxisRows), testing::RowName());

} // namespace
} // namespace vibrona
