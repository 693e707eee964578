#include "generatedcatalogue.h"

#include "store/opentable.h"
#include "store/program.h"

#include <QElapsedTimer>

#include <cstdio>

using namespace cx;

void fillSong(Record &r, const GeneratedSong &s)
{
    r.clear();
    r.set(QStringLiteral("MUS:Artist"), s.artist);
    r.set(QStringLiteral("MUS:Title"), s.title);
    r.set(QStringLiteral("MUS:Album"), s.album);
    r.set(QStringLiteral("MUS:Media"), s.media);
    r.set(QStringLiteral("MUS:FileNumber"), s.fileNumber);
    r.set(QStringLiteral("MUS:ReleaseDate"), s.releaseDate);
    r.set(QStringLiteral("MUS:CategoryID"), s.categoryId);
    r.set(QStringLiteral("MUS:ChartNumber"), s.chart);
    r.set(QStringLiteral("MUS:TrackNumber"), s.track);
    r.set(QStringLiteral("MUS:Time"), s.time);
    r.set(QStringLiteral("MUS:BeatsPerMinute"), s.bpm);
    r.set(QStringLiteral("MUS:Style"), s.style);
    r.set(QStringLiteral("MUS:Composer"), s.composer);
    r.set(QStringLiteral("MUS:ID"), s.id);
    r.set(QStringLiteral("MUS:AlbumID"), s.albumId);
}

double buildCatalogue(const QString &path, qint64 count, const std::function<void(qint64, GeneratedSong &)> &adjust)
{
    ScriptedPrompter prompter;
    Program program(path, prompter);
    if (!openTable(program, TableId::Songs))
        return -1;
    Table &songs = program.table(TableId::Songs);
    SongGenerator gen;
    QElapsedTimer t;
    t.start();
    program.database().begin();
    for (qint64 i = 0; i < count; ++i) {
        GeneratedSong song = gen.next();
        if (adjust)
            adjust(i, song);
        fillSong(songs.buffer(), song);
        if (songs.add() != StorageCode::NoError) {
            std::printf("add failed: %s\n", qPrintable(songs.error().describe()));
            return -1;
        }
        if ((i + 1) % 50000 == 0) {
            program.database().commit();
            program.database().begin();
        }
    }
    program.database().commit();
    const double seconds = t.elapsed() / 1000.0;
    program.database().exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    return seconds;
}
