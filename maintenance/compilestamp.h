#pragma once
// The stamps the Compile Information window shows: when the program was
// built, and the date and time the last window of the program was opened.
// Windows note their opening with noteWindowOpened(); the stamp is one value
// for the whole run, like the build stamp beside it.
#include <QDate>
#include <QDateTime>
#include <QTime>

namespace cx {

struct CompileStamp {
    QDate date;
    QTime time;
};

// The application name shown as "Application".
QString compileApplicationName();
// When this program was compiled.
CompileStamp creationStamp();
// When a window was last opened; invalid until the first one opens.
CompileStamp changeStamp();
void noteWindowOpened(const QDateTime &when = QDateTime::currentDateTime());

// The texts of the window: the date under the picture @d17- (the short date
// of the default locale, "-" between its parts), the time under @t3 (hours and
// minutes of a 12-hour clock). Blank for an invalid value.
QString stampDateText(const QDate &date);
QString stampTimeText(const QTime &time);

} // namespace cx
