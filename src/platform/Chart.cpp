// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Chart.h"

#include "platform/Errors.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QResizeEvent>

#include <algorithm>
#include <cmath>
#include <utility>

namespace vibrona {

namespace {

// QCustomPlot shows only ranges inside +-1e250 that are not empty; the
// axis's own range may be anything the program sets, equal ends included.
constexpr double ShownLimit = 1e249;

QCPRange shownRange(double minimum, double maximum)
{
    double lower = std::clamp(minimum, -ShownLimit, ShownLimit);
    double upper = std::clamp(maximum, -ShownLimit, ShownLimit);
    const double least = std::max(1.0, std::max(std::abs(lower), std::abs(upper))) * 1e-9;
    if (upper - lower < least) {
        lower -= least;
        upper += least;
    }
    return QCPRange(lower, upper);
}

int axisIndex(const QCPAxis &axis)
{
    return axis.orientation() == Qt::Horizontal ? 0 : 1;
}

} // namespace

// ---------------------------------------------------------------------------

ChartAxisRange::ChartAxisRange(Chart &chart, QCPAxis &axis)
    : m_chart(chart), m_axis(axis), m_minimum(axis.range().lower), m_maximum(axis.range().upper)
{
}

void ChartAxisRange::setAutomatic(bool automatic)
{
    m_automatic = automatic;
    if (automatic)
        m_chart.followData();
}

void ChartAxisRange::setMaximum(double value)
{
    if (value < m_minimum)
        throw AxisException::maximumBelowMinimum();
    m_chart.m_beforeZoom[axisIndex(m_axis)].reset();
    show(m_minimum, value);
}

void ChartAxisRange::setMinimum(double value)
{
    if (value > m_maximum)
        throw AxisException::minimumAboveMaximum();
    m_chart.m_beforeZoom[axisIndex(m_axis)].reset();
    show(value, m_maximum);
}

void ChartAxisRange::show(double minimum, double maximum)
{
    m_minimum = minimum;
    m_maximum = maximum;
    m_axis.setRange(shownRange(minimum, maximum));
    m_chart.rangesChanged();
}

// ---------------------------------------------------------------------------

PointSeries::PointSeries(Chart &chart) : m_chart(chart) {}

void PointSeries::Clear()
{
    const std::vector<Point> removed = std::exchange(m_points, {});
    for (const Point &point : removed)
        m_chart.pointChanged(point);
}

void PointSeries::AddXY(double x, double y, Color)
{
    // Ascending order of x; a point equal in x goes after the others.
    const auto at = std::upper_bound(m_points.begin(), m_points.end(), x,
                                     [](double key, const Point &p) { return key < p.x; });
    const Point point{x, y};
    m_points.insert(at, point);
    m_chart.pointChanged(point);
}

int PointSeries::Count() const
{
    return int(m_points.size());
}

// ---------------------------------------------------------------------------

Chart::Chart(QWidget *parent)
    : QCustomPlot(parent),
      m_bottom(*this, *xAxis),
      m_left(*this, *yAxis),
      m_series(*this),
      m_rubberBand(new QRubberBand(QRubberBand::Rectangle, this))
{
    plotLayout()->insertRow(0);
    plotLayout()->addElement(0, 0, new QCPTextElement(this, QStringLiteral("Graf")));
    xAxis->setLabel(QStringLiteral("x"));
    yAxis->setLabel(QStringLiteral("y"));
    legend->setVisible(false);
    connect(this, &QCustomPlot::beforeReplot, this, [this] { ++m_fullReplots; });
}

void Chart::rangesChanged()
{
    replot(QCustomPlot::rpQueuedReplot);
}

void Chart::pointChanged(const PointSeries::Point &point)
{
    if (m_bottom.Automatic() || m_left.Automatic())
        followData();
    const QRect circle = circleRect(point);
    if (!circle.isEmpty())
        update(circle);
}

QRect Chart::circleRect(const PointSeries::Point &point) const
{
    const double x = xAxis->coordToPixel(point.x);
    const double y = yAxis->coordToPixel(point.y);
    // The plot area, widened by the circle's reach: a circle whose centre
    // lies beyond it shows nothing, and its pixel position may not even fit
    // in an int.
    const QRectF reach = QRectF(axisRect()->rect()).adjusted(-PointerReach, -PointerReach, PointerReach, PointerReach);
    if (!reach.contains(x, y))
        return {};
    // One pixel more on every side for the circle's antialiased edge.
    const int margin = PointerReach + 2;
    return QRect(int(std::floor(x)) - margin, int(std::floor(y)) - margin, 2 * margin + 1, 2 * margin + 1);
}

void Chart::paintEvent(QPaintEvent *event)
{
    // What QCustomPlot's own paintEvent does, confined to the region that
    // needs it: the background and the buffered plot, then the series.
    QCPPainter painter(this);
    if (!painter.isActive())
        return;
    painter.setClipRegion(event->region());
    if (mBackgroundBrush.style() != Qt::NoBrush)
        painter.fillRect(mViewport, mBackgroundBrush);
    drawBackground(&painter);
    for (const QSharedPointer<QCPAbstractPaintBuffer> &buffer : std::as_const(mPaintBuffers))
        buffer->draw(&painter);

    painter.setClipRect(axisRect()->rect(), Qt::IntersectClip);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(Qt::red));
    painter.setBrush(QColor(Qt::red));
    for (const PointSeries::Point &point : m_series.points()) {
        if (circleRect(point).isEmpty())
            continue;
        painter.drawEllipse(QPointF(xAxis->coordToPixel(point.x), yAxis->coordToPixel(point.y)), PointerReach,
                            PointerReach);
    }
}

