// Builds a large catalogue of generated songs and prints, measured in this run:
//  - adding throughput through the storage layer against the sqlite3 shell's
//    .import of the same rows into the same schema with the same indexes;
//  - bytes on disk per song.
// Usage: bench_catalogue [songs] [work directory]   (default 1000000, a temporary directory)
#include "songgenerator.h"

#include "platform/storage/schema.h"
#include "platform/storage/sortkey.h"
#include "store/opentable.h"
#include "store/program.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

using namespace cx;

namespace {

void fill(Record &r, const GeneratedSong &s)
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

QString csvField(const QVariant &v)
{
    QString t = v.toString();
    if (t.contains(QLatin1Char('"')) || t.contains(QLatin1Char(',')))
        t = QLatin1Char('"') + t.replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
    return t;
}

qint64 databaseBytes(const QString &path)
{
    qint64 n = 0;
    for (const char *suffix : {"", "-wal"})
        n += QFileInfo(path + QString::fromLatin1(suffix)).size();
    return n;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const qint64 count = argc > 1 ? QString::fromLatin1(argv[1]).toLongLong() : 1000000;
    QTemporaryDir temp;
    const QString work = argc > 2 ? QString::fromLocal8Bit(argv[2]) : temp.path();
    QDir().mkpath(work);
    const QString ours = work + QStringLiteral("/cantorix.db");
    const QString imported = work + QStringLiteral("/imported.db");
    const QString csv = work + QStringLiteral("/songs.csv");
    for (const QString &f : {ours, imported, csv}) {
        QFile::remove(f);
        QFile::remove(f + QStringLiteral("-wal"));
        QFile::remove(f + QStringLiteral("-shm"));
    }
    const TableDecl &decl = tableDecl(TableId::Songs);
    std::printf("songs: %lld\n", count);

    // 1. Through the storage layer, committing every 50,000 songs.
    ScriptedPrompter prompter;
    double oursSeconds = 0;
    {
        Program program(ours, prompter);
        if (!openTable(program, TableId::Songs))
            return 1;
        Table &songs = program.table(TableId::Songs);
        SongGenerator gen;
        QElapsedTimer t;
        t.start();
        program.database().begin();
        for (qint64 i = 0; i < count; ++i) {
            fill(songs.buffer(), gen.next());
            if (songs.add() != StorageCode::NoError) {
                std::printf("add failed: %s\n", qPrintable(songs.error().describe()));
                return 1;
            }
            if ((i + 1) % 50000 == 0) {
                program.database().commit();
                program.database().begin();
            }
        }
        program.database().commit();
        oursSeconds = t.elapsed() / 1000.0;
        program.database().exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    }

    // 2. The same rows, with their sort-key columns, through the sqlite3 shell's .import.
    {
        QFile out(csv);
        out.open(QIODevice::WriteOnly);
        QTextStream ts(&out);
        Record r(&decl);
        SongGenerator gen;
        const QStringList keyed = schema::sortKeyFields(decl);
        for (qint64 i = 0; i < count; ++i) {
            fill(r, gen.next());
            QStringList row;
            for (int f = 0; f < decl.fields.size(); ++f)
                row << csvField(r.value(f));
            // The shell cannot compute collation keys: give it text of the same
            // length to index (the folded text), so that it does the same index work.
            for (const QString &k : keyed)
                row << csvField(r.text(k).toCaseFolded());
            for (int m = 0; m < decl.memos.size(); ++m)
                row << QString();
            row << QStringLiteral("1");
            ts << row.join(QLatin1Char(',')) << '\n';
        }
    }
    {
        Program program(imported, prompter);
        if (!openTable(program, TableId::Songs))
            return 1;
    }
    const QString shell = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    double importSeconds = 0;
    if (!shell.isEmpty()) {
        QElapsedTimer t;
        t.start();
        QProcess p;
        p.start(shell, {imported, QStringLiteral(".mode csv"), QStringLiteral(".import ") + csv + QStringLiteral(" crxdata")});
        p.waitForFinished(-1);
        importSeconds = t.elapsed() / 1000.0;
        if (p.exitCode() != 0)
            std::printf("import failed: %s\n", p.readAllStandardError().constData());
    }

    std::printf("add through storage layer: %.1f s (%.0f songs/s)\n", oursSeconds, count / oursSeconds);
    if (importSeconds > 0) {
        std::printf("sqlite3 .import:           %.1f s (%.0f songs/s)\n", importSeconds, count / importSeconds);
        std::printf("ratio storage/import:      %.2fx (goal: within 3x)\n", oursSeconds / importSeconds);
    }
    std::printf("bytes on disk per song:    %.0f (catalogue %.1f MB)\n", double(databaseBytes(ours)) / count,
                databaseBytes(ours) / 1e6);
    return 0;
}
