#pragma once
// The program's built-in pictures: logos, the splash picture, toolbar and
// window icons. Each is an SVG drawn at any size.
#include <QIcon>
#include <QString>

namespace cx {

// The resource path of the picture called name (":/images/<name>.svg").
QString imagePath(const QString &name);
QIcon imageIcon(const QString &name);

} // namespace cx
