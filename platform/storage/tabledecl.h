#pragma once
// A table is declared once: its fields with type and width, its keys with
// components and flags, its memos. Everything else (SQL layout, record buffers,
// key comparisons, names offered to users) is derived from this declaration.
#include <QList>
#include <QString>
#include <QStringList>

namespace cx {

enum class FieldType {
    String,  // STRING(n): n characters, clipped of trailing spaces
    Long,    // 32-bit signed
    Byte,    // 0..255
    Decimal, // packed decimal of `size` bytes, whole numbers of 2*size-1 digits
};

// What a LONG stands for; the storage treats all three alike, pictures and
// upgrades need to know.
enum class FieldKind { Plain, Date, Time };

struct FieldDecl {
    QString name; // without prefix: "Artist"
    FieldType type = FieldType::String;
    int size = 0; // characters for strings, bytes for decimals
    FieldKind kind = FieldKind::Plain;

    bool isString() const { return type == FieldType::String; }
    qint64 lowest() const;
    qint64 highest() const;
};

struct KeyDecl {
    QString name; // without prefix: "SongsByArtist"
    QStringList components; // field names without prefix, in order
    bool unique = false;
    bool optional = false; // records whose components are all blank/zero are left out
    bool primary = false;
};

struct MemoDecl {
    QString name; // without prefix: "Notes"
    int size = 0; // characters
};

struct TableDecl {
    QString label;    // "Cantorix"
    QString prefix;   // "MUS"
    QString fileName; // "crxdata": the SQL table
    int version = 1;  // structure version
    // A second declaration over another's file is not registered for upgrades:
    // only the first declaration may rewrite the stored layout.
    bool registered = true;
    QList<FieldDecl> fields;
    QList<KeyDecl> keys;
    QList<MemoDecl> memos;

    // Index of a field named "Artist" or "MUS:Artist" (any prefix, any case); -1 if none.
    int fieldIndex(const QString &name) const;
    int keyIndex(const QString &name) const;
    int memoIndex(const QString &name) const;
    int primaryKey() const; // -1 when the table has none
    QString fullName(const QString &bareName) const { return prefix + QLatin1Char(':') + bareName; }
    // The component indexes (into fields) of one key.
    QList<int> keyFields(int key) const;
    // Whether a string field takes part in any key (and so carries a sort-key column).
    bool isKeyed(int field) const;
};

// The part of a name after the colon ("MUS:Artist" -> "Artist").
QString bareName(const QString &name);

} // namespace cx
