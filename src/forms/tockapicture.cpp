// SPDX-License-Identifier: MIT
#include "forms/tockapicture.h"

#include <QGuiApplication>
#include <QPainter>

namespace forms {

QPixmap tockaPicture(QSize size)
{
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);

    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width();
    const qreal h = size.height();
    const qreal d = std::min(w, h) - 2;
    const QRectF face((w - d) / 2, (h - d) / 2, d, d);
    const QPointF centre = face.center();

    // The clock face's own colours: teal rim, black face, white hands.
    p.setPen(QPen(QColor(0, 192, 192), d / 10));
    p.setBrush(Qt::black);
    p.drawEllipse(face.adjusted(d / 20, d / 20, -d / 20, -d / 20));
    p.setPen(QPen(Qt::white, d / 12, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre, centre + QPointF(0, -d * 0.32));
    p.drawLine(centre, centre + QPointF(d * 0.24, d * 0.08));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 0));
    p.drawEllipse(centre, d / 14, d / 14);
    return pixmap;
}

} // namespace forms
