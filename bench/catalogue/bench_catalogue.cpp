// Builds a large catalogue of generated songs and prints, measured in this run:
//  - adding throughput through the storage layer against the sqlite3 shell's
//    .import of the same rows into the same schema with the same indexes;
//  - start-up to the frame on that catalogue against a catalogue of 1,000 songs
//    (the start must not depend on the catalogue's size);
//  - bytes on disk per song.
// Usage: bench_catalogue [songs] [work directory]   (default 1000000, a temporary directory)
#include "generatedcatalogue.h"

#include "platform/storage/schema.h"
#include "platform/storage/sortkey.h"
#include "store/opentable.h"
#include "store/program.h"
#include "shell/mainframe.h"
#include "shell/startup.h"

#include <QApplication>
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

QString csvField(const QVariant &v)
{
    QString t = v.toString();
    if (t.contains(QLatin1Char('"')) || t.contains(QLatin1Char(',')))
        t = QLatin1Char('"') + t.replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
    return t;
}

// Seconds to read every song in artist order: through Table::next, and as one
// plain ordered query walked to its end (the floor for any reader).
QPair<double, double> readAllSeconds(const QString &path)
{
    ScriptedPrompter prompter;
    Program program(path, prompter);
    openTable(program, TableId::Songs);
    Table &songs = program.table(TableId::Songs);
    QElapsedTimer t;
    t.start();
    qint64 n = 0;
    songs.setOrder(songs.decl().keyIndex(QStringLiteral("SongsByArtist")));
    while (songs.next() == StorageCode::NoError)
        ++n;
    const double stepped = t.elapsed() / 1000.0;
    t.restart();
    Statement s = program.database().statement(QStringLiteral("SELECT rowid, ver, ")
                                               + schema::dataColumns(songs.decl()).join(QLatin1Char(','))
                                               + QStringLiteral(" FROM crxdata ORDER BY k_Artist, k_Title, rowid"));
    qint64 m = 0;
    while (s.step() == 100) {
        s.text(2);
        ++m;
    }
    s.reset();
    const double plain = t.elapsed() / 1000.0;
    if (n != m)
        std::printf("read counts differ: %lld against %lld\n", n, m);
    return {stepped, plain};
}

// Milliseconds from the start of the program to the frame shown, best of `runs`,
// in the directory of the catalogue (the program works in its working directory).
double startupMs(const QString &directory, int runs)
{
    const QString previous = QDir::currentPath();
    QDir::setCurrent(directory);
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        {
            ScriptedPrompter prompter;
            Program program(QDir::current().filePath(QStringLiteral("cantorix.db")), prompter);
            MainFrame frame;
            Startup startup(program, frame);
            if (!startup.run())
                return -1;
            QApplication::processEvents();
            best = qMin(best, t.nsecsElapsed() / 1e6);
            frame.close();
        }
    }
    QDir::setCurrent(previous);
    return best;
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
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const qint64 count = argc > 1 ? QString::fromLatin1(argv[1]).toLongLong() : 1000000;
    QTemporaryDir temp;
    const QString work = argc > 2 ? QString::fromLocal8Bit(argv[2]) : temp.path();
    const QString large = work + QStringLiteral("/large");
    const QString small = work + QStringLiteral("/small");
    const QString importDir = work + QStringLiteral("/import");
    for (const QString &d : {large, small, importDir}) {
        QDir(d).removeRecursively();
        QDir().mkpath(d);
    }
    qputenv("XDG_CONFIG_HOME", (work + QStringLiteral("/config")).toUtf8());
    const QString ours = large + QStringLiteral("/cantorix.db");
    const QString imported = importDir + QStringLiteral("/cantorix.db");
    const QString csv = importDir + QStringLiteral("/songs.csv");
    const TableDecl &decl = tableDecl(TableId::Songs);
    std::printf("songs: %lld\n", count);

    // 1. Through the storage layer, committing every 50,000 songs.
    const double oursSeconds = buildCatalogue(ours, count);
    if (oursSeconds < 0)
        return 1;

    // 2. The same rows, with their sort-key columns, through the sqlite3 shell's .import
    //    into the same schema with the same indexes.
    {
        QFile out(csv);
        out.open(QIODevice::WriteOnly);
        QTextStream ts(&out);
        Record r(&decl);
        SongGenerator gen;
        const QStringList keyed = schema::sortKeyFields(decl);
        for (qint64 i = 0; i < count; ++i) {
            fillSong(r, gen.next());
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
        ScriptedPrompter prompter;
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
    QFile::remove(csv);

    // 3. Start-up to the frame, on this catalogue and on a small one.
    if (buildCatalogue(small + QStringLiteral("/cantorix.db"), 1000) < 0)
        return 1;
    startupMs(large, 1); // first start of each directory records it: not measured
    startupMs(small, 1);
    const double largeMs = startupMs(large, 5);
    const double smallMs = startupMs(small, 5);

    const auto [stepped, plain] = readAllSeconds(ours);

    std::printf("add through storage layer: %.1f s (%.0f songs/s)\n", oursSeconds, count / oursSeconds);
    if (importSeconds > 0) {
        std::printf("sqlite3 .import:           %.1f s (%.0f songs/s)\n", importSeconds, count / importSeconds);
        std::printf("ratio storage/import:      %.2fx (goal: within 3x)\n", oursSeconds / importSeconds);
    }
    std::printf("start-up to frame:         %.1f ms with %lld songs, %.1f ms with 1000 songs (ratio %.2f; goal: under 500 ms)\n",
                largeMs, count, smallMs, largeMs / smallMs);
    std::printf("read all in artist order:  %.1f s by next(), %.1f s as one plain query (ratio %.2f)\n", stepped,
                plain, stepped / plain);
    std::printf("bytes on disk per song:    %.0f (catalogue %.1f MB)\n", double(databaseBytes(ours)) / count,
                databaseBytes(ours) / 1e6);
    return 0;
}
