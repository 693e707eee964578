#include "maintenance/copytoalbum.h"

#include "maintenance/albumlookup.h"
#include "store/program.h"

namespace cx {

namespace {
QString name(const char *n) { return QString::fromLatin1(n); }
} // namespace

CopyToAlbum::CopyToAlbum(Program &program)
    : TableWalk(program, {TableId::Songs, {}, {TableId::Songs, TableId::Album}, 1000, QStringLiteral("Copying...")})
{
}

TableWalk::Row CopyToAlbum::handle()
{
    Record &song = walked().buffer();
    if (song.number(name("MUS:AlbumID")) != 0)
        return Row::Next; // linked already: stored unchanged, which is no write at all
    const QString title = song.text(name("MUS:Album"));
    // A song with neither artist nor album title gets no album: an album row
    // with both blank is in none of the album keys, so it could never be found
    // again, and every such song would make another one.
    if (title.isEmpty() && song.text(name("MUS:Artist")).isEmpty())
        return Row::Next;

    Table &albums = table(TableId::Album);
    const AlbumLookup found = lookUpAlbum(albums, title, song.text(name("MUS:Artist")));
    if (!found.ok())
        return fail(MessageId::RecordRetrievalError, albums.label());
    qint64 albumId = found.albumId;
    if (!found.found()) {
        switch (addAlbumFor(song, albumId)) {
        case NewAlbum::Added:
            break;
        case NewAlbum::NotAdded:
            ++m_albumsNotAdded;
            return Row::Next;
        case NewAlbum::ReadError:
            return fail(MessageId::RecordRetrievalError, albums.label());
        }
    }
    song.set(name("MUS:AlbumID"), albumId);
    return store();
}

CopyToAlbum::NewAlbum CopyToAlbum::addAlbumFor(const Record &song, qint64 &albumId)
{
    Table &albums = table(TableId::Album);
    // The next number is one above the highest; the tick's transaction keeps
    // another copy from taking it before the add.
    albums.setOrder(albums.decl().keyIndex(name("KeyAlbumID")));
    qint64 highest = 0;
    const StorageCode code = albums.previous();
    if (code == StorageCode::NoError)
        highest = albums.buffer().number(name("ALB:AlbumID"));
    else if (code != StorageCode::RecordNotAvailable)
        return NewAlbum::ReadError;

    albums.clear();
    Record &album = albums.buffer();
    album.set(name("ALB:AlbumID"), highest + 1);
    album.set(name("ALB:Artist"), song.get(name("MUS:Artist")));
    album.set(name("ALB:Album"), song.get(name("MUS:Album")));
    album.set(name("ALB:Media"), song.get(name("MUS:Media")));
    album.set(name("ALB:FileNumber"), song.get(name("MUS:FileNumber")));
    album.set(name("ALB:ReleaseDate"), song.get(name("MUS:ReleaseDate")));
    album.set(name("ALB:CategoryID"), song.get(name("MUS:CategoryID")));
    album.set(name("ALB:Notes"), song.get(name("MUS:Notes")));
    if (albums.add() != StorageCode::NoError)
        return NewAlbum::NotAdded;
    albumId = highest + 1;
    return NewAlbum::Added;
}

} // namespace cx
