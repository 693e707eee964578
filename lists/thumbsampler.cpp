#include "lists/thumbsampler.h"

#include "platform/storage/sortkey.h"

#include <algorithm>

namespace cx
{

namespace
{

constexpr int kDigits = 4;

// The character an accented letter is written on: the first of its
// decomposition ("Ö" -> "O").
QChar baseCharacter(QChar c)
{
    if (c.decompositionTag() == QChar::NoDecomposition)
        return c;
    const QString d = QString(c).normalized(QString::NormalizationForm_D);
    return d.isEmpty() ? c : d.at(0);
}

qint64 interpolate(qint64 first, qint64 last, int position)
{
    return first + (last - first) * (position - 1) / (ThumbSampler::kPositions - 1);
}

} // namespace

QString ThumbSampler::letters()
{
    return QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
}

QString ThumbSampler::lettersAndDigits()
{
    return QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ");
}

void ThumbSampler::clear()
{
    m_size = 0;
    m_numbers.clear();
    m_texts.clear();
    m_keys.clear();
}

void ThumbSampler::sampleNumbers(qint64 first, qint64 last)
{
    clear();
    m_numeric = true;
    m_numbers.reserve(kPositions);
    for (int k = 1; k <= kPositions; ++k)
        m_numbers << interpolate(first, last, k);
    m_size = kPositions;
}

QString ThumbSampler::sortedAlphabet(const QString &alphabet)
{
    QList<QPair<QByteArray, QChar>> chars;
    for (QChar c : alphabet) {
        const QChar u = c.toUpper();
        if (std::none_of(chars.cbegin(), chars.cend(),
                         [u](const auto &p) { return p.second == u; }))
            chars.append({collationKey(QString(u)), u});
    }
    std::stable_sort(chars.begin(), chars.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    QString out;
    for (const auto &p : chars)
        out += p.second;
    return out;
}

qint64 ThumbSampler::digitsValue(const QString &upperText, qsizetype skip,
                                 const QString &sortedAlphabet)
{
    const qint64 base = sortedAlphabet.size() + 1;
    qint64 value = 0;
    for (int i = 0; i < kDigits; ++i) {
        const qsizetype at = skip + i;
        qint64 digit = 0;
        if (at < upperText.size())
            digit = sortedAlphabet.indexOf(baseCharacter(upperText.at(at))) +
                    1; // -1 + 1: not in the alphabet
        value = value * base + digit;
    }
    return value;
}

QString ThumbSampler::digitsText(qint64 value, const QString &sortedAlphabet)
{
    const qint64 base = sortedAlphabet.size() + 1;
    QString out(kDigits, QLatin1Char(' '));
    for (int i = kDigits - 1; i >= 0; --i) {
        const qint64 digit = value % base;
        value /= base;
        if (digit > 0)
            out[i] = sortedAlphabet.at(digit - 1);
    }
    while (out.endsWith(QLatin1Char(' ')))
        out.chop(1);
    return out;
}

void ThumbSampler::sampleTexts(const QString &first, const QString &last, const QString &alphabet)
{
    clear();
    m_numeric = false;
    const QString abc = sortedAlphabet(alphabet);
    const QString f = first.toUpper();
    const QString l = last.toUpper();
    qsizetype common = 0;
    while (common < f.size() && common < l.size() && f.at(common) == l.at(common))
        ++common;
    const QString shared = f.left(common);
    const qint64 a = digitsValue(f, common, abc);
    const qint64 b = digitsValue(l, common, abc);
    m_texts.reserve(kPositions);
    m_keys.reserve(kPositions);
    for (int k = 1; k <= kPositions; ++k) {
        QString text;
        if (k == 1)
            text = first;
        else if (k == kPositions)
            text = last;
        else
            text = shared + digitsText(interpolate(a, b, k), abc);
        m_texts << text;
        m_keys << collationKey(text);
    }
    m_size = kPositions;
}

QVariant ThumbSampler::value(int position) const
{
    if (m_size == 0)
        return {};
    const int i = qBound(1, position, kPositions) - 1;
    return m_numeric ? QVariant(m_numbers.at(i)) : QVariant(m_texts.at(i));
}

QVariantList ThumbSampler::values() const
{
    QVariantList out;
    for (int k = 1; k <= m_size; ++k)
        out << value(k);
    return out;
}

int ThumbSampler::positionOf(const QVariant &keyValue) const
{
    if (m_size == 0)
        return 1;
    if (m_numeric) {
        const qint64 v = keyValue.toLongLong();
        for (int i = 0; i < m_size; ++i)
            if (m_numbers.at(i) >= v)
                return i + 1;
    } else {
        const QByteArray v = keyValue.toByteArray();
        for (int i = 0; i < m_size; ++i)
            if (m_keys.at(i) >= v)
                return i + 1;
    }
    return kPositions;
}

} // namespace cx
