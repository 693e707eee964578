#pragma once
// Display pictures: the short texts ("@s40", "@n_4b", "@d17", "@t4",
// "@pPage <<<#p") that say how a stored value is shown as text and how a typed
// or imported text is read back. Every entry field, list cell, report field and
// CSV column goes through here, so formatting is cheap once a picture has been
// parsed (parsed pictures are cached per thread).
//
// Choices made where the pictures leave room:
// - Blank means the empty text, for every picture with "b".
// - Numbers: the width is a minimum. Thousands separators are dropped when they
//   do not fit; digits and the sign are never dropped, so a number wider than
//   its picture is shown whole and the text is longer than the picture (the
//   year picture "n4b" thus shows a stored day number 71671 as "71671"). A
//   negative number always shows its leading minus; "-" in a picture says so
//   explicitly. Under a picture without decimals a fraction is rounded for
//   display.
// - Dates: every part is two digits in d1, d2, d3, d5-d8 and d13-d16
//   ("03/05/59", "OCT 05,1959"); d4 writes the day as in prose ("March 5,
//   1959"). Day 0 without "b" is 28 December 1800, the date it stands for. A day
//   number no calendar holds shows blank. Pictures d9-d12 and unknown numbers
//   show as d17. "-" puts a dash between the parts, in place of the separators.
// - Times: t1 "hh:mm", t3 "hh:mm AM" on a twelve-hour clock (midnight is
//   "12:00 AM"), t4 "hh:mm:ss"; other numbers show as t4. Hours of a duration
//   are not wrapped at 24 except under t3. Hundredths are cut, not rounded, so
//   the seconds shown agree with the minutes-and-seconds texts.
// - Patterns: a number with more digits than the pattern has places puts the
//   extra digits before the first place; a minus takes the last blanked "<"
//   place, or goes before the first place.
// - Reading back never fails: a blank text, and any text that does not fit its
//   picture, reads as 0 (numbers, dates, times, patterns). Strings are cut to
//   the picture's width and clipped of trailing spaces. Numbers take a sign,
//   digits, the locale's decimal point and, anywhere in the whole part, its
//   thousands separator (or a space); a whole-number picture drops a fraction;
//   a number beyond 64 bits does not fit. Dates are read part by part in the
//   picture's order: separators may be left out or be others, months may be
//   numbers or names (English or the locale's, three letters are enough), a
//   weekday may be left out, the year may have two or four digits. Two-digit
//   years are placed in the hundred years from 90 years before to 9 years after
//   the current year (see expandTwoDigitYear). Impossible dates (31/02/1999) and
//   dates lacking a part do not fit. Times are read hours first as
//   h[:mm[:ss[.hh]]], with an optional AM or PM; minutes and seconds above 59
//   do not fit.
// - The thousands separator, the decimal point and the d17/d18 date formats
//   and their month and day names come from a locale: the system's unless one is
//   passed. Month names of d3, d4, d7 and d8 are always English.
#include <QLocale>
#include <QString>
#include <QVariant>

namespace cx
{

class Picture
{
public:
    enum class Kind { Unknown, String, Number, Date, Time, Pattern };

    Picture() = default;
    // Parses a picture written with or without its leading "@"; the type letter
    // may be upper or lower case. A text that is no picture gives Kind::Unknown,
    // which shows a value as its plain text and reads a text as itself.
    static Picture parse(const QString &picture);
    // The parsed picture from a small per-thread cache.
    static Picture cached(const QString &picture);

    Kind kind() const { return m_kind; }
    int width() const { return m_width; } // -1 when the picture gives none
    int decimals() const { return m_decimals; }
    int number() const { return m_number; } // the n of d<n> and t<n>
    bool blankWhenZero() const { return m_blank; }
    QString pattern() const { return m_pattern; } // text between the p's

    QString format(const QVariant &value) const;
    QString format(const QVariant &value, const QLocale &locale) const;
    // Strings give a QString, numbers with decimals a double, everything else
    // a qint64 (day number, time value, whole number).
    QVariant deformat(const QString &text) const;
    QVariant deformat(const QString &text, const QLocale &locale) const;

private:
    // Pictures that need no locale never ask the system for one.
    bool needsLocale() const;
    QString formatIn(const QVariant &value, const QLocale *locale) const;
    QVariant deformatIn(const QString &text, const QLocale *locale) const;
    QString formatNumber(const QVariant &value, const QLocale &locale) const;
    QVariant deformatNumber(const QString &text, const QLocale &locale) const;
    QString formatDate(qint64 day, const QLocale *locale) const;
    qint64 deformatDate(const QString &text, const QLocale *locale) const;
    QString formatTime(qint64 time) const;
    QString formatPattern(const QVariant &value) const;
    qint64 deformatPattern(const QString &text) const;

    Kind m_kind = Kind::Unknown;
    int m_width = -1;
    int m_decimals = 0;
    int m_number = 0;
    bool m_blank = false;
    bool m_noSeparators = false;
    bool m_dashes = false; // dates: "-" between the parts
    QString m_pattern;
};

QString format(const QVariant &value, const QString &picture);
QString format(const QVariant &value, const QString &picture, const QLocale &locale);
QVariant deformat(const QString &text, const QString &picture);
QVariant deformat(const QString &text, const QString &picture, const QLocale &locale);

// The year a two-digit year stands for: the one in the span from 90 years before
// to 9 years after thisYear. A catalogue of recordings mostly looks back, and a
// release announced a few years ahead should still read as coming.
int expandTwoDigitYear(int twoDigits, int thisYear);

} // namespace cx