void Chart::followData()
{
    const std::vector<PointSeries::Point> &points = m_series.points();
    if (points.empty())
        return;
    QCPRange keys(points.front().x, points.back().x);
    QCPRange values(points.front().y, points.front().y);
    for (const PointSeries::Point &point : points) {
        values.lower = std::min(values.lower, point.y);
        values.upper = std::max(values.upper, point.y);
    }
    const auto follow = [](ChartAxisRange &axis, QCPRange data, int lengthPx) {
        if (!axis.Automatic())
            return;
        double lower = data.lower;
        double upper = data.upper;
        if (upper == lower) {
            lower -= 1.0;
            upper += 1.0;
        }
        // Room for the circle: PointerReach px of the axis's length at
        // either end, so (upper - lower) spans length - 2 x reach pixels.
        if (lengthPx > 4 * PointerReach) {
            const double extra = (upper - lower) * PointerReach / (lengthPx - 2 * PointerReach);
            lower -= extra;
            upper += extra;
        }
        axis.show(lower, upper);
    };
    follow(m_bottom, keys, axisRect()->width());
    follow(m_left, values, axisRect()->height());
}

void Chart::resizeEvent(QResizeEvent *event)
{
    QCustomPlot::resizeEvent(event);
    followData();
}

void Chart::mousePressEvent(QMouseEvent *event)
{
    if (m_dragButton != Qt::NoButton)
        return;
    const Qt::MouseButton button = event->button();
    if (button != Qt::LeftButton && button != Qt::RightButton)
        return;
    m_dragButton = button;
    m_dragStart = event->position().toPoint();
    m_scrollStartX[0] = m_bottom.Minimum();
    m_scrollStartX[1] = m_bottom.Maximum();
    m_scrollStartY[0] = m_left.Minimum();
    m_scrollStartY[1] = m_left.Maximum();
}

void Chart::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint position = event->position().toPoint();
    if (m_dragButton == Qt::LeftButton) {
        const QRect band = QRect(m_dragStart, position).normalized();
        if ((position - m_dragStart).manhattanLength() >= DragThreshold) {
            m_rubberBand->setGeometry(band);
            m_rubberBand->show();
        }
    } else if (m_dragButton == Qt::RightButton) {
        // The plot moves with the mouse: a drag of dx px to the right shows
        // the range dx x (range per px) further left, and likewise upwards.
        const double width = std::max(1, axisRect()->width());
        const double height = std::max(1, axisRect()->height());
        const QPoint moved = position - m_dragStart;
        const double dx = moved.x() * (m_scrollStartX[1] - m_scrollStartX[0]) / width;
        const double dy = moved.y() * (m_scrollStartY[1] - m_scrollStartY[0]) / height;
        m_bottom.m_automatic = false;
        m_left.m_automatic = false;
        m_bottom.show(m_scrollStartX[0] - dx, m_scrollStartX[1] - dx);
        m_left.show(m_scrollStartY[0] + dy, m_scrollStartY[1] + dy);
    }
}

void Chart::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != m_dragButton)
        return;
    m_dragButton = Qt::NoButton;
    if (event->button() != Qt::LeftButton)
        return;
    m_rubberBand->hide();
    const QPoint end = event->position().toPoint();
    if ((end - m_dragStart).manhattanLength() < DragThreshold)
        return;
    if (end.x() > m_dragStart.x() && end.y() > m_dragStart.y())
        zoomTo(QRect(m_dragStart, end));
    else
        undoZoom();
}

void Chart::zoomTo(const QRect &pixels)
{
    ChartAxisRange *axes[2] = {&m_bottom, &m_left};
    for (int i = 0; i < 2; ++i)
        if (!m_beforeZoom[i])
            m_beforeZoom[i] = SavedRange{axes[i]->Automatic(), axes[i]->Minimum(), axes[i]->Maximum()};
    const double left = xAxis->pixelToCoord(pixels.left());
    const double right = xAxis->pixelToCoord(pixels.right());
    const double bottom = yAxis->pixelToCoord(pixels.bottom());
    const double top = yAxis->pixelToCoord(pixels.top());
    m_bottom.m_automatic = false;
    m_left.m_automatic = false;
    m_bottom.show(left, right);
    m_left.show(bottom, top);
}

void Chart::undoZoom()
{
    ChartAxisRange *axes[2] = {&m_bottom, &m_left};
    for (int i = 0; i < 2; ++i) {
        if (!m_beforeZoom[i])
            continue;
        const SavedRange saved = *m_beforeZoom[i];
        m_beforeZoom[i].reset();
        axes[i]->m_automatic = saved.automatic;
        axes[i]->show(saved.minimum, saved.maximum);
    }
    followData();
}

} // namespace vibrona
