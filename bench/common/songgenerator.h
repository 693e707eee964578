#pragma once
// Deterministic songs with realistic text (artists with accented names, titles
// of a few words, albums, media formats, file numbers, dates, times) for
// benchmarks on large catalogues.
#include <QString>
#include <QStringList>

#include <random>

struct GeneratedSong {
    QString artist, title, album, media, fileNumber, side, style, composer;
    qint64 releaseDate = 0, categoryId = 0, chart = 0, track = 0, time = 0, bpm = 0, id = 0, albumId = 0;
};

class SongGenerator
{
public:
    explicit SongGenerator(quint32 seed = 1997);
    GeneratedSong next(); // songs come album by album, 12 tracks each

private:
    QString pick(const QStringList &list);
    QString phrase(int minWords, int maxWords);

    std::mt19937 m_rng;
    qint64 m_id = 0;
    int m_track = 0;
    GeneratedSong m_album;
};
