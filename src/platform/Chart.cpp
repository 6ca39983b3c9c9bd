// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Chart.h"

#include "platform/Errors.h"

#include <QMouseEvent>
#include <QResizeEvent>

#include <algorithm>
#include <cmath>

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

PointSeries::PointSeries(Chart &chart, QCPGraph &graph) : m_chart(chart), m_graph(graph) {}

void PointSeries::Clear()
{
    m_graph.data()->clear();
    m_chart.seriesChanged();
}

void PointSeries::AddXY(double x, double y, Color)
{
    // The data keeps its points in ascending order of x.
    m_graph.addData(x, y);
    m_chart.seriesChanged();
}

int PointSeries::Count() const
{
    return m_graph.dataCount();
}

std::vector<PointSeries::Point> PointSeries::points() const
{
    std::vector<Point> result;
    for (auto it = m_graph.data()->constBegin(); it != m_graph.data()->constEnd(); ++it)
        result.push_back({it->key, it->value});
    return result;
}

// ---------------------------------------------------------------------------

Chart::Chart(QWidget *parent)
    : QCustomPlot(parent),
      m_seriesLayer((addLayer("series", layer("main"), QCustomPlot::limAbove), layer("series"))),
      m_graph(addGraph()),
      m_bottom(*this, *xAxis),
      m_left(*this, *yAxis),
      m_series(*this, *m_graph),
      m_rubberBand(new QRubberBand(QRubberBand::Rectangle, this))
{
    plotLayout()->insertRow(0);
    plotLayout()->addElement(0, 0, new QCPTextElement(this, QStringLiteral("Graf")));
    xAxis->setLabel(QStringLiteral("x"));
    yAxis->setLabel(QStringLiteral("y"));
    legend->setVisible(false);

    m_seriesLayer->setMode(QCPLayer::lmBuffered);
    m_graph->setLayer(m_seriesLayer);
    m_graph->setLineStyle(QCPGraph::lsNone);
    // A disc of 8 px diameter: 4 px to each side of the point.
    m_graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, QColor(Qt::red), QColor(Qt::red),
                                             2 * PointerReach));

    connect(this, &QCustomPlot::beforeReplot, this, [this] { ++m_fullReplots; });
}

void Chart::rangesChanged()
{
    replot(QCustomPlot::rpQueuedReplot);
}

void Chart::seriesChanged()
{
    if (m_bottom.Automatic() || m_left.Automatic())
        followData();
    if (m_seriesRedrawQueued)
        return;
    m_seriesRedrawQueued = true;
    QMetaObject::invokeMethod(this, &Chart::redrawSeries, Qt::QueuedConnection);
}

void Chart::redrawSeries()
{
    m_seriesRedrawQueued = false;
    ++m_seriesReplots;
    // Redraws the series' layer only, unless the axes have changed since
    // the last whole replot; then it replots everything.
    m_seriesLayer->replot();
}

void Chart::followData()
{
    if (m_graph->dataCount() == 0)
        return;
    bool found = false;
    const QCPRange keys = m_graph->getKeyRange(found);
    const QCPRange values = m_graph->getValueRange(found);
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
