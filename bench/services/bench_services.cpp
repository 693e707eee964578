// Record services on a large catalogue, measured in one run:
//  - renaming a media format used by a fifth of the songs, through the media
//    record's update service, against one plain SQL UPDATE of the same rows
//    through the same index;
//  - deleting an album with the songs of its number and of its file number.
// It also checks that the rename touched exactly the songs of that format.
// Usage: bench_services [songs] [work directory]   (default 1000000, a temporary directory)
#include "generatedcatalogue.h"

#include "platform/storage/sortkey.h"
#include "store/opentable.h"
#include "store/program.h"
#include "store/recordservices.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdio>

using namespace cx;

namespace {
const QString boxed = QStringLiteral("Vinyl Box");

qint64 scalar(Database &db, const QString &sql)
{
    Statement s = db.statement(sql);
    const qint64 v = s.step() == SQLITE_ROW ? s.integer(0) : -1;
    s.reset();
    return v;
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const qint64 count = argc > 1 ? QString::fromLatin1(argv[1]).toLongLong() : 1000000;
    QTemporaryDir temp;
    const QString work = argc > 2 ? QString::fromLocal8Bit(argv[2]) : temp.path();
    QDir(work).removeRecursively();
    QDir().mkpath(work);
    const QString path = work + QStringLiteral("/cantorix.db");
    std::printf("songs: %lld, of them on \"%s\": %lld\n", count, qPrintable(boxed), (count + 4) / 5);
    if (buildCatalogue(path, count, [](qint64 i, GeneratedSong &s) {
            if (i % 5 == 0)
                s.media = boxed;
        }) < 0)
        return 1;

    ScriptedPrompter prompter;
    Program program(path, prompter);
    for (TableId id : {TableId::Media, TableId::Songs, TableId::ASongs, TableId::Album, TableId::PlaylistDetails})
        if (!openTable(program, id))
            return 1;
    Database &db = program.database();
    Table &media = program.table(TableId::Media);
    media.clear();
    media.buffer().set(QStringLiteral("MED:Media"), boxed);
    media.add();

    // 1. The rename through the service: the media record and every song of it, one transaction.
    media.clear();
    media.buffer().set(QStringLiteral("MED:Media"), boxed);
    media.get(0);
    program.remembered(TableId::Media) = media.buffer();
    media.buffer().set(QStringLiteral("MED:Media"), QStringLiteral("Vinyl Boxes"));
    const qint64 changesBefore = sqlite3_total_changes64(db.handle());
    QElapsedTimer t;
    t.start();
    if (ruleUpdate(program, TableId::Media) != ServiceDone)
        return 1;
    const double serviceSeconds = t.elapsed() / 1000.0;
    const qint64 touched = sqlite3_total_changes64(db.handle()) - changesBefore;
    const qint64 renamed = scalar(db, QStringLiteral("SELECT count(*) FROM crxdata WHERE Media='Vinyl Boxes'"));

    // 2. The same rows back, as one plain UPDATE through the same index.
    t.restart();
    db.begin();
    Statement back = db.statement(QStringLiteral("UPDATE crxdata SET Media=?, k_Media=?, ver=ver+1 WHERE k_Media=?"));
    back.bindAll({boxed, collationKey(boxed), collationKey(QStringLiteral("Vinyl Boxes"))});
    back.step();
    back.reset();
    db.commit();
    const double plainSeconds = t.elapsed() / 1000.0;

    // 3. An album deleted with its songs (by album number and by file number).
    Table &album = program.table(TableId::Album);
    Table &songs = program.table(TableId::Songs);
    songs.clear();
    songs.buffer().set(QStringLiteral("MUS:AlbumID"), 1);
    songs.setToKeyValues(songs.decl().keyIndex(QStringLiteral("KeyAlbumID")));
    songs.next();
    const QString fileNumber = songs.buffer().text(QStringLiteral("MUS:FileNumber"));
    album.clear();
    album.buffer().set(QStringLiteral("ALB:AlbumID"), 1);
    album.buffer().set(QStringLiteral("ALB:Album"), songs.buffer().text(QStringLiteral("MUS:Album")));
    album.buffer().set(QStringLiteral("ALB:Artist"), songs.buffer().text(QStringLiteral("MUS:Artist")));
    album.buffer().set(QStringLiteral("ALB:FileNumber"), fileNumber);
    album.add();
    const qint64 songsBefore = scalar(db, QStringLiteral("SELECT count(*) FROM crxdata"));
    t.restart();
    if (ruleDelete(program, TableId::Album) != ServiceDone)
        return 1;
    const double deleteSeconds = t.elapsed() / 1000.0;
    const qint64 deleted = songsBefore - scalar(db, QStringLiteral("SELECT count(*) FROM crxdata"));

    std::printf("media rename through the update service: %.2f s, %lld songs renamed, %lld rows written%s\n",
                serviceSeconds, renamed, touched,
                touched == renamed + 1 ? " (exactly the songs of that format and the media record)" : " (UNEXPECTED)");
    std::printf("the same rows as one plain UPDATE:        %.2f s (ratio %.2f)\n", plainSeconds,
                serviceSeconds / plainSeconds);
    std::printf("album delete with its songs:              %.3f s, %lld songs deleted (file number %s)\n", deleteSeconds,
                deleted, qPrintable(fileNumber));
    return touched == renamed + 1 ? 0 : 1;
}
