#pragma once
// Checks the links between songs and albums and repairs them, in album order:
// each song is linked to the album the lookup finds for it (or unlinked when
// there is none), and songs without a number get one above every number in use.
#include "maintenance/tablewalk.h"

#include <QByteArray>

#include <optional>

namespace cx {

class TestAlbumIDs : public TableWalk
{
public:
    explicit TestAlbumIDs(Program &program);

    // The next song number to try.
    qint64 nextSongNumber() const { return m_nextNumber; }

protected:
    bool prepare() override;
    Row handle() override;

private:
    // The album row last looked up, by the song's title and artist as keys compare them.
    struct LastLookup {
        QByteArray title, artist;
        qint64 albumId = 0;
    };
    std::optional<LastLookup> m_last;
    qint64 m_nextNumber = 1;
};

} // namespace cx
