#include "platform/settings/inifile.h"

#include <QByteArrayView>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLockFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QThread>

namespace cx
{

namespace
{

// How long a write waits for another copy's write to finish. Writes take
// milliseconds; waiting longer would only freeze the window being closed.
constexpr int LockWaitMs = 2000;
// A lock left behind by a copy that died is taken over at once when its
// process is gone; one held this long by a live process is assumed stuck.
constexpr int StaleLockMs = 10000;

enum class LineKind { Skip, Section, BadSection, Entry };

struct Line {
    LineKind kind = LineKind::Skip;
    QString name; // section name or key, trimmed
    QString value;
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArrayView trimmedLine(QByteArrayView line)
{
    qsizetype begin = 0;
    qsizetype end = line.size();
    while (begin < end && isBlank(line[begin]))
        ++begin;
    while (end > begin && (isBlank(line[end - 1]) || line[end - 1] == '\r'))
        --end;
    return line.sliced(begin, end - begin);
}

// Tabs are text; every other control character (NUL, stray CR, escape...) in a
// line means the line is not something this program wrote or a person typed.
bool isControl(char16_t c)
{
    return (c < 0x20 && c != u'\t') || c == 0x7f;
}

bool hasControlBytes(QByteArrayView bytes)
{
    for (char c : bytes) {
        if (isControl(char16_t(uchar(c))))
            return true;
    }
    return false;
}

bool hasControlChars(const QString &text)
{
    for (QChar c : text) {
        if (isControl(c.unicode()))
            return true;
    }
    return false;
}

std::optional<QString> decodeUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

bool validSectionName(const QString &name)
{
    return !name.isEmpty() && !hasControlChars(name) && !name.contains(u'[') &&
           !name.contains(u']');
}

bool validKey(const QString &key)
{
    return !key.isEmpty() && !hasControlChars(key) && !key.contains(u'=') && !key.startsWith(u'[');
}

// A damaged header must not let the keys under it slip into the section
// before it, so it is reported as a header that matches nothing.
Line parseLine(QByteArrayView raw)
{
    Line out;
    const QByteArrayView text = trimmedLine(raw);
    if (text.isEmpty())
        return out;
    const bool header = text.front() == '[';
    const auto damaged = [&] {
        out.kind = header ? LineKind::BadSection : LineKind::Skip;
        return out;
    };
    if (raw.size() > IniFile::MaxLineBytes || hasControlBytes(text))
        return damaged();
    const std::optional<QString> decoded = decodeUtf8(text);
    if (!decoded)
        return damaged();
    if (header) {
        if (!decoded->endsWith(u']'))
            return damaged();
        const QString name = decoded->sliced(1, decoded->size() - 2).trimmed();
        if (!validSectionName(name))
            return damaged();
        out.kind = LineKind::Section;
        out.name = name;
        return out;
    }
    const qsizetype eq = decoded->indexOf(u'=');
    if (eq < 0)
        return out;
    const QString key = decoded->left(eq).trimmed();
    if (key.isEmpty())
        return out;
    out.kind = LineKind::Entry;
    out.name = key;
    out.value = decoded->sliced(eq + 1);
    return out;
}

// Calls `f` for each line until it returns false.
template <typename F> void forEachLine(const QByteArray &data, F &&f)
{
    const QByteArrayView all(data);
    qsizetype pos = all.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (pos < all.size()) {
        qsizetype end = data.indexOf('\n', pos);
        if (end < 0)
            end = all.size();
        if (!f(parseLine(all.sliced(pos, end - pos))))
            return;
        pos = end + 1;
    }
}

// Reads the file's bytes. A missing file is empty; false means something is
// there that cannot be read, which a write must not replace blindly.
bool loadBytes(const QString &path, QByteArray &data)
{
    data.clear();
    const QFileInfo info(path);
    if (!info.exists())
        return true;
    // Only regular files are opened: opening a named pipe would block.
    if (!info.isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    data = file.read(IniFile::MaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return false;
    if (data.size() > IniFile::MaxFileBytes) {
        // Keep whole lines only; the rest of such a file is junk anyway.
        data.truncate(data.lastIndexOf('\n', IniFile::MaxFileBytes - 1) + 1);
    }
    return true;
}

struct Section {
    QString name;
    QList<QPair<QString, QString>> entries;
    QHash<QString, qsizetype> index; // case-folded key -> entry
};

// The whole file as a write sees it. Parsing drops every damaged line,
// merges repeated sections into the first and keeps the first of repeated
// keys (the ones a read finds), so writing it back gives a clean file that
// reads exactly as the old one did.
class Document
{
public:
    qsizetype section(const QString &name)
    {
        const QString folded = name.toCaseFolded();
        const auto it = m_index.constFind(folded);
        if (it != m_index.constEnd())
            return *it;
        m_sections.append(Section{name, {}, {}});
        m_index.insert(folded, m_sections.size() - 1);
        return m_sections.size() - 1;
    }

    void add(qsizetype s, const QString &key, const QString &value)
    {
        Section &sec = m_sections[s];
        const QString folded = key.toCaseFolded();
        if (sec.index.contains(folded))
            return;
        sec.entries.append({key, value});
        sec.index.insert(folded, sec.entries.size() - 1);
    }

    void set(qsizetype s, const QString &key, const QString &value)
    {
        Section &sec = m_sections[s];
        const auto it = sec.index.constFind(key.toCaseFolded());
        if (it == sec.index.constEnd())
            add(s, key, value);
        else
            sec.entries[*it].second = value;
    }

    QByteArray serialize() const
    {
        QByteArray out;
        for (qsizetype i = 0; i < m_sections.size(); ++i) {
            const Section &sec = m_sections[i];
            if (i > 0)
                out += '\n';
            out += '[' + sec.name.toUtf8() + "]\n";
            for (const auto &[key, value] : sec.entries)
                out += key.toUtf8() + '=' + value.toUtf8() + '\n';
        }
        return out;
    }

private:
    QList<Section> m_sections;
    QHash<QString, qsizetype> m_index;
};

Document parseDocument(const QByteArray &data)
{
    Document doc;
    qsizetype current = -1; // no section yet, or under a damaged header
    forEachLine(data, [&](const Line &line) {
        switch (line.kind) {
        case LineKind::Section:
            current = doc.section(line.name);
            break;
        case LineKind::BadSection:
            current = -1;
            break;
        case LineKind::Entry:
            if (current >= 0)
                doc.add(current, line.name, line.value);
            break;
        case LineKind::Skip:
            break;
        }
        return true;
    });
    return doc;
}

// QLockFile's own wait sleeps in doubling steps from 100 ms, which lets a busy
// writer starve a waiting one; polling in short steps keeps waits short.
bool lockWithin(QLockFile &lock, int timeoutMs)
{
    lock.setStaleLockTime(StaleLockMs);
    const QDeadlineTimer deadline(timeoutMs);
    while (!lock.tryLock(0)) {
        if (lock.error() != QLockFile::LockFailedError || deadline.hasExpired())
            return false;
        QThread::msleep(5);
    }
    return true;
}

} // namespace

IniFile::IniFile(const QString &path) : m_path(QFileInfo(path).absoluteFilePath()) {}

std::optional<QString> IniFile::lookup(const QString &section, const QString &key) const
{
    QByteArray data;
    loadBytes(m_path, data); // an unreadable file reads as empty
    const QString wantSection = section.trimmed().toCaseFolded();
    const QString wantKey = key.trimmed().toCaseFolded();
    bool inSection = false;
    std::optional<QString> found;
    forEachLine(data, [&](const Line &line) {
        switch (line.kind) {
        case LineKind::Section:
            inSection = line.name.toCaseFolded() == wantSection;
            break;
        case LineKind::BadSection:
            inSection = false;
            break;
        case LineKind::Entry:
            if (inSection && line.name.toCaseFolded() == wantKey) {
                found = line.value;
                return false;
            }
            break;
        case LineKind::Skip:
            break;
        }
        return true;
    });
    return found;
}

QString IniFile::read(const QString &section, const QString &key, const QString &defaultValue) const
{
    return lookup(section, key).value_or(defaultValue);
}

qint64 IniFile::readNumber(const QString &section, const QString &key, qint64 defaultValue) const
{
    const std::optional<QString> value = lookup(section, key);
    if (!value)
        return defaultValue;
    bool ok = false;
    const qint64 number = value->trimmed().toLongLong(&ok);
    return ok ? number : 0;
}

bool IniFile::write(const QString &section, const QString &key, const QString &value)
{
    return writeValues(section, {{key, value}});
}

bool IniFile::writeNumber(const QString &section, const QString &key, qint64 value)
{
    return write(section, key, QString::number(value));
}

QString IniFile::storedForm(const QString &value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char16_t c = value[i].unicode();
        // A CR LF pair is one line break and becomes one space.
        if (c == u'\r' && i + 1 < value.size() && value[i + 1] == u'\n')
            continue;
        out += isControl(c) ? QChar(u' ') : QChar(c);
    }
    qsizetype end = out.size();
    while (end > 0 && (out[end - 1] == u' ' || out[end - 1] == u'\t'))
        --end;
    out.truncate(end);
    return out;
}

bool IniFile::writeValues(const QString &section, const QList<QPair<QString, QString>> &keyValues)
{
    const QString sectionName = section.trimmed();
    if (!validSectionName(sectionName) || sectionName.toUtf8().size() + 2 > MaxLineBytes)
        return false;
    QList<QPair<QString, QString>> clean;
    clean.reserve(keyValues.size());
    for (const auto &[rawKey, rawValue] : keyValues) {
        const QString key = rawKey.trimmed();
        const QString value = storedForm(rawValue);
        if (!validKey(key) || key.toUtf8().size() + 1 + value.toUtf8().size() > MaxLineBytes)
            return false;
        clean.append({key, value});
    }

    const QFileInfo info(m_path);
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    QLockFile lock(m_path + u".lock");
    if (!lockWithin(lock, LockWaitMs))
        return false;

    QByteArray before;
    if (!loadBytes(m_path, before))
        return false;
    Document doc = parseDocument(before);
    const qsizetype s = doc.section(sectionName);
    for (const auto &[key, value] : clean)
        doc.set(s, key, value);
    const QByteArray after = doc.serialize();
    if (after == before)
        return true;

    QSaveFile out(m_path);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    if (out.write(after) != after.size()) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

} // namespace cx
