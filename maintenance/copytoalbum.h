#pragma once
// Builds the album table from the songs: every song without an album number
// is linked to its album (albumlookup.h), and an album that does not exist yet
// is made from the song's own album fields. Songs already linked are left as
// they are, so running it again changes nothing.
#include "maintenance/tablewalk.h"

namespace cx {

class CopyToAlbum : public TableWalk
{
public:
    explicit CopyToAlbum(Program &program);

    // Songs whose new album could not be added; they stay unlinked.
    int albumsNotAdded() const { return m_albumsNotAdded; }

protected:
    Row handle() override;

private:
    enum class NewAlbum { Added, NotAdded, ReadError };
    NewAlbum addAlbumFor(const Record &song, qint64 &albumId);

    int m_albumsNotAdded = 0;
};

} // namespace cx
