#include "store/settingspaths.h"

#include <QDir>

namespace cx
{

QString settingsDirectory()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + u"/.config";
    return QDir::cleanPath(base + u"/cantorix");
}

QString mainSettingsPath()
{
    return settingsDirectory() + u"/CRXMAIN.INI";
}

QString generalSettingsPath()
{
    return settingsDirectory() + u"/general.ini";
}

QString positionFilePath()
{
    return QDir::current().absoluteFilePath(QStringLiteral("POSITION.INI"));
}

} // namespace cx
