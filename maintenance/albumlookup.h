#pragma once
// The album of a song, as the album processes find it: the album with the
// song's album title and the song's artist, failing that the album with that
// title by the artist "Various" (a compilation). Keys ignore case.
#include "platform/storage/storageerror.h"

#include <QString>

namespace cx {

class Table;

struct AlbumLookup {
    StorageCode code = StorageCode::NoError; // NoError, or the read error other than "not found"
    qint64 albumId = 0;                      // 0 when no album was found
    bool found() const { return albumId != 0; }
    bool ok() const { return code == StorageCode::NoError; }
};

// Reads through the album table's buffer; the table must be open.
AlbumLookup lookUpAlbum(Table &albums, const QString &title, const QString &artist);

// The artist under which compilations are kept.
QString compilationArtist();

} // namespace cx
