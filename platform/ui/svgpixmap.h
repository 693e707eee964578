#pragma once
// A pixmap of an SVG picture at a scale of its drawn size, sharp at the
// screen's pixel density.
#include <QPixmap>
#include <QString>

namespace cx {

QPixmap svgPixmap(const QString &path, qreal scale, qreal devicePixelRatio);

} // namespace cx
