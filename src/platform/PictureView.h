// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ImageSurface.h"

#include <QWidget>

namespace vibrona {

// The picture control: shows its ImageSurface at its top-left corner,
// neither stretched nor centred. Until the first drawing it shows nothing,
// so the parent's colour shows through.
class PictureView : public QWidget {
    Q_OBJECT
public:
    explicit PictureView(QWidget *parent = nullptr);

    ImageSurface &surface() { return m_surface; }
    const ImageSurface &surface() const { return m_surface; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // Repaints what the frame changed, once the frame's drawing is done.
    void showChanges();

    ImageSurface m_surface;
};

} // namespace vibrona
