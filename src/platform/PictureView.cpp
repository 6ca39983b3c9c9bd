// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PictureView.h"

#include <QPaintEvent>
#include <QPainter>

namespace vibrona {

PictureView::PictureView(QWidget *parent)
    : QWidget(parent),
      m_surface([this] { return ImageSurface::Geometry{size(), devicePixelRatioF()}; },
                [this] {
                    // From the first drawing on, the image covers the whole
                    // control, and Qt need not paint the panel beneath it.
                    setAttribute(Qt::WA_OpaquePaintEvent);
                    // Queued: by the time the events are pumped, the frame has
                    // drawn everything, and the changed area is complete.
                    QMetaObject::invokeMethod(this, &PictureView::showChanges, Qt::QueuedConnection);
                })
{
}

void PictureView::showChanges()
{
    update(m_surface.takeChangedArea());
}

void PictureView::paintEvent(QPaintEvent *event)
{
    const QImage &image = m_surface.image();
    if (image.isNull())
        return;
    QPainter painter(this);
    const QRect area = event->rect();
    const qreal ratio = image.devicePixelRatio();
    painter.drawImage(area, image, QRectF(QPointF(area.topLeft()) * ratio, QSizeF(area.size()) * ratio));
}

} // namespace vibrona
