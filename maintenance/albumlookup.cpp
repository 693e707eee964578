#include "maintenance/albumlookup.h"

#include "platform/storage/table.h"

namespace cx {

QString compilationArtist() { return QStringLiteral("Various"); }

AlbumLookup lookUpAlbum(Table &albums, const QString &title, const QString &artist)
{
    static const QString albumField = QStringLiteral("ALB:Album");
    static const QString artistField = QStringLiteral("ALB:Artist");
    const int key = albums.decl().keyIndex(QStringLiteral("KeyAlbum"));
    for (const QString &who : {artist, compilationArtist()}) {
        albums.clear();
        albums.buffer().set(albumField, title);
        albums.buffer().set(artistField, who);
        const StorageCode code = albums.get(key);
        if (code == StorageCode::NoError)
            return {StorageCode::NoError, albums.buffer().number(QStringLiteral("ALB:AlbumID"))};
        if (code != StorageCode::RecordNotFound)
            return {code, 0};
    }
    return {};
}

} // namespace cx
