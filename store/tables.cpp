#include "store/tables.h"

namespace cx {

namespace {

FieldDecl str(const char *name, int size) { return {QString::fromLatin1(name), FieldType::String, size}; }
FieldDecl lng(const char *name, FieldKind kind = FieldKind::Plain)
{
    return {QString::fromLatin1(name), FieldType::Long, 4, kind};
}
FieldDecl byte(const char *name) { return {QString::fromLatin1(name), FieldType::Byte, 1}; }
FieldDecl dec(const char *name, int bytes) { return {QString::fromLatin1(name), FieldType::Decimal, bytes}; }
MemoDecl memo(const char *name, int size) { return {QString::fromLatin1(name), size}; }

enum Flags { Dup = 0, Unique = 1, Optional = 2, Primary = 4 };
KeyDecl key(const char *name, std::initializer_list<const char *> components, int flags)
{
    KeyDecl k;
    k.name = QString::fromLatin1(name);
    for (const char *c : components)
        k.components << QString::fromLatin1(c);
    k.unique = flags & Unique;
    k.optional = flags & Optional;
    k.primary = flags & Primary;
    return k;
}

TableDecl songs(const char *label, const char *prefix, bool registered)
{
    TableDecl t;
    t.label = QString::fromLatin1(label);
    t.prefix = QString::fromLatin1(prefix);
    t.fileName = QStringLiteral("crxdata");
    t.version = 2;
    t.registered = registered;
    t.fields = {str("Artist", 40),
                str("Title", 40),
                str("Album", 40),
                str("Media", 20),
                str("FileNumber", 20),
                lng("ReleaseDate", FieldKind::Date),
                lng("CategoryID"),
                byte("ChartNumber"),
                byte("TrackNumber"),
                str("Side", 1),
                lng("Time", FieldKind::Time),
                str("UserDefinedKeyField", 30),
                str("AdditionalInformation1", 80),
                str("AdditionalInformation2", 80),
                str("AdditionalInformation3", 80),
                lng("BeatsPerMinute"),
                str("Style", 30),
                str("Composer", 80),
                lng("LastPlayed", FieldKind::Date),
                lng("ID"),
                lng("AlbumID")};
    t.keys = {key("SongsByArtist", {"Artist", "Title"}, Dup),
              key("SongsByTitle", {"Title", "Artist"}, Dup),
              key("SongsByAlbum", {"Album", "Artist", "Side", "TrackNumber", "Title"}, Dup),
              key("SongsByMedia", {"Media", "FileNumber", "Title"}, Dup),
              key("SongsByCategory", {"CategoryID", "Artist", "Title", "Album"}, Optional),
              key("SongsByChartNumber", {"ChartNumber", "Artist", "Title"}, Optional),
              key("SongsByUserDefinedKey", {"UserDefinedKeyField", "Artist", "Title"}, Optional),
              key("KeyID", {"ID"}, Unique | Optional | Primary),
              key("KeyAlbumID", {"AlbumID", "TrackNumber"}, Optional),
              key("KeyBeatsPerMinute", {"BeatsPerMinute", "Title", "Artist"}, Optional),
              key("KeyFileNumber", {"FileNumber"}, Optional)};
    t.memos = {memo("Recording", 256), memo("PerformanceNotes", 256), memo("Notes", 2000)};
    return t;
}

QList<TableDecl> makeDeclarations()
{
    QList<TableDecl> all;
    all << songs("Cantorix", "MUS", true) << songs("A_Songs", "A_S", false);

    TableDecl cat;
    cat.label = QStringLiteral("Categories");
    cat.prefix = QStringLiteral("CAT");
    cat.fileName = QStringLiteral("CRXCAT");
    cat.fields = {dec("CategoryID", 6), str("Category", 30)};
    cat.keys = {key("KeyCategoryID", {"CategoryID"}, Unique | Optional | Primary),
                key("KeyCategory", {"Category"}, Unique | Optional)};
    all << cat;

    TableDecl med;
    med.label = QStringLiteral("Media");
    med.prefix = QStringLiteral("MED");
    med.fileName = QStringLiteral("crxmedia");
    med.fields = {str("Media", 20)};
    med.keys = {key("KeyMedia", {"Media"}, Unique | Optional)};
    all << med;

    TableDecl alb;
    alb.label = QStringLiteral("Album");
    alb.prefix = QStringLiteral("ALB");
    alb.fileName = QStringLiteral("crxalbum");
    alb.version = 2;
    alb.fields = {lng("AlbumID"),
                  str("Artist", 40),
                  str("Album", 40),
                  str("Media", 20),
                  str("FileNumber", 20),
                  lng("ReleaseDate", FieldKind::Date),
                  dec("CategoryID", 6),
                  str("AssociatedWavFile", 128),
                  str("AssociatedImage", 128),
                  str("CDIdentifier", 24),
                  str("XCCD", 32),
                  str("Playlist", 70),
                  lng("TotalTime", FieldKind::Time)};
    alb.keys = {key("KeyAlbumID", {"AlbumID"}, Unique | Optional | Primary),
                key("KeyAlbum", {"Album", "Artist"}, Unique | Optional),
                key("KeyArtist", {"Artist", "Album"}, Unique | Optional),
                key("KeyCDIdentifier", {"CDIdentifier"}, Unique | Optional),
                key("KeyFileNumber", {"FileNumber"}, Optional),
                key("KeyCategory", {"CategoryID", "Album", "Artist"}, Optional),
                key("KeyCategoryArtist", {"CategoryID", "Artist", "Album"}, Optional)};
    alb.memos = {memo("Recording", 256), memo("Performance", 256), memo("Notes", 2000)};
    all << alb;

    TableDecl lab;
    lab.label = QStringLiteral("Labels");
    lab.prefix = QStringLiteral("LAB");
    lab.fileName = QStringLiteral("crxlabel");
    lab.fields = {dec("LabelID", 6),
                  str("LabelDescription", 30),
                  str("LabelType", 9),
                  lng("AlbumID"),
                  str("CDSpine", 100),
                  lng("CDSpineFontID"),
                  str("CDTitle", 100),
                  lng("CDTitleFontID"),
                  lng("CDCoverTextFontID"),
                  lng("CDInsideTextFontID"),
                  str("CDSpineJustification", 6),
                  str("CDTextJustification", 6),
                  str("CDBackCoverJustification", 6),
                  lng("CassetteFlapFontID"),
                  lng("CassetteTitleFontID"),
                  lng("CassetteContentsFontID"),
                  str("ImageName", 255),
                  lng("ImagePositionX"),
                  lng("ImagePositionY"),
                  str("ImageSize", 20),
                  lng("ImageSizeX"),
                  str("ImageSizeY", 20)};
    lab.keys = {key("KeyLabelID", {"LabelID"}, Unique | Optional | Primary),
                key("KeyLabelDescription", {"LabelDescription"}, Unique | Optional),
                key("KeyLabelType", {"LabelType", "LabelDescription"}, Optional)};
    lab.memos = {memo("CDCoverText", 2000),      memo("CDInsideText", 2000),
                 memo("CassetteFlap", 512),      memo("CassetteTitle", 512),
                 memo("CassetteContentsA", 1500), memo("CassetteContentsB", 1500)};
    all << lab;

    TableDecl fon;
    fon.label = QStringLiteral("Fonts");
    fon.prefix = QStringLiteral("FON");
    fon.fileName = QStringLiteral("crxfont");
    fon.fields = {dec("FontID", 6), str("TypeFace", 32), str("Size", 32), str("Colour", 32), str("Style", 32)};
    fon.keys = {key("KeyFontID", {"FontID"}, Unique | Optional | Primary),
                key("KeyTypeFace", {"TypeFace", "Size", "Colour", "Style"}, Unique | Optional)};
    all << fon;

    TableDecl aw;
    aw.label = QStringLiteral("AddWizard");
    aw.prefix = QStringLiteral("AW");
    aw.fileName = QStringLiteral("CRXAdWiz");
    aw.fields = {dec("Instance", 6), str("Side", 1), dec("Track", 2), str("Artist", 30), str("Title", 30),
                 lng("Time", FieldKind::Time)};
    aw.keys = {key("KeyInstance", {"Instance", "Side", "Track"}, Unique | Optional | Primary)};
    all << aw;

    TableDecl pld;
    pld.label = QStringLiteral("PlaylistMaster");
    pld.prefix = QStringLiteral("PLD");
    pld.fileName = QStringLiteral("crxplist");
    pld.fields = {lng("PlaylistID"), str("PlaylistDescription", 30), lng("LastEditDate", FieldKind::Date)};
    pld.keys = {key("KeyPlaylistID", {"PlaylistID"}, Unique | Optional | Primary),
                key("KeyPlaylistDescription", {"PlaylistDescription"}, Unique | Optional)};
    pld.memos = {memo("Notes", 1000)};
    all << pld;

    TableDecl pla;
    pla.label = QStringLiteral("PlaylistDetails");
    pla.prefix = QStringLiteral("PLA");
    pla.fileName = QStringLiteral("crxpldet");
    pla.fields = {lng("PlaylistID"), dec("PlaylistSeq", 6), dec("ID", 6), str("PlaylistNotes", 40)};
    pla.keys = {key("KeyPlaylistID", {"PlaylistID", "PlaylistSeq"}, Unique | Optional | Primary),
                key("KeyID", {"ID"}, Dup)};
    all << pla;

    TableDecl old;
    old.label = QStringLiteral("OldCantorix");
    old.prefix = QStringLiteral("M1");
    old.fileName = QStringLiteral("crxro");
    old.fields = {str("Artist", 30), str("Title", 30), str("Album", 30), str("Media", 20), str("FileNumber", 10),
                  lng("ReleaseDate", FieldKind::Date)};
    old.keys = {key("SongsByArtist", {"Artist", "Title"}, Dup), key("SongsByTitle", {"Title", "Artist"}, Dup),
                key("SongsByAlbum", {"Album", "Artist", "Title"}, Dup),
                key("SongsByMedia", {"Media", "FileNumber", "Title"}, Dup)};
    old.memos = {memo("Notes", 2000)};
    all << old;
    return all;
}

} // namespace

const TableDecl &tableDecl(TableId id)
{
    static const QList<TableDecl> declarations = makeDeclarations();
    return declarations.at(static_cast<int>(id));
}

QList<TableId> allTables()
{
    QList<TableId> out;
    for (int i = 0; i < kTableCount; ++i)
        out << static_cast<TableId>(i);
    return out;
}

} // namespace cx
