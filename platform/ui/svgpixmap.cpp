#include "platform/ui/svgpixmap.h"

#include <QPainter>
#include <QSvgRenderer>

namespace cx {

QPixmap svgPixmap(const QString &path, qreal scale, qreal devicePixelRatio)
{
    QSvgRenderer renderer(path);
    const QSize size = renderer.defaultSize() * scale;
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        renderer.render(&painter);
    }
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

} // namespace cx
