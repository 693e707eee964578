#include "platform/ui/images.h"

// A static library's resources are linked only when something names them.
static void initImages()
{
    Q_INIT_RESOURCE(images);
}

namespace cx {

QString imagePath(const QString &name)
{
    initImages();
    return QStringLiteral(":/images/") + name + QStringLiteral(".svg");
}

QIcon imageIcon(const QString &name)
{
    return QIcon(imagePath(name));
}

} // namespace cx
