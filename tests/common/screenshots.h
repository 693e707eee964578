#pragma once
// Pictures of windows for a person to look at: saved into the folder named by
// CANTORIX_SCREENSHOTS when it is set, and not at all otherwise.
#include <QString>
#include <QWidget>

inline bool screenshotsWanted()
{
    return !qEnvironmentVariableIsEmpty("CANTORIX_SCREENSHOTS");
}

inline void saveScreenshot(QWidget *window, const QString &name)
{
    if (screenshotsWanted())
        window->grab().save(qEnvironmentVariable("CANTORIX_SCREENSHOTS") + QLatin1Char('/') + name + QStringLiteral(".png"));
}
