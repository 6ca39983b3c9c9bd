// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "picture/DrawingSurface.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <functional>
#include <memory>

namespace vibrona {

// The picture's drawing surface: a QImage created on first use at the size
// of its control, white, and drawn with QPainter without antialiasing, so a
// one-pixel line stays one pixel.
//
// On a screen with a device pixel ratio above 1 the image holds that many
// device pixels per picture pixel; the coordinates stay the picture's.
//
// Drawing never reaches the screen: the first operation after the control
// took the changed area calls `changed` (the control schedules a repaint),
// and the control shows image() when it next paints.
//
// Clearing the whole image to the colour it was last cleared to fills only
// what has been drawn since: the rest already has that colour. So a frame
// clears and repaints the springs' area, not the whole picture.
class ImageSurface final : public DrawingSurface {
public:
    struct Geometry {
        QSize size;        // the control's size [px]
        qreal pixelRatio;  // device pixels per picture pixel
    };

    ImageSurface(std::function<Geometry()> geometry, std::function<void()> changed);
    ~ImageSurface() override;
    ImageSurface(const ImageSurface &) = delete;
    ImageSurface &operator=(const ImageSurface &) = delete;

    void setPenColor(Color color) override;
    void setPenWidth(std::int32_t width) override;
    void setPenStyle(PenStyle style) override;
    void setBrushColor(Color color) override;
    void MoveTo(std::int32_t x, std::int32_t y) override;
    void LineTo(std::int32_t x, std::int32_t y) override;
    void Rectangle(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) override;
    void Ellipse(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) override;
    PixelRect clipRect() const override;
    void fillRect(const PixelRect &rect) override;

    // The image as drawn so far, with every pending operation finished; null
    // before the first use.
    const QImage &image() const;

    // The part of the picture changed since the last call [picture px]; the
    // next change is reported again.
    QRect takeChangedArea();

    static QColor toQColor(Color color);

private:
    QPainter &painter() const;
    void finish() const;
    // A rectangle or an ellipse in the box, outlined with the pen and filled
    // with the brush.
    void drawFigure(const QRect &corners, void (QPainter::*draw)(const QRect &));
    // A one-pixel line on the image's pixels, where both ends lie inside.
    bool plotLine(QPoint from, QPoint to);
    // `area` [picture px] has changed; `ink` tells whether it now differs
    // from the background.
    void changed(QRect area, bool ink = true);
    QRect imageRect() const;

    std::function<Geometry()> m_geometry;
    std::function<void()> m_changed;
    QPen m_pen{QBrush(Qt::black), 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin};
    QColor m_brushColor{Qt::white};
    QPoint m_position;
    // The painter stays open between operations, since opening one costs more
    // than a frame's lines; it is closed before the image is read.
    mutable QImage m_image;
    mutable std::unique_ptr<QPainter> m_painter;
    // Whether the control was told since it last took the changed area.
    mutable bool m_changeReported = false;
    mutable QRect m_changedArea;
    // The colour of the last clearing of the whole image, and the bounds of
    // everything drawn since.
    QColor m_background{Qt::white};
    QRect m_ink;
};

} // namespace vibrona
