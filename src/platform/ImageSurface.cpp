// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ImageSurface.h"

#include <QRect>

#include <algorithm>
#include <limits>
#include <utility>

namespace vibrona {

namespace {

// QRect keeps its right edge as left + width - 1 in an int, so coordinates
// far beyond the image are brought near it first. Anything past this margin
// is clipped anyway, and the lines through such points keep their direction
// only approximately; the widest pen is 5 px.
constexpr int FarMargin = 1 << 20;

int nearImage(std::int32_t value)
{
    return std::clamp(value, -FarMargin, FarMargin);
}

// A line to a point very far away, shortened toward `from` along the same
// direction until both ends lie within the margin.
QPointF towards(QPoint from, std::int32_t x, std::int32_t y)
{
    const double dx = double(x) - from.x();
    const double dy = double(y) - from.y();
    const double reach = std::max(std::abs(dx), std::abs(dy));
    if (reach <= FarMargin)
        return QPointF(x, y);
    const double scale = FarMargin / reach;
    return QPointF(from.x() + dx * scale, from.y() + dy * scale);
}

// The box with corners (x1, y1) and (x2, y2), right and bottom excluded,
// in either order.
QRect box(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2)
{
    const int left = nearImage(std::min(x1, x2));
    const int right = nearImage(std::max(x1, x2));
    const int top = nearImage(std::min(y1, y2));
    const int bottom = nearImage(std::max(y1, y2));
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

} // namespace

ImageSurface::ImageSurface(std::function<Geometry()> geometry, std::function<void()> changed)
    : m_geometry(std::move(geometry)), m_changed(std::move(changed))
{
}

ImageSurface::~ImageSurface() = default;

QColor ImageSurface::toQColor(Color color)
{
    // 0x00BBGGRR: red in the lowest byte.
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

QPainter &ImageSurface::painter() const
{
    if (m_image.isNull()) {
        const Geometry geometry = m_geometry();
        const qreal ratio = std::max<qreal>(geometry.pixelRatio, 1.0);
        const QSize size = geometry.size.expandedTo(QSize(1, 1));
        m_image = QImage((QSizeF(size) * ratio).toSize(), QImage::Format_RGB32);
        m_image.setDevicePixelRatio(ratio);
        m_image.fill(m_background);
        // The control shows an image for the first time: all of it is new,
        // also what a clearing to white will not touch.
        m_changedArea = imageRect();
        if (!std::exchange(m_changeReported, true))
            m_changed();
    }
    if (!m_painter) {
        m_painter = std::make_unique<QPainter>(&m_image);
        m_painter->setRenderHint(QPainter::Antialiasing, false);
    }
    return *m_painter;
}

void ImageSurface::finish() const
{
    m_painter.reset();
}

bool ImageSurface::plotLine(QPoint from, QPoint to)
{
    // The springs' one-pixel lines are most of a frame's drawing, and a
    // line through QPainter costs a hundred times what its few pixels do:
    // inside the image, at one image pixel per picture pixel, they are set
    // directly, both ends included (Bresenham's algorithm).
    const QRect inside(QPoint(0, 0), m_image.size());
    if (m_pen.width() > 1 || m_image.devicePixelRatio() != 1.0 || !inside.contains(from) || !inside.contains(to))
        return false;
    const QRgb color = m_pen.color().rgb();
    const int dx = std::abs(to.x() - from.x());
    const int dy = -std::abs(to.y() - from.y());
    const int stepX = from.x() < to.x() ? 1 : -1;
    const int stepY = from.y() < to.y() ? 1 : -1;
    int error = dx + dy;
    QPoint at = from;
    // The pixels' address once: scanLine() checks for sharing at every call.
    uchar *const bits = m_image.bits();
    const qsizetype stride = m_image.bytesPerLine();
    for (;;) {
        reinterpret_cast<QRgb *>(bits + at.y() * stride)[at.x()] = color;
        if (at == to)
            break;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            at.rx() += stepX;
        }
        if (twice <= dx) {
            error += dx;
            at.ry() += stepY;
        }
    }
    return true;
}

QRect ImageSurface::imageRect() const
{
    return QRect(QPoint(0, 0), (QSizeF(m_image.size()) / m_image.devicePixelRatio()).toSize());
}

void ImageSurface::changed(QRect area, bool ink)
{
    area &= imageRect();
    if (area.isEmpty())
        return;
    m_changedArea |= area;
    if (ink)
        m_ink |= area;
    if (m_changeReported)
        return;
    m_changeReported = true;
    m_changed();
}

QRect ImageSurface::takeChangedArea()
{
    m_changeReported = false;
    return std::exchange(m_changedArea, QRect());
}

const QImage &ImageSurface::image() const
{
    finish();
    return m_image;
}

void ImageSurface::setPenColor(Color color)
{
    m_pen.setColor(toQColor(color));
}

void ImageSurface::setPenWidth(std::int32_t width)
{
    m_pen.setWidth(std::max(width, 0));
}

void ImageSurface::setPenStyle(PenStyle)
{
    // Solid is the only style there is.
}

void ImageSurface::setBrushColor(Color color)
{
    m_brushColor = toQColor(color);
}

void ImageSurface::MoveTo(std::int32_t x, std::int32_t y)
{
    m_position = QPoint(nearImage(x), nearImage(y));
}

void ImageSurface::LineTo(std::int32_t x, std::int32_t y)
{
    QPainter &p = painter();
    const QPoint next(nearImage(x), nearImage(y));
    if (!plotLine(m_position, next)) {
        // Partly beyond the image, or on a denser screen: QPainter clips it.
        // A point far beyond is brought nearer along the line's direction.
        p.setPen(m_pen);
        p.drawLine(QPointF(m_position), towards(m_position, x, y));
    }
    // A square pen reaches half its width beyond both ends.
    const int reach = m_pen.width() + 1;
    changed(QRect(m_position, next).normalized().adjusted(-reach, -reach, reach, reach));
    m_position = next;
}

void ImageSurface::drawFigure(const QRect &corners, void (QPainter::*draw)(const QRect &))
{
    QPainter &p = painter();
    p.setPen(m_pen);
    p.setBrush(m_brushColor);
    (p.*draw)(corners);
    // The outline is centred on the figure's edge.
    const int reach = m_pen.width() + 1;
    changed(corners.adjusted(-reach, -reach, reach, reach));
}

void ImageSurface::Rectangle(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2)
{
    drawFigure(box(x1, y1, x2, y2), static_cast<void (QPainter::*)(const QRect &)>(&QPainter::drawRect));
}

void ImageSurface::Ellipse(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2)
{
    drawFigure(box(x1, y1, x2, y2), static_cast<void (QPainter::*)(const QRect &)>(&QPainter::drawEllipse));
}

PixelRect ImageSurface::clipRect() const
{
    painter();
    const QRect all = imageRect();
    return {all.left(), all.top(), all.right() + 1, all.bottom() + 1};
}

void ImageSurface::fillRect(const PixelRect &rect)
{
    QPainter &p = painter();
    const QRect all = imageRect();
    const QRect area = box(rect.left, rect.top, rect.right, rect.bottom) & all;
    if (area != all) {
        p.fillRect(area, m_brushColor);
        changed(area);
    } else if (m_brushColor == m_background) {
        // Only what was drawn since the last clearing differs from it.
        const QRect drawn = std::exchange(m_ink, QRect());
        p.fillRect(drawn, m_brushColor);
        changed(drawn, false);
    } else {
        p.fillRect(all, m_brushColor);
        m_background = m_brushColor;
        m_ink = QRect();
        changed(all, false);
    }
}

} // namespace vibrona
