#pragma once
// A song list set up as the song browse sets it up: its eight orders, the
// values each row carries (with the category name looked up), and helpers
// that add songs and read the page back as text.
#include "../store/catalogue.h"

#include "lists/listcontroller.h"

namespace songlist
{

enum Order { ByArtist, ByTitle, ByAlbum, ByMedia, ByCategory, ByChart, ByBpm, ByUdk };

// Field values by name, for the fixture's adds.
inline QVariantMap values(std::initializer_list<std::pair<const char *, QVariant>> list)
{
    QVariantMap out;
    for (const auto &[name, value] : list)
        out.insert(QString::fromLatin1(name), value);
    return out;
}

inline int key(const char *name)
{
    return cx::tableDecl(cx::TableId::Songs).keyIndex(QString::fromLatin1(name));
}

inline QList<cx::ListOrder> orders()
{
    using cx::ListOrder;
    using cx::LocatorKind;
    using cx::ThumbKind;
    using cx::ThumbSampler;
    return {
        {key("SongsByArtist"), LocatorKind::Text, ThumbKind::Sampled,
         ThumbSampler::lettersAndDigits()},
        {key("SongsByTitle"), LocatorKind::Text, ThumbKind::Sampled, ThumbSampler::letters()},
        {key("SongsByAlbum"), LocatorKind::Text, ThumbKind::Sampled, ThumbSampler::letters()},
        {key("SongsByMedia"), LocatorKind::Text, ThumbKind::Sampled, ThumbSampler::letters()},
        {key("SongsByCategory"), LocatorKind::Text, ThumbKind::Sampled,
         ThumbSampler::lettersAndDigits()},
        {key("SongsByChartNumber"), LocatorKind::Text, ThumbKind::Sampled, {}},
        {key("KeyBeatsPerMinute"), LocatorKind::Text, ThumbKind::Sampled, {}},
        {key("SongsByUserDefinedKey"), LocatorKind::Text, ThumbKind::Sampled,
         ThumbSampler::letters()},
    };
}

inline QList<cx::ListField> fields(cx::Program &program)
{
    auto f = [](const char *name) { return cx::ListField{QString::fromLatin1(name), {}}; };
    cx::ListField category{QStringLiteral("CAT:Category"), [&program](const cx::Record &song) {
                               cx::Table &cat = program.table(cx::TableId::Categories);
                               cat.clear();
                               cat.buffer().set(QStringLiteral("CAT:CategoryID"),
                                                song.number(QStringLiteral("MUS:CategoryID")));
                               if (cat.get(cat.decl().keyIndex(QStringLiteral("KeyCategoryID"))) !=
                                   cx::StorageCode::NoError)
                                   return QVariant(QString());
                               return QVariant(cat.buffer().text(QStringLiteral("CAT:Category")));
                           }};
    return {f("MUS:Artist"),
            f("MUS:Title"),
            f("MUS:Album"),
            f("MUS:Media"),
            f("MUS:FileNumber"),
            category,
            f("MUS:Time"),
            f("MUS:ReleaseDate"),
            f("MUS:BeatsPerMinute"),
            f("MUS:UserDefinedKeyField"),
            f("MUS:LastPlayed"),
            f("MUS:Style"),
            f("MUS:ID"),
            f("MUS:ChartNumber"),
            f("MUS:CategoryID")};
}

struct Songs : TestCatalogue {
    std::unique_ptr<cx::ListController> list;

    explicit Songs(int pageSize = 5)
    {
        list = std::make_unique<cx::ListController>(*program, cx::TableId::Songs, orders(),
                                                    fields(*program));
        list->setPageSize(pageSize);
    }
    qint64 song(const QString &artist, const QString &title = QStringLiteral("t"),
                QVariantMap more = {})
    {
        more.insert(QStringLiteral("MUS:Artist"), artist);
        more.insert(QStringLiteral("MUS:Title"), title);
        return add(cx::TableId::Songs, more);
    }
    // One song per letter, artists "A", "B", ...
    void letters(int count)
    {
        program->database().begin(); // one commit: the catalogue syncs every commit to disk
        for (int i = 0; i < count; ++i)
            song(QString(QChar(u'A' + i)));
        program->database().commit();
    }
    // The page as one text: a field of each row, joined by `separator`.
    QString page(const char *field = "MUS:Artist", const QString &separator = {}) const
    {
        QStringList out;
        for (int r = 0; r < list->rows().size(); ++r)
            out << list->value(r, QString::fromLatin1(field)).toString();
        return out.join(separator);
    }
    QString highlighted(const char *field = "MUS:Artist") const
    {
        return list->value(list->highlightedRow(), QString::fromLatin1(field)).toString();
    }
    cx::Record record(const QVariantMap &values)
    {
        cx::Record r(&table(cx::TableId::Songs).decl());
        for (auto it = values.begin(); it != values.end(); ++it)
            r.set(it.key(), it.value());
        return r;
    }
    void setMediaRange(const QString &media)
    {
        const cx::Record r = record({{QStringLiteral("MUS:Media"), media}});
        list->setRange(1, r, r);
    }
};

} // namespace songlist
