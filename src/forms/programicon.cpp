// SPDX-License-Identifier: MIT
#include "forms/programicon.h"

#include <QImageReader>
#include <QPixmap>

namespace forms {

QIcon programIcon(const QString &pattern, std::initializer_list<int> sizes)
{
    QIcon icon;
    for (const int size : sizes) {
        QImageReader reader(pattern.arg(size), "png");
        reader.setAutoDetectImageFormat(false);
        const QImage image = reader.read();
        if (!image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

} // namespace forms
