#include "songgenerator.h"

namespace {
QStringList words(const char *text) { return QString::fromUtf8(text).split(QLatin1Char(' ')); }

const QStringList firstNames = words("Anna Björn Chloé Dmitri Élodie Finn Greta Håkon Inés João Kai Léa Mats Nina "
                                     "Øystein Paulo Queenie Rosa Søren Tomás Ulla Viktor Wen Ximena Yusuf Zoë");
const QStringList lastNames = words("Andersson Brontë Castaño Dvořák Eriksen Fältskog García Hämäläinen Ibáñez "
                                    "Jovanović Kowalski Lindqvist Müller Nyström Olsen Petrović Quintero Rossi "
                                    "Sørensen Thompson Ulvaeus Vásquez Weiß Xu Young Zieliński");
const QStringList bandWords = words("The Blue Midnight Electric Velvet Silver Crimson Northern Golden Paper Neon "
                                    "Wild Quiet Broken Hollow Radio Echo Stone Glass River Ocean Cathedral Hearts "
                                    "Machines Wolves Lanterns Sisters Brothers Orchestra");
const QStringList titleWords = words("love night dance heart rain summer fire dream light road home sky time "
                                     "forever tonight city star river moon song morning shadow gold angel storm "
                                     "waltz blues rhapsody serenade lullaby café déjà vu über straße");
const QStringList mediaNames =
    QString::fromUtf8("CD|CD|CD|LP|EP|7\" Single|CD Single|Cassette (Dolby B)|Other").split(QLatin1Char('|'));
const QStringList styles = words("Pop Rock Jazz Classical Folk Soul Blues Country Reggae Electronic");
} // namespace

SongGenerator::SongGenerator(quint32 seed) : m_rng(seed) {}

QString SongGenerator::pick(const QStringList &list)
{
    return list.at(static_cast<int>(m_rng() % static_cast<quint32>(list.size())));
}

QString SongGenerator::phrase(int minWords, int maxWords)
{
    const int n = minWords + static_cast<int>(m_rng() % static_cast<quint32>(maxWords - minWords + 1));
    QStringList out;
    for (int i = 0; i < n; ++i) {
        QString w = pick(titleWords);
        w[0] = w.at(0).toUpper();
        out << w;
    }
    return out.join(QLatin1Char(' '));
}

GeneratedSong SongGenerator::next()
{
    if (m_track == 0) {
        m_album = GeneratedSong();
        // One pick per statement keeps the sequence the same on every compiler.
        const bool band = m_rng() % 3 == 0;
        const QString first = band ? pick(bandWords) : pick(firstNames);
        const QString second = band ? pick(bandWords) : pick(lastNames);
        m_album.artist = (band ? QStringLiteral("The ") : QString()) + first + QLatin1Char(' ') + second;
        m_album.album = phrase(1, 4);
        m_album.media = pick(mediaNames);
        m_album.fileNumber = QStringLiteral("F%1").arg(m_rng() % 20000, 5, 10, QLatin1Char('0'));
        m_album.releaseDate = 55000 + m_rng() % 30000;
        m_album.categoryId = m_rng() % 12;
        m_album.albumId = (m_id / 12) + 1;
        m_album.style = pick(styles);
    }
    GeneratedSong s = m_album;
    s.title = phrase(1, 5);
    s.track = ++m_track;
    s.side = QString();
    s.time = 1 + 100 * (120 + m_rng() % 300);
    s.chart = m_rng() % 5 == 0 ? 1 + m_rng() % 40 : 0;
    s.bpm = m_rng() % 2 ? 60 + m_rng() % 120 : 0;
    if (m_rng() % 2) {
        const QString first = pick(firstNames);
        s.composer = first + QLatin1Char(' ') + pick(lastNames);
    }
    s.id = ++m_id;
    if (m_track == 12)
        m_track = 0;
    return s;
}
