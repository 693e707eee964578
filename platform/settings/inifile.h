#pragma once
// One sectioned key/value text file ("[Section]" lines followed by "Key=Value"
// lines), read and written one key at a time.
//
// Nothing is cached: every read parses the file as it is at that moment, so
// several running copies of the program see each other's writes at once.
// Section and key names are compared without regard to case. Reading never
// fails: a missing file, section or key, or a line too damaged to trust, reads
// as the caller's default. A write rewrites the whole file through a temporary
// file in the same directory that is then renamed over it, under a lock file,
// so a reader never sees half a file and two copies writing different keys at
// the same moment both keep their key. A write that cannot be done returns
// false and leaves the previous file as it was.
#include <QList>
#include <QPair>
#include <QString>
#include <optional>

namespace cx
{

class IniFile
{
public:
    // Longest line, in bytes, that is accepted when reading and produced when
    // writing. Anything longer is damage, not a setting.
    static constexpr qsizetype MaxLineBytes = 64 * 1024;
    // Only this much of a file is looked at; a settings file this large is junk.
    static constexpr qint64 MaxFileBytes = 16 * 1024 * 1024;

    // `path` should be absolute; a relative one is resolved once, here.
    explicit IniFile(const QString &path);

    QString path() const { return m_path; }

    QString read(const QString &section, const QString &key,
                 const QString &defaultValue = {}) const;
    // A present key whose text is blank or not a whole number reads as 0; only
    // a missing key gives the default.
    qint64 readNumber(const QString &section, const QString &key, qint64 defaultValue = 0) const;
    // The value, or nothing when the key (or its section, or the file) is missing.
    std::optional<QString> lookup(const QString &section, const QString &key) const;

    bool write(const QString &section, const QString &key, const QString &value);
    bool writeNumber(const QString &section, const QString &key, qint64 value);
    // Writes several keys of one section in a single rewrite of the file.
    bool writeValues(const QString &section, const QList<QPair<QString, QString>> &keyValues);

    // The text a value reads back as once written: line breaks and other
    // control characters become spaces and trailing blanks go. Callers that
    // compare a stored value with one of their own compare with this form.
    static QString storedForm(const QString &value);

private:
    QString m_path;
};

} // namespace cx
