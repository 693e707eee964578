#include "store/recordservices.h"

#include "platform/storage/sortkey.h"
#include "store/opentable.h"
#include "store/program.h"
#include "store/standardmessage.h"

namespace cx {

namespace {

// The link between a parent record and the child entries that carry its value.
struct Link {
    TableId child;
    const char *key;   // the child's key whose first component is the link field
    const char *field; // the child's link field
};

// Equal as the key sees them: numbers by value, texts without regard to case.
bool sameLinkValue(const QVariant &a, const QVariant &b)
{
    if (a.typeId() == QMetaType::QString || b.typeId() == QMetaType::QString)
        return collationKey(a.toString()) == collationKey(b.toString());
    return a.toLongLong() == b.toLongLong();
}

bool isBlank(const QVariant &v)
{
    return v.typeId() == QMetaType::QString ? v.toString().isEmpty() : v.toLongLong() == 0;
}

class Service
{
public:
    Service(Program &program, TableId table) : m_program(program), m_id(table), m_table(program.table(table)) {}

    Table &child(TableId id) { return m_program.table(id); }

    // Positions the child's key at the value (further components at their
    // lowest). Returns NoError when the next entry carries the value,
    // RecordNotFound when it does not, or the read error.
    StorageCode seek(const Link &link, const QVariant &value)
    {
        Table &t = child(link.child);
        const int key = t.decl().keyIndex(QString::fromLatin1(link.key));
        const int field = t.decl().fieldIndex(QString::fromLatin1(link.field));
        t.clear();
        for (int f : t.decl().keyFields(key))
            t.clearToLowest(f);
        t.buffer().setValue(field, value);
        t.setToKeyValues(key);
        return readSame(link, value);
    }

    StorageCode readSame(const Link &link, const QVariant &value)
    {
        Table &t = child(link.child);
        // A blank value is in no optional key: nothing refers to it.
        if (isBlank(value))
            return StorageCode::RecordNotFound;
        const StorageCode code = t.next();
        if (code == StorageCode::RecordNotAvailable)
            return StorageCode::RecordNotFound;
        if (code != StorageCode::NoError)
            return code;
        return sameLinkValue(t.buffer().get(QString::fromLatin1(link.field)), value) ? StorageCode::NoError
                                                                                      : StorageCode::RecordNotFound;
    }

    // A restrict: false (message shown) when a child refers to the value.
    bool allowed(const Link &link, const QVariant &value)
    {
        const StorageCode code = seek(link, value);
        if (code == StorageCode::RecordNotFound)
            return true;
        if (code != StorageCode::NoError)
            return failed(MessageId::RecordRetrievalError, child(link.child).label());
        // Roll back before the message: no copy waits on our lock while it is shown.
        m_program.database().rollback();
        standardMessage(m_program, MessageId::DeleteRestricted, child(link.child).label());
        return false;
    }

    // Deletes every child carrying the value; beforeEach may refuse (message shown).
    bool cascadeDelete(const Link &link, const QVariant &value, const std::function<bool()> &beforeEach = {})
    {
        Table &t = child(link.child);
        for (StorageCode code = seek(link, value);; code = readSame(link, value)) {
            if (code == StorageCode::RecordNotFound)
                return true;
            if (code != StorageCode::NoError)
                return failed(MessageId::RecordRetrievalError, t.label());
            if (beforeEach && !beforeEach())
                return false;
            if (t.remove() != StorageCode::NoError)
                return failed(MessageId::DeleteError, t.label());
        }
    }

    // Gives every child carrying the old value the new one.
    bool cascadeUpdate(const Link &link, const QVariant &oldValue, const QVariant &newValue)
    {
        Table &t = child(link.child);
        const QString field = QString::fromLatin1(link.field);
        for (StorageCode code = seek(link, oldValue);; code = readSame(link, oldValue)) {
            if (code == StorageCode::RecordNotFound)
                return true;
            if (code != StorageCode::NoError)
                return failed(MessageId::RecordRetrievalError, t.label());
            t.buffer().set(field, newValue);
            if (t.put() != StorageCode::NoError)
                return failed(MessageId::UpdateError, t.label());
        }
    }

