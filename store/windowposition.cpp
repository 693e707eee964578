#include "store/windowposition.h"

#include "platform/settings/inifile.h"
#include "platform/ui/windowgeometry.h"

#include <algorithm>

namespace cx
{

namespace
{

// A damaged value can be any number; keep it within what a window system
// takes, so it cannot wrap around to another place.
int coordinate(qint64 value)
{
    return int(std::clamp<qint64>(value, -1000000, 1000000));
}

} // namespace

namespace positionkey
{
QString xPosit()
{
    return QStringLiteral("XPosit");
}
QString yPosit()
{
    return QStringLiteral("YPosit");
}
QString width()
{
    return QStringLiteral("Width");
}
QString height()
{
    return QStringLiteral("Height");
}
QString maximize()
{
    return QStringLiteral("Maximize");
}
QString listFormat(const QString &control)
{
    return u"SRCF" + control;
}
QString originalListFormat(const QString &control)
{
    return u"SRCFOriginal" + control;
}
} // namespace positionkey

void saveWindowPosition(IniFile &file, const QString &section, WindowGeometry &window)
{
    const bool wasMaximized = window.isMaximized();
    window.showNormalState();
    if (window.isMinimized())
        return;
    const QPoint position = window.position();
    const QSize size = window.size();
    // One rewrite for the five keys: a copy reading meanwhile never sees a
    // position without its size.
    file.writeValues(section, {
                                  {positionkey::maximize(),
                                   wasMaximized ? QStringLiteral("Yes") : QStringLiteral("No")},
                                  {positionkey::xPosit(), QString::number(position.x())},
                                  {positionkey::yPosit(), QString::number(position.y())},
                                  {positionkey::width(), QString::number(size.width())},
                                  {positionkey::height(), QString::number(size.height())},
                              });
}

void restoreWindowPosition(const IniFile &file, const QString &section, WindowGeometry &window)
{
    const qint64 x = file.readNumber(section, positionkey::xPosit());
    if (x == 0)
        return;
    if (!window.isMaximized()) {
        const qint64 y = file.readNumber(section, positionkey::yPosit());
        if (y != 0) {
            const QPoint position{coordinate(x), coordinate(y)};
            if (window.isResizable()) {
                const qint64 w = file.readNumber(section, positionkey::width());
                const qint64 h = file.readNumber(section, positionkey::height());
                if (w != 0 && h != 0)
                    window.setGeometry(position, QSize(coordinate(w), coordinate(h)));
            } else {
                window.move(position);
            }
        }
    }
    // Written by this program as "Yes"; a hand-edited "yes" means the same.
    const QString maximize = file.read(section, positionkey::maximize()).trimmed();
    window.setMaximized(maximize.compare(u"Yes", Qt::CaseInsensitive) == 0);
}

QString restoreListFormat(IniFile &file, const QString &section, const QString &control,
                          const QString &builtInFormat)
{
    // Compared as the file would hold it, so a built-in format that the file
    // cannot hold exactly (trailing blanks) does not count as changed forever.
    const QString builtIn = IniFile::storedForm(builtInFormat);
    const QString original = file.read(section, positionkey::originalListFormat(control));
    if (original != builtIn) {
        file.write(section, positionkey::originalListFormat(control), builtIn);
        return builtInFormat;
    }
    const QString saved = file.read(section, positionkey::listFormat(control), builtInFormat);
    return saved.trimmed().isEmpty() ? builtInFormat : saved;
}

void saveListFormat(IniFile &file, const QString &section, const QString &control,
                    const QString &currentFormat)
{
    file.write(section, positionkey::listFormat(control), currentFormat);
}

} // namespace cx
