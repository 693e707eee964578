#pragma once
// The program-wide date format: a picture code without its "@" (default "d17")
// that replaces the date pictures of every window, list and report opened
// after it was chosen, and the texts under which the preferences offer it.
#include <QList>
#include <QString>

#include <optional>

namespace cx
{

struct DateFormatChoice {
    QString code; // "d17", "n4b", ...
    QString text; // "Windows Default", "Year Only", ...
};

QString defaultDateFormat();  // "d17"
QString yearOnlyDateFormat(); // "n4b": dates held and shown as bare years

// The fifteen choices in the order the preferences list them.
const QList<DateFormatChoice> &dateFormatChoices();
// The text shown for a stored code (case does not matter); a code that is no
// choice shows as itself.
QString dateFormatText(const QString &code);
// The code of a chosen text; nothing for a text that is no choice (the current
// code then stays).
std::optional<QString> dateFormatCode(const QString &text);

// A list box's column format with every date column's picture (each "@D", case
// ignored, up to the next "@") replaced by "@" and the code: the column's own
// modifiers go with it, and every date column shows day 0 (no date) blank
// ("@d17-@" and "@d17b@" become "@d2b@"; "@n4b@" for years).
QString applyDateFormatToListFormat(const QString &listFormat, const QString &code);
// The picture of an entry or report field: a date picture (one beginning with
// "d" or "D", with or without "@") becomes the code, any other stays.
QString datePictureFor(const QString &fieldPicture, const QString &code);

} // namespace cx
