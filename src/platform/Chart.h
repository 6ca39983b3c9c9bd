// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "picture/DrawingSurface.h"

#include <qcustomplot.h>

#include <QPoint>
#include <QRubberBand>

#include <optional>
#include <vector>

namespace vibrona {

class Chart;

// One axis of the chart, with the range checks of a chart axis: a maximum
// below the current minimum, or a minimum above the current maximum, is
// refused with AxisException and changes nothing; equal values are allowed.
// The current range is the one on screen, as the user's zooming and
// scrolling left it.
class ChartAxisRange {
public:
    ChartAxisRange(Chart &chart, QCPAxis &axis);

    bool Automatic() const { return m_automatic; }
    double Minimum() const { return m_minimum; }
    double Maximum() const { return m_maximum; }
    // Off: the range stays as set. On: it follows the data.
    void setAutomatic(bool automatic);
    void setMaximum(double value);
    void setMinimum(double value);

    QCPAxis &axis() { return m_axis; }

private:
    friend class Chart;
    // A range chosen by the chart itself (from the data, a zoom, a scroll).
    void show(double minimum, double maximum);

    Chart &m_chart;
    QCPAxis &m_axis;
    bool m_automatic = true;
    double m_minimum = 0.0;
    double m_maximum = 0.0;
};

// The chart's point series: every point a filled circle 4 px to each side,
// in the series' colour, kept in ascending order of X.
class PointSeries {
public:
    explicit PointSeries(Chart &chart);

    // Both only mark the chart for repainting.
    void Clear();
    // `color` is the colour value SeriesColor (the series' own red), the only
    // one the program gives; the series draws every point in its colour.
    void AddXY(double x, double y, Color color);
    int Count() const;

    struct Point {
        double x;
        double y;
    };
    const std::vector<Point> &points() const { return m_points; }

private:
    Chart &m_chart;
    std::vector<Point> m_points;
};

// The chart: title "Graf", axes "x" and "y", no legend, one point series.
//
// The mouse: dragging a rectangle with the left button down and to the right
// zooms into it; dragging the other way restores the range from before the
// first zoom. Dragging with the right button scrolls both axes.
//
// Changes of the series only mark the chart for repainting, and only where
// a circle was or now is: the series is drawn over the plot that QCustomPlot
// keeps in its buffers, so moving the point repaints two small squares and
// redraws neither the axes nor the grid. Only a change of the axes replots
// the whole chart.
class Chart : public QCustomPlot {
    Q_OBJECT
public:
    explicit Chart(QWidget *parent = nullptr);

    // Drags shorter than this are clicks, not zooms [px].
    static constexpr int DragThreshold = 3;
    // The circle's reach beyond its point, for the automatic range [px].
    static constexpr int PointerReach = 4;

    ChartAxisRange &BottomAxis() { return m_bottom; }
    ChartAxisRange &LeftAxis() { return m_left; }
    PointSeries &Series1() { return m_series; }

    // How many times the chart was redrawn whole (axes, grid and all).
    int fullReplots() const { return m_fullReplots; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    friend class ChartAxisRange;
    friend class PointSeries;

    void rangesChanged();
    // A point appears or disappears.
    void pointChanged(const PointSeries::Point &point);
    // Where a point's circle lies on the widget; empty when it lies outside
    // the plot area.
    QRect circleRect(const PointSeries::Point &point) const;
    void followData();
    void zoomTo(const QRect &pixels);
    void undoZoom();

    struct SavedRange {
        bool automatic;
        double minimum;
        double maximum;
    };
    ChartAxisRange m_bottom;
    ChartAxisRange m_left;
    PointSeries m_series;

    int m_fullReplots = 0;

    // The drag in progress.
    Qt::MouseButton m_dragButton = Qt::NoButton;
    QPoint m_dragStart;
    double m_scrollStartX[2] = {};
    double m_scrollStartY[2] = {};
    QRubberBand *m_rubberBand;
    std::optional<SavedRange> m_beforeZoom[2];
};

} // namespace vibrona