    // Keeps the storage error for the message, which is shown after the roll back.
    bool failed(MessageId id, const QString &text1, const QString &text2 = {})
    {
        m_program.savedError = m_program.database().error();
        m_program.database().rollback();
        standardMessage(m_program, id, text1, text2);
        return false;
    }

    Program &m_program;
    TableId m_id;
    Table &m_table;
};

QList<TableId> deleteTables(TableId id)
{
    switch (id) {
    case TableId::Songs:
        return {TableId::PlaylistDetails};
    case TableId::Categories:
        return {TableId::Album, TableId::Songs};
    case TableId::Media:
        return {TableId::Songs};
    case TableId::Album:
        return {TableId::Songs, TableId::ASongs, TableId::PlaylistDetails};
    case TableId::PlaylistMaster:
        return {TableId::PlaylistDetails};
    default:
        return {};
    }
}

QList<TableId> updateTables(TableId id)
{
    switch (id) {
    case TableId::Categories:
        return {TableId::Album, TableId::Songs};
    case TableId::Media:
        return {TableId::Songs};
    case TableId::Album:
        return {TableId::Songs, TableId::ASongs};
    default:
        return {};
    }
}

// Opens the other tables of a service that are not open yet, and closes exactly those again.
class ExtraTables
{
public:
    ExtraTables(Program &program, const QList<TableId> &tables) : m_program(program)
    {
        for (TableId id : tables) {
            if (program.useCount(id) > 0)
                continue;
            if (!openTable(program, id)) {
                m_ok = false;
                return;
            }
            m_opened << id;
        }
    }
    ~ExtraTables()
    {
        for (TableId id : std::as_const(m_opened))
            closeTable(m_program, id);
    }
    bool ok() const { return m_ok; }

private:
    Program &m_program;
    QList<TableId> m_opened;
    bool m_ok = true;
};

const Link songsInPlaylists{TableId::PlaylistDetails, "KeyID", "ID"};

} // namespace

ServiceResult ruleDelete(Program &program, TableId id)
{
    Service s(program, id);
    Table &table = s.m_table;
    const qint64 position = table.position();
    ExtraTables extra(program, deleteTables(id));
    if (!extra.ok())
        return ServiceFailed;
    if (program.database().begin() != StorageCode::NoError) {
        program.savedError = program.database().error();
        standardMessage(program, MessageId::TransactionError, table.label(), QStringLiteral("Delete"));
        return ServiceFailed;
    }
    if (table.reget(position) != StorageCode::NoError) {
        s.failed(MessageId::RecordRetrievalError, table.label());
        return ServiceFailed;
    }
    const Record &r = table.buffer();
    bool allowed = true;
    switch (id) {
    case TableId::Songs:
        allowed = s.allowed(songsInPlaylists, r.get(QStringLiteral("ID")));
        break;
    case TableId::Categories: {
        const QVariant category = r.get(QStringLiteral("CategoryID"));
        allowed = s.allowed({TableId::Album, "KeyCategory", "CategoryID"}, category)
                  && s.allowed({TableId::Songs, "SongsByCategory", "CategoryID"}, category);
        break;
    }
    case TableId::Media:
        allowed = s.allowed({TableId::Songs, "SongsByMedia", "Media"}, r.get(QStringLiteral("Media")));
        break;
    case TableId::Album: {
        const QVariant fileNumber = r.get(QStringLiteral("FileNumber"));
        const QVariant albumId = r.get(QStringLiteral("AlbumID"));
        // A song still listed in a play list is never deleted under it, by
        // either rule: its play-list lines would point at nothing.
        auto notInPlaylist = [&s](TableId songs) {
            return [&s, songs] { return s.allowed(songsInPlaylists, s.child(songs).buffer().number(QStringLiteral("ID"))); };
        };
        allowed = s.cascadeDelete({TableId::ASongs, "KeyFileNumber", "FileNumber"}, fileNumber,
                                  notInPlaylist(TableId::ASongs))
                  && s.cascadeDelete({TableId::Songs, "KeyAlbumID", "AlbumID"}, albumId, notInPlaylist(TableId::Songs));
        break;
    }
    case TableId::PlaylistMaster:
        allowed = s.cascadeDelete({TableId::PlaylistDetails, "KeyPlaylistID", "PlaylistID"},
                                  r.get(QStringLiteral("PlaylistID")));
        break;
    default:
        break;
    }
    if (!allowed) {
        program.database().rollback();
        return ServiceFailed;
    }
    if (table.reget(position) != StorageCode::NoError || table.remove() != StorageCode::NoError) {
        s.failed(MessageId::DeleteError, table.label());
        return ServiceFailed;
    }
    if (program.database().commit() != StorageCode::NoError) {
        s.failed(MessageId::DeleteError, table.label());
        return ServiceFailed;
    }
    return ServiceDone;
}

ServiceResult ruleUpdate(Program &program, TableId id, bool fromForm)
{
    Service s(program, id);
    Table &table = s.m_table;
    ExtraTables extra(program, updateTables(id));
    if (!extra.ok())
        return ServiceFailed;
    if (program.database().begin() != StorageCode::NoError) {
        program.savedError = program.database().error();
        standardMessage(program, MessageId::TransactionError, table.label(), QStringLiteral("Update"));
        return ServiceFailed;
    }
    const qint64 position = table.position();
    const StorageCode written = table.put();
    if (written == StorageCode::ChangedByOther) {
        program.savedError = program.database().error();
        program.database().rollback();
        if (fromForm)
            standardMessage(program, MessageId::ChangedRecordShown);
        else
            standardMessage(program, MessageId::UpdateError, QStringLiteral("Record Changed by Another Station"));
        // Show the other copy's version, watched again for the next write.
        table.watch();
        if (table.reget(position) != StorageCode::NoError) {
            standardMessage(program, MessageId::RecordRetrievalError, table.label());
            return ServiceFailed;
        }
        return ServiceChangedByOther;
    }
    if (written != StorageCode::NoError) {
        s.failed(MessageId::UpdateError, table.label());
        return ServiceFailed;
    }

    const std::optional<Record> &before = program.remembered(id);
    auto changed = [&](const char *field) {
        return before && before->get(QString::fromLatin1(field)) != table.buffer().get(QString::fromLatin1(field));
    };
    auto old = [&](const char *field) { return before->get(QString::fromLatin1(field)); };
    auto now = [&](const char *field) { return table.buffer().get(QString::fromLatin1(field)); };
    bool ok = true;
    switch (id) {
    case TableId::Categories:
        if (changed("CategoryID")) {
            const Link albums{TableId::Album, "KeyCategory", "CategoryID"};
            const StorageCode used = s.seek(albums, old("CategoryID"));
            if (used == StorageCode::NoError) {
                program.database().rollback();
                standardMessage(program, MessageId::UpdateRestricted, s.child(TableId::Album).label());
                table.buffer().set(QStringLiteral("CategoryID"), old("CategoryID"));
                return ServiceFailed;
            }
            if (used != StorageCode::RecordNotFound) {
                s.failed(MessageId::RecordRetrievalError, s.child(TableId::Album).label());
                return ServiceFailed;
            }
            ok = s.cascadeUpdate({TableId::Songs, "SongsByCategory", "CategoryID"}, old("CategoryID"), now("CategoryID"));
        }
        break;
    case TableId::Media:
        if (changed("Media"))
            ok = s.cascadeUpdate({TableId::Songs, "SongsByMedia", "Media"}, old("Media"), now("Media"));
        break;
    case TableId::Album:
        if (changed("FileNumber"))
            ok = s.cascadeUpdate({TableId::ASongs, "KeyFileNumber", "FileNumber"}, old("FileNumber"), now("FileNumber"));
        if (ok && changed("AlbumID"))
            ok = s.cascadeUpdate({TableId::Songs, "KeyAlbumID", "AlbumID"}, old("AlbumID"), now("AlbumID"));
        break;
    default:
        break;
    }
    if (!ok)
        return ServiceFailed;
    if (program.database().commit() != StorageCode::NoError) {
        s.failed(MessageId::UpdateError, table.label());
        return ServiceFailed;
    }
    return ServiceDone;
}

} // namespace cx
