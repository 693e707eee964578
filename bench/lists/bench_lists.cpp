// The page-loaded list on generated catalogues, driven headless in the song
// order "by artist" as the song window uses it: opening to the first page, a
// locator jump, 100 page-downs, Ctrl+End, a change of order keeping the
// highlighted song, a media range, and the thumb rebuild. Each figure is the
// median of several runs, in milliseconds, for each catalogue size, with the
// ratio of the largest size to the smallest: a list that never counts or walks
// the table costs about the same on every size. Then the memory an open list
// holds (its heap, and the engine's, after it has been paged through) in KiB:
// it must not grow with the catalogue either.
//
// Usage: bench_lists [songs ...] [--dir directory]   (default 10000 1000000)
// A catalogue already in the directory (songs-<count>.db) is used again.
#include "generatedcatalogue.h"

#include "lists/listcontroller.h"
#include "store/opentable.h"
#include "store/program.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <malloc.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>

using namespace cx;

namespace
{

constexpr int kRuns = 7;
constexpr int kPage = 30;

int key(const char *name)
{
    return tableDecl(TableId::Songs).keyIndex(QString::fromLatin1(name));
}

QList<ListOrder> songOrders()
{
    return {{key("SongsByArtist"), LocatorKind::Text, ThumbKind::Sampled,
             ThumbSampler::lettersAndDigits()},
            {key("SongsByTitle"), LocatorKind::Text, ThumbKind::Sampled, ThumbSampler::letters()},
            {key("SongsByMedia"), LocatorKind::Text, ThumbKind::Sampled, ThumbSampler::letters()}};
}
enum { ByArtist, ByTitle, ByMedia };

QList<ListField> songFields()
{
    QList<ListField> out;
    for (const char *f : {"MUS:Artist", "MUS:Title", "MUS:Album", "MUS:Media", "MUS:FileNumber",
                          "MUS:Time", "MUS:ReleaseDate", "MUS:BeatsPerMinute",
                          "MUS:UserDefinedKeyField", "MUS:LastPlayed", "MUS:Style", "MUS:ID",
                          "MUS:Side", "MUS:TrackNumber", "MUS:CategoryID", "MUS:ChartNumber"})
        out << ListField{QString::fromLatin1(f), {}};
    return out;
}

// The median of kRuns runs of `measured`, each after `prepare` (not timed).
double median(const std::function<void()> &measured, const std::function<void()> &prepare = {})
{
    QList<double> ms;
    for (int i = 0; i < kRuns; ++i) {
        if (prepare)
            prepare();
        QElapsedTimer t;
        t.start();
        measured();
        ms << t.nsecsElapsed() / 1e6;
    }
    std::sort(ms.begin(), ms.end());
    return ms.at(ms.size() / 2);
}

using Figures = std::map<QString, double>;
QStringList names; // in the order measured
// KiB the open list holds, by catalogue: its own, and the engine's (page
// cache and statements, bounded by the cache size).
std::map<QString, std::pair<double, double>> held;

double heapKiB()
{
    return mallinfo2().uordblks / 1024.0;
}

double engineKiB()
{
    return sqlite3_memory_used() / 1024.0;
}

void note(Figures &f, const char *name, double ms)
{
    const QString n = QString::fromLatin1(name);
    if (!names.contains(n))
        names << n;
    f[n] = ms;
}

bool measure(const QString &path, Figures &out)
{
    ScriptedPrompter prompter;
    Program program(path, prompter);
    if (!openTable(program, TableId::Songs))
        return false;
    if (const QByteArray cache = qgetenv("CANTORIX_BENCH_CACHE_KIB"); !cache.isEmpty())
        program.database().exec(QStringLiteral("PRAGMA cache_size=-") + QString::fromLatin1(cache));
    Table &songs = program.table(TableId::Songs);
    bool ok = true;
    auto check = [&](bool good, const char *what) {
        if (!good) {
            std::printf("  %s failed\n", what);
            ok = false;
        }
    };

    // opening: a new list, its first page and its thumb
    note(out, "open to the first page", median([&] {
             ListController list(program, TableId::Songs, songOrders(), songFields());
             list.setPageSize(kPage);
             check(list.reloadTop() && list.rows().size() == kPage, "open");
         }));

    const double heapBefore = heapKiB(), engineBefore = engineKiB();
    ListController list(program, TableId::Songs, songOrders(), songFields());
    list.setPageSize(kPage);
    check(list.reloadTop(), "reload");

    note(out, "locator jump (\"M\")",
         median([&] { list.typeCharacter(QLatin1Char('M')); }, [&] { list.top(); }));
    check(list.highlighted() && list.value(list.highlightedRow(), QStringLiteral("MUS:Artist"))
                                    .toString()
                                    .startsWith(u'M'),
          "locator");

    note(out, "100 page-downs",
         median(
             [&] {
                 for (int i = 0; i < 100; ++i)
                     list.pageDown();
             },
             [&] { list.top(); }));
    note(out, "  each of them", out[QStringLiteral("100 page-downs")] / 100);

    note(out, "Ctrl+End", median([&] { list.bottom(); }, [&] { list.top(); }));

    qint64 kept = 0;
    note(out, "order change keeping the song",
         median(
             [&] {
                 list.setOrder(ByTitle);
                 list.reloadAt(kept);
             },
             [&] {
                 list.setOrder(ByArtist);
                 list.reloadTop();
                 list.typeCharacter(QLatin1Char('M'));
                 kept = list.highlighted()->place.position;
             }));
    check(list.highlighted() && list.highlighted()->place.position == kept, "order change");

    Record cd(&songs.decl());
    cd.set(QStringLiteral("MUS:Media"), QStringLiteral("CD"));
    note(out, "media range, first page", median([&] {
             list.setOrder(ByMedia);
             list.setRange(1, cd, cd);
             list.reloadTop();
         }));
    note(out, "media range, 100 page-downs",
         median(
             [&] {
                 for (int i = 0; i < 100; ++i)
                     list.pageDown();
             },
             [&] { list.top(); }));
    note(out, "  each of them ", out[QStringLiteral("media range, 100 page-downs")] / 100);
    note(out, "media range, Ctrl+End", median([&] { list.bottom(); }, [&] { list.top(); }));
    check(list.value(list.highlightedRow(), QStringLiteral("MUS:Media")).toString() == u"CD",
          "media range");

    // The thumb alone: the first and last rows of the view and the 100 samples.
    PageReader reader(songs);
    reader.setKey(key("SongsByArtist"));
    const int artist = songs.decl().fieldIndex(QStringLiteral("Artist"));
    note(out, "thumb rebuild", median([&] {
             ListPlace place;
             reader.step(nullptr, true, place);
             const QString first = songs.buffer().text(artist);
             reader.step(nullptr, false, place);
             ThumbSampler thumb;
             thumb.sampleTexts(first, songs.buffer().text(artist),
                               ThumbSampler::lettersAndDigits());
         }));
    list.setOrder(ByArtist);
    list.reloadTop();
    note(out, "thumb drag to 50", median([&] { list.moveThumb(50); }, [&] { list.top(); }));
    check(prompter.shown.isEmpty(), "no message");
    // After every move above, the list and the statements and pages it keeps.
    const double engine = engineKiB() - engineBefore;
    held[path] = {heapKiB() - heapBefore - engine, engine};
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QList<qint64> sizes;
    QString dir;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args.at(i) == u"--dir" && i + 1 < args.size())
            dir = args.at(++i);
        else
            sizes << args.at(i).toLongLong();
    }
    if (sizes.isEmpty())
        sizes = {10000, 1000000};
    QTemporaryDir temp;
    if (dir.isEmpty())
        dir = temp.path();
    QDir().mkpath(dir);

    std::map<qint64, Figures> results;
    for (const qint64 n : sizes) {
        const QString path = QDir(dir).filePath(QStringLiteral("songs-%1.db").arg(n));
        if (!QFileInfo::exists(path)) {
            std::printf("building %lld songs...\n", n);
            std::fflush(stdout);
            const double s = buildCatalogue(path, n);
            if (s < 0)
                return 1;
            std::printf("  %.1f s\n", s);
        }
        if (!measure(path, results[n]))
            return 1;
    }

    std::printf("\n%-34s", "milliseconds (median of 7)");
    for (const qint64 n : sizes)
        std::printf("%14lld", n);
    if (sizes.size() > 1)
        std::printf("%10s", "ratio");
    std::printf("\n");
    for (const QString &name : std::as_const(names)) {
        std::printf("%-34s", qPrintable(name));
        for (const qint64 n : sizes)
            std::printf("%14.3f", results[n][name]);
        if (sizes.size() > 1) {
            const double small = results[sizes.first()][name];
            std::printf("%10.2f", small > 0 ? results[sizes.last()][name] / small : 0.0);
        }
        std::printf("\n");
    }
    const auto printHeld = [&](const char *name, double std::pair<double, double>::*part) {
        std::printf("%-34s", name);
        QList<double> kib;
        for (const qint64 n : sizes)
            kib << held[QDir(dir).filePath(QStringLiteral("songs-%1.db").arg(n))].*part;
        for (double k : kib)
            std::printf("%14.0f", k);
        if (kib.size() > 1)
            std::printf("%10.2f", kib.first() > 0 ? kib.last() / kib.first() : 0.0);
        std::printf("\n");
    };
    std::printf("\nKiB held by the open list, after all of the above\n");
    printHeld("the list itself", &std::pair<double, double>::first);
    printHeld("the engine (cache, statements)", &std::pair<double, double>::second);
    return 0;
}
