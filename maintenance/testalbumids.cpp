#include "maintenance/testalbumids.h"

#include "maintenance/albumlookup.h"
#include "platform/storage/sortkey.h"
#include "store/program.h"

namespace cx {

namespace {
QString name(const char *n) { return QString::fromLatin1(n); }
} // namespace

// The free-number checks read through A_Songs, the second declaration over the
// songs file, so the song being repaired stays in the songs buffer.
TestAlbumIDs::TestAlbumIDs(Program &program)
    : TableWalk(program, {TableId::Songs,
                          QStringLiteral("SongsByAlbum"),
                          {TableId::Songs, TableId::ASongs, TableId::Album},
                          25,
                          QStringLiteral("Testing Link Integrity")})
{
}

bool TestAlbumIDs::prepare()
{
    Table &numbers = table(TableId::ASongs);
    numbers.setOrder(numbers.decl().keyIndex(name("KeyID")));
    const StorageCode code = numbers.previous();
    if (code == StorageCode::NoError) {
        m_nextNumber = numbers.buffer().number(name("A_S:ID")) + 1;
    } else if (code != StorageCode::RecordNotAvailable) {
        fail(MessageId::RecordRetrievalError, table(TableId::Songs).label());
        return false;
    }
    return true;
}

TableWalk::Row TestAlbumIDs::handle()
{
    Record &song = walked().buffer();
    const Record before = song;
    const QString title = song.text(name("MUS:Album"));
    const QString artist = song.text(name("MUS:Artist"));
    const QByteArray titleKey = collationKey(title);
    const QByteArray artistKey = collationKey(artist);

    if (!m_last || m_last->title != titleKey || m_last->artist != artistKey) {
        Table &albums = table(TableId::Album);
        const AlbumLookup found = lookUpAlbum(albums, title, artist);
        if (!found.ok())
            return fail(MessageId::RecordRetrievalError, albums.label());
        song.set(name("MUS:AlbumID"), found.albumId);
        m_last = LastLookup{titleKey, artistKey, found.albumId};
    } else if (song.number(name("MUS:AlbumID")) == 0) {
        // The same album as the song before: an unlinked song joins it, a
        // linked one keeps its number.
        song.set(name("MUS:AlbumID"), m_last->albumId);
    }

    if (song.number(name("MUS:ID")) == 0) {
        // Another copy may have numbered songs since the start: try upward
        // until a number is free.
        Table &numbers = table(TableId::ASongs);
        const int key = numbers.decl().keyIndex(name("KeyID"));
        for (;;) {
            numbers.clear();
            numbers.buffer().set(name("A_S:ID"), m_nextNumber);
            const StorageCode code = numbers.get(key);
            if (code == StorageCode::RecordNotFound)
                break;
            if (code != StorageCode::NoError)
                return fail(MessageId::RecordRetrievalError, walked().label());
            ++m_nextNumber;
        }
        song.set(name("MUS:ID"), m_nextNumber);
        ++m_nextNumber;
    }

    // An unchanged song is not written: writing it would only tell every other
    // copy that has it open in a form that it was changed.
    if (song == before)
        return Row::Next;
    return store();
}

} // namespace cx
