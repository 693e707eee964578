#pragma once
// The 100 values a list's scroll thumb stands for: samples of the order's first
// free key component, spread from the first record of the view (position 1)
// to the last (position 100). A thumb position is found again from a value
// (where the highlighted row is) and a value from a position (where a dragged
// thumb points), without counting rows: the thumb is a map of key values, not
// of row numbers, so it costs two reads however large the table is.
//
// Numbers are interpolated linearly. Texts are interpolated as numbers too:
// after the leading part the first and last text share (copied unchanged),
// the next four characters of each are read as a four-digit number whose
// digits are the characters' places in an alphabet (0 for a character not in
// it, or past the end of the text), and each sample is written back as four
// characters after the shared part.
//
// Choices:
// - The alphabet is put in key order before use, so that a larger digit is
//   always a later character and the samples rise with the positions
//   whatever order the alphabet was given in.
// - Texts are upper-cased, and an accented letter counts as its base letter
//   (the key order puts it beside that letter).
// - Digit 0 is written back as a space (which sorts before every letter and
//   digit); trailing spaces are dropped, as stored texts drop them.
// - Samples and values are compared in key order (sort keys), so a thumb
//   lands where the list's own order puts the value, ignoring case.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace cx
{

class ThumbSampler
{
public:
    static constexpr int kPositions = 100;

    static QString letters();          // A-Z
    static QString lettersAndDigits(); // 0-9 and A-Z

    void clear();
    bool isEmpty() const { return m_size == 0; }
    bool isNumeric() const { return m_numeric; }

    void sampleNumbers(qint64 first, qint64 last);
    void sampleTexts(const QString &first, const QString &last, const QString &alphabet);

    // The sample at a position, 1 to 100: a qint64 or a QString.
    QVariant value(int position) const;
    QVariantList values() const;
    // The first position whose sample is at or above a key value (the sort
    // key of a text, or a number); 100 when every sample is below it.
    int positionOf(const QVariant &keyValue) const;

    // The four-character part of a text sample, exposed for tests: the value
    // of `text` (upper-cased, after `skip` characters) as a number, and back.
    static qint64 digitsValue(const QString &upperText, qsizetype skip,
                              const QString &sortedAlphabet);
    static QString digitsText(qint64 value, const QString &sortedAlphabet);
    static QString sortedAlphabet(const QString &alphabet);

private:
    bool m_numeric = false;
    int m_size = 0;
    QList<qint64> m_numbers;
    QStringList m_texts;
    QList<QByteArray> m_keys;
};

} // namespace cx
