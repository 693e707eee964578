#include "common/scratchdirectory.h"
#include "common/screenshots.h"
#include "../store/catalogue.h"

#include "platform/settings/inifile.h"
#include "songs/selectalbum.h"
#include "songs/songform.h"
#include "songs/updatesong.h"
#include "store/picture.h"
#include "store/settingspaths.h"
#include "store/values.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>

using namespace cx;

namespace {
// A field value in a fixture: a number or a text.
struct V {
    QVariant value;
    V(qint64 number) : value(number) {}
    V(int number) : value(qint64(number)) {}
    V(const char *text) : value(QString::fromUtf8(text)) {}
};

QVariantMap rec(std::initializer_list<std::pair<const char *, V>> values)
{
    QVariantMap m;
    for (const auto &[k, v] : values)
        m.insert(QString::fromLatin1(k), v.value);
    return m;
}

QString s(const char *text) { return QString::fromUtf8(text); }

// A catalogue with the media formats and one category the forms look up.
// Albums are not made on save unless a test asks for it.
struct SongCatalogue : TestCatalogue {
    SongCatalogue()
    {
        for (const char *m : {"LP", "CD", "Cassette"})
            add(TableId::Media, rec({{"Media", m}}));
        add(TableId::Categories, rec({{"CategoryID", 4}, {"Category", "Rock"}}));
        program->settings.autoAddToAlbums.clear();
    }
    Record &song() { return table(TableId::Songs).buffer(); }
    // Starts a form for a request on whatever the song buffer holds.
    std::unique_ptr<SongForm> open(int request, SongForm::Variant variant = SongForm::Variant::Song)
    {
        program->request = request;
        auto form = std::make_unique<SongForm>(*program, variant);
        if (!form->start())
            return {};
        return form;
    }
    // A new song with the given fields typed in and OK pressed.
    SongForm::OkResult saveNew(const QVariantMap &fields)
    {
        table(TableId::Songs).clear();
        auto form = open(Program::InsertRecord);
        if (!form)
            return SongForm::OkResult::StayOnFirstField;
        for (auto it = fields.begin(); it != fields.end(); ++it)
            song().set(it.key(), it.value());
        return form->ok();
    }
    bool getSong(qint64 id) { return get(TableId::Songs, "KeyID", rec({{"ID", id}})); }
};
} // namespace

class TestSongForm : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_dir = std::make_unique<ScratchDirectory>(); }
    void cleanup() { m_dir.reset(); }

    void startSteps_data();
    void startSteps();
    void addMode_data();
    void addMode();
    void fieldChecks_data();
    void fieldChecks();
    void timeIsTakenAsMinutesAboveTwoHours_data();
    void timeIsTakenAsMinutesAboveTwoHours();
    void categoryEntry_data();
    void categoryEntry();
    void categoryThatCannotBeAdded();
    void albumLink_data();
    void albumLink();
    void albumLinkWhenTheAlbumCannotBeAdded();
    void defaultWithAlbumInformation();
    void songForAlbum();
    void copyStoresASecondSong();
    void cancelLeavesTheTableAsItWas_data();
    void cancelLeavesTheTableAsItWas();
    void changeByAnotherCopy();
    void duplicateSongNumberIsNamedForTheUser();
    void listThatCannotBeReadEndsTheForm();

    void windowTexts_data();
    void windowTexts();
    void typedValuesAreStored();
    void albumButtonOpensTheAlbumPickList();
    void okWithoutEditsWritesNothing();

private:
    std::unique_ptr<ScratchDirectory> m_dir;
};

void TestSongForm::startSteps_data()
{
    QTest::addColumn<int>("request");
    QTest::addColumn<QString>("title");
    QTest::addColumn<qint64>("id");
    QTest::newRow("insert") << int(Program::InsertRecord) << "Adding Information" << qint64(2);
    QTest::newRow("copy") << int(Program::CopyRecord) << "Adding Information" << qint64(2);
    QTest::newRow("change") << int(Program::ChangeRecord) << "Changing Information" << qint64(1);
}

// Blank media becomes "CD" whatever the request, and the lists are the tables' names in order.
void TestSongForm::startSteps()
{
    QFETCH(int, request);
    SongCatalogue c;
    c.add(TableId::Categories, rec({{"CategoryID", 2}, {"Category", "blues"}}));
    c.add(TableId::Songs, rec({{"ID", 1}, {"Title", "Blue"}, {"CategoryID", 2}}));
    QVERIFY(c.getSong(1));
    if (request == Program::InsertRecord)
        c.table(TableId::Songs).clear();
    auto form = c.open(request);
    QVERIFY(form);
    QTEST(form->title(), "title");
    QTEST(c.song().number(s("MUS:ID")), "id");
    QCOMPARE(c.song().text(s("MUS:Media")), s("CD"));
    QCOMPARE(form->mediaNames(), (QStringList{s("Cassette"), s("CD"), s("LP")}));
    QCOMPARE(form->categoryNames(), (QStringList{s("blues"), s("Rock")}));
    QCOMPARE(form->categoryText(), request == Program::InsertRecord ? QString() : s("blues"));
}

void TestSongForm::addMode_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("request");
    QTest::addColumn<QString>("title");    // the song the caller prepared
    QTest::addColumn<bool>("wizard");      // a wizard is there to take the song over
    QTest::addColumn<int>("wizardAsked");  // AddKind asked for, -1 none
    QTest::addColumn<bool>("opens");
    const int compilation = int(SongForm::AddKind::Compilation), ask = int(SongForm::AddKind::Ask);
    QTest::newRow("compilation, add") << "Compilation" << int(Program::InsertRecord) << "" << true << compilation << false;
    QTest::newRow("compilation, change") << "Compilation" << int(Program::ChangeRecord) << "" << true << -1 << true;
    QTest::newRow("compilation, copy") << "Compilation" << int(Program::CopyRecord) << "" << true << -1 << true;
    QTest::newRow("ask, blank song") << "Ask" << int(Program::InsertRecord) << "" << true << ask << false;
    QTest::newRow("ask, title given") << "Ask" << int(Program::InsertRecord) << "Blue" << true << -1 << true;
    QTest::newRow("normal") << "Normal" << int(Program::InsertRecord) << "" << true << -1 << true;
    QTest::newRow("default 1") << "1" << int(Program::InsertRecord) << "" << true << -1 << true;
    QTest::newRow("no wizards yet") << "Single" << int(Program::InsertRecord) << "" << false << -1 << true;
}

void TestSongForm::addMode()
{
    QFETCH(QString, mode);
    QFETCH(int, request);
    QFETCH(QString, title);
    QFETCH(bool, wizard);
    QFETCH(int, wizardAsked);
    QFETCH(bool, opens);
    SongCatalogue c;
    c.add(TableId::Songs, rec({{"ID", 1}}));
    QVERIFY(c.getSong(1));
    if (request == Program::InsertRecord)
        c.table(TableId::Songs).clear();
    c.song().set(s("MUS:Title"), title);
    c.program->settings.addMode = mode;
    c.program->request = request;
    SongForm form(*c.program);
    int asked = -1;
    if (wizard)
        form.setAddWizard([&asked](SongForm::AddKind kind) {
            asked = int(kind);
            return true;
        });
    QCOMPARE(form.start(), opens);
    QCOMPARE(asked, wizardAsked);
    // A new song handed to a wizard is not added by the form.
    QCOMPARE(c.table(TableId::Songs).count(), opens && request != Program::ChangeRecord ? 2 : 1);
    QCOMPARE(c.program->request, int(Program::NoRequest));
}

void TestSongForm::fieldChecks_data()
{
    QTest::addColumn<int>("check");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("message"); // blank: accepted
    QTest::addColumn<QVariant>("stored");
    const int media = int(SongForm::Check::Media), track = int(SongForm::Check::Track),
              chart = int(SongForm::Check::Chart);
    const QString range = s("Range Error: The value of %1 must be between %2.");
    const QString notInFile = s("Field Contents Error: The value for Media must be found in the Media file.");
    QTest::newRow("track 0") << track << "MUS:TrackNumber" << QVariant(0) << "" << QVariant(0);
    QTest::newRow("track 99") << track << "MUS:TrackNumber" << QVariant(99) << "" << QVariant(99);
    QTest::newRow("track 100") << track << "MUS:TrackNumber" << QVariant(100) << range.arg(s("Track"), s("0 and 99"))
                               << QVariant(100);
    QTest::newRow("chart 100") << chart << "MUS:ChartNumber" << QVariant(100) << "" << QVariant(100);
    QTest::newRow("chart 101") << chart << "MUS:ChartNumber" << QVariant(101) << range.arg(s("Chart"), s("0 and 100"))
                               << QVariant(101);
    QTest::newRow("media listed") << media << "MUS:Media" << QVariant(s("LP")) << "" << QVariant(s("LP"));
    QTest::newRow("media in another case") << media << "MUS:Media" << QVariant(s("cassette")) << ""
                                           << QVariant(s("Cassette"));
    QTest::newRow("media not listed") << media << "MUS:Media" << QVariant(s("Wax Cylinder")) << notInFile
                                      << QVariant(s("Wax Cylinder"));
    QTest::newRow("media blank") << media << "MUS:Media" << QVariant(QString()) << notInFile << QVariant(QString());
}

void TestSongForm::fieldChecks()
{
    QFETCH(int, check);
    QFETCH(QString, field);
    QFETCH(QVariant, value);
    QFETCH(QString, message);
    SongCatalogue c;
    c.table(TableId::Songs).clear();
    auto form = c.open(Program::InsertRecord);
    QVERIFY(form);
    c.song().set(field, value);
    QCOMPARE(form->check(SongForm::Check(check)), message.isEmpty());
    QStringList shown;
    for (const Message &m : c.prompter.shown)
        shown << m.caption + s(": ") + m.text;
    QCOMPARE(shown, message.isEmpty() ? QStringList() : QStringList{message});
    QFETCH(QVariant, stored);
    QCOMPARE(c.song().get(field).toString(), stored.toString());
    // OK runs the same check and keeps the form open on that field.
    if (!message.isEmpty()) {
        QCOMPARE(form->ok(), SongForm::OkResult::StayOnCheck);
        QCOMPARE(int(form->failedCheck()), check);
    }
}

void TestSongForm::timeIsTakenAsMinutesAboveTwoHours_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<qint64>("stored");
    QTest::newRow("3:30 is minutes") << "3:30" << timeValue(0, 3, 30);
    QTest::newRow("1:30:00 stays") << "1:30:00" << timeValue(1, 30, 0);
    QTest::newRow("2:00 stays") << "2:00" << timeValue(2, 0, 0);
}

void TestSongForm::timeIsTakenAsMinutesAboveTwoHours()
{
    QFETCH(QString, typed);
    QFETCH(qint64, stored);
    SongCatalogue c;
    QCOMPARE(c.saveNew(rec({{"Title", "Blue"}, {"Time", deformat(typed, s("@t4")).toLongLong()}})),
             SongForm::OkResult::Close);
    QVERIFY(c.getSong(1));
    const qint64 time = c.song().number(s("MUS:Time"));
    QVERIFY2(qAbs(time - stored) <= 1, qPrintable(format(time, s("@t4"))));
}

void TestSongForm::categoryEntry_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QList<Button>>("answers");
    QTest::addColumn<bool>("passed");
    QTest::addColumn<qint64>("id");
    QTest::addColumn<QString>("shown"); // the name the form shows afterwards
    QTest::addColumn<QStringList>("list");
    const QStringList rock{s("Rock")};
    QTest::newRow("blank") << "" << QList<Button>{} << true << qint64(0) << "" << rock;
    QTest::newRow("known, other case") << "rOCK" << QList<Button>{} << true << qint64(4) << "Rock" << rock;
    QTest::newRow("new, added") << "Jazz Fusion" << QList<Button>{Yes} << true << qint64(5) << "Jazz Fusion"
                                << QStringList{s("Jazz Fusion"), s("Rock")};
    QTest::newRow("new, not added") << "Jazz Fusion" << QList<Button>{No} << false << qint64(4) << "Jazz Fusion"
                                    << rock;
}

// A song in "Rock" (4) whose category is retyped.
void TestSongForm::categoryEntry()
{
    QFETCH(QString, typed);
    QFETCH(QList<Button>, answers);
    QFETCH(bool, passed);
    QFETCH(qint64, id);
    SongCatalogue c;
    c.add(TableId::Songs, rec({{"ID", 1}, {"Title", "Blue"}, {"Media", "CD"}, {"CategoryID", 4}}));
    QVERIFY(c.getSong(1));
    auto form = c.open(Program::ChangeRecord);
    QVERIFY(form);
    QCOMPARE(form->categoryText(), s("Rock"));
    form->setCategoryText(typed);
    c.prompter.answers = answers;
    QCOMPARE(form->check(SongForm::Check::Category), passed);
    QCOMPARE(c.prompter.shown.size(), answers.size());
    if (!answers.isEmpty()) {
        QCOMPARE(c.prompter.shown.first().caption, s("Category not found"));
        QCOMPARE(c.prompter.shown.first().text, s("Add new category?"));
        QCOMPARE(c.prompter.shown.first().icon, Icon::Question);
    }
    QCOMPARE(c.song().number(s("MUS:CategoryID")), id);
    QTEST(form->categoryText(), "shown");
    QTEST(form->categoryNames(), "list");
    if (passed) {
        QCOMPARE(form->ok(), SongForm::OkResult::Close);
        QVERIFY(c.getSong(1));
        QCOMPARE(c.song().number(s("MUS:CategoryID")), id);
    }
    QCOMPARE(c.table(TableId::Categories).count(), form->categoryNames().size());
}

void TestSongForm::categoryThatCannotBeAdded()
{
    SongCatalogue c;
    c.table(TableId::Songs).clear();
    auto form = c.open(Program::InsertRecord);
    QVERIFY(form);
    c.prompter.answers = {Yes, Ok, Yes, Ok};

    // The storage refuses the new category: the message, and the field stays
    // unaccepted (asked once per acceptance, not again and again).
    QCOMPARE(c.program->database().exec(s("CREATE TRIGGER refuse BEFORE INSERT ON CRXCAT "
                                          "BEGIN SELECT RAISE(ABORT, 'disk is full'); END")),
             StorageCode::NoError);
    form->setCategoryText(s("Jazz Fusion"));
    QVERIFY(!form->check(SongForm::Check::Category));
    QCOMPARE(c.prompter.captions(), (QStringList{s("Category not found"), s("Error!")}));
    QCOMPARE(c.prompter.shown.last().text, s("Unable to add category - disk is full"));
    QCOMPARE(c.song().number(s("MUS:CategoryID")), 0);
    QCOMPARE(form->categoryNames(), QStringList{s("Rock")});

    // Another copy adds the same name after the form filled its list: our add
    // fails on the name, and the refilled list then has the other copy's category.
    QCOMPARE(c.program->database().exec(s("DROP TRIGGER refuse")), StorageCode::NoError);
    c.add(TableId::Categories, rec({{"CategoryID", 9}, {"Category", "Jazz Fusion"}}));
    c.prompter.shown.clear();
    QVERIFY(form->check(SongForm::Check::Category));
    QCOMPARE(c.prompter.captions(), (QStringList{s("Category not found"), s("Error!")}));
    QCOMPARE(c.prompter.shown.last().text, s("Unable to add category - Creates Duplicate Key"));
    QCOMPARE(c.song().number(s("MUS:CategoryID")), 9);
    QCOMPARE(c.table(TableId::Categories).count(), 2);
}

using SongRows = QList<QStringList>; // title, artist, album

void TestSongForm::albumLink_data()
{
    QTest::addColumn<QString>("autoAdd");
    QTest::addColumn<bool>("existing"); // album 7 "Kind" by "Miles" is there already
    QTest::addColumn<SongRows>("songs");
    QTest::addColumn<int>("albums");
    QTest::addColumn<QList<qint64>>("albumIds");
    const SongRows kind{{s("Blue"), s("Miles"), s("Kind")}, {s("So What"), s("MILES"), s("kind")}};
    QTest::newRow("made once, the second song joins") << "1" << false << kind << 1 << QList<qint64>{1, 1};
    QTest::newRow("existing album") << "1" << true << kind << 1 << QList<qint64>{7, 7};
    QTest::newRow("setting blank") << "" << false << kind << 0 << QList<qint64>{0, 0};
    QTest::newRow("album title blank")
        << "1" << false << SongRows{{s("Blue"), s("Miles"), {}}, {s("Red"), s("Miles"), {}}} << 1
        << QList<qint64>{1, 1};
    QTest::newRow("neither title nor artist") << "1" << false << SongRows{{s("Blue"), {}, {}}} << 0
                                              << QList<qint64>{0};
}

void TestSongForm::albumLink()
{
    QFETCH(QString, autoAdd);
    QFETCH(bool, existing);
    QFETCH(SongRows, songs);
    QFETCH(int, albums);
    QFETCH(QList<qint64>, albumIds);
    SongCatalogue c;
    c.program->settings.autoAddToAlbums = autoAdd;
    if (existing)
        c.add(TableId::Album, rec({{"AlbumID", 7}, {"Album", "Kind"}, {"Artist", "Miles"}}));
    for (const QStringList &song : std::as_const(songs)) {
        const QVariantMap fields = rec({{"Title", song.at(0).toUtf8().constData()},
                                        {"Artist", song.at(1).toUtf8().constData()},
                                        {"Album", song.at(2).toUtf8().constData()},
                                        {"Media", "lp"},
                                        {"FileNumber", "F-12"},
                                        {"ReleaseDate", 58000},
                                        {"CategoryID", 4},
                                        {"Notes", "Recorded in one take"}});
        QCOMPARE(c.saveNew(fields), SongForm::OkResult::Close);
    }
    QCOMPARE(c.table(TableId::Album).count(), albums);
    QList<qint64> ids;
    for (const QVariant &id : c.column(TableId::Songs, "AlbumID"))
        ids << id.toLongLong();
    QCOMPARE(ids, albumIds);
    // An album made for a song takes the song's values.
    if (albums && !existing) {
        QVERIFY(c.get(TableId::Album, "KeyAlbumID", rec({{"AlbumID", 1}})));
        const Record &album = c.table(TableId::Album).buffer();
        QCOMPARE(album.text(s("ALB:Album")), songs.first().at(2));
        QCOMPARE(album.text(s("ALB:Artist")), songs.first().at(1));
        QCOMPARE(album.text(s("ALB:Media")), s("lp")); // taken before the media check runs
        QCOMPARE(album.text(s("ALB:FileNumber")), s("F-12"));
        QCOMPARE(album.number(s("ALB:ReleaseDate")), 58000);
        QCOMPARE(album.number(s("ALB:CategoryID")), 4);
        QCOMPARE(album.get(s("ALB:Notes")).toString(), s("Recorded in one take"));
    }
}

// A song must never point at an album number that is not stored.
void TestSongForm::albumLinkWhenTheAlbumCannotBeAdded()
{
    SongCatalogue c;
    c.program->settings.autoAddToAlbums = s("1");
    c.add(TableId::Album, rec({{"AlbumID", 3}, {"Album", "Other"}, {"Artist", "Someone"}}));
    QCOMPARE(c.program->database().exec(s("CREATE TRIGGER refuse BEFORE INSERT ON crxalbum "
                                          "BEGIN SELECT RAISE(ABORT, 'disk is full'); END")),
             StorageCode::NoError);
    QCOMPARE(c.saveNew(rec({{"Title", "Blue"}, {"Artist", "Miles"}, {"Album", "Kind"}})), SongForm::OkResult::Close);
    QVERIFY(c.getSong(1));
    QCOMPARE(c.song().number(s("MUS:AlbumID")), 0);
    QCOMPARE(c.column(TableId::Album, "AlbumID"), QVariantList{3});
    QCOMPARE(c.program->response, int(Program::Completed));
}

void TestSongForm::defaultWithAlbumInformation()
{
    SongCatalogue c;
    c.add(TableId::Album, rec({{"AlbumID", 9},
                               {"Album", "Kind of Blue"},
                               {"Artist", "Miles Davis"},
                               {"Media", "LP"},
                               {"FileNumber", "F-9"},
                               {"ReleaseDate", 58000},
                               {"CategoryID", 4},
                               {"Notes", "album notes"}}));
    c.table(TableId::Songs).clear();
    auto form = c.open(Program::InsertRecord);
    QVERIFY(form);
    QVERIFY(!form->canDefaultWithAlbum()); // no pick list given
    bool choose = false;
    form->setAlbumPicker([&] {
        return choose && c.get(TableId::Album, "KeyAlbumID", rec({{"AlbumID", 9}}));
    });
    QVERIFY(form->canDefaultWithAlbum());
    c.song().set(s("MUS:Artist"), s("John Coltrane")); // the song's own value stays
    c.song().set(s("MUS:Album"), s("typed"));
    const Record before = c.song();
    QVERIFY(!form->defaultWithAlbumInformation()); // nothing chosen: nothing changes
    QVERIFY(c.song() == before);

    choose = true;
    QVERIFY(form->defaultWithAlbumInformation());
    const Record &song = c.song();
    QCOMPARE(song.text(s("MUS:Artist")), s("John Coltrane"));
    QCOMPARE(song.text(s("MUS:FileNumber")), s("F-9"));
    QCOMPARE(song.number(s("MUS:ReleaseDate")), 58000);
    QCOMPARE(song.number(s("MUS:CategoryID")), 4);
    QCOMPARE(form->categoryText(), s("Rock"));
    QCOMPARE(song.get(s("MUS:Notes")).toString(), s("album notes"));
    QCOMPARE(song.text(s("MUS:Album")), s("Kind of Blue"));
    QCOMPARE(song.text(s("MUS:Media")), s("LP"));
    QCOMPARE(song.number(s("MUS:AlbumID")), 9);
}

// Songs entered from the album form: numbered on within the album, and the
// album form learns through its result text that OK was pressed.
void TestSongForm::songForAlbum()
{
    SongCatalogue c;
    c.program->settings.addMode = s("Compilation"); // not applied to songs of an album
    c.add(TableId::Album, rec({{"AlbumID", 7}, {"Album", "Kind"}, {"Artist", "Miles"}}));
    c.add(TableId::Songs, rec({{"ID", 1}, {"AlbumID", 7}, {"TrackNumber", 1}}));
    c.add(TableId::Songs, rec({{"ID", 2}, {"AlbumID", 7}, {"TrackNumber", 2}}));
    c.add(TableId::Songs, rec({{"ID", 3}, {"AlbumID", 8}, {"TrackNumber", 5}}));
    QVERIFY(c.get(TableId::Album, "KeyAlbumID", rec({{"AlbumID", 7}})));
    c.table(TableId::Songs).clear();
    c.program->request = Program::InsertRecord;
    SongForm form(*c.program, SongForm::Variant::ForAlbum);
    QString result = s("unset");
    form.setFormResult(&result);
    form.setAddWizard([](SongForm::AddKind) { return true; });
    form.setAlbumPicker([] { return true; });
    QVERIFY(form.start());
    QCOMPARE(result, s("Cancel"));
    QCOMPARE(form.positionSection(), s("UpdateSongsForAlbum"));
    QVERIFY(!form.canDefaultWithAlbum());
    QCOMPARE(c.song().number(s("MUS:AlbumID")), 7);
    QCOMPARE(c.song().number(s("MUS:TrackNumber")), 3);
    c.song().set(s("MUS:Media"), s("Wax Cylinder"));
    QCOMPARE(form.ok(), SongForm::OkResult::StayOnCheck); // OK was pressed, even though a check failed
    QCOMPARE(result, s("OK"));
    c.song().set(s("MUS:Media"), s("LP"));
    QCOMPARE(form.ok(), SongForm::OkResult::Close);
    QCOMPARE(c.table(TableId::Songs).count(), 4);
}

void TestSongForm::copyStoresASecondSong()
{
    SongCatalogue c;
    c.add(TableId::Songs, rec({{"ID", 1},
                               {"Artist", "Miles Davis"},
                               {"Title", "Blue in Green"},
                               {"Album", "Kind of Blue"},
                               {"Media", "LP"},
                               {"FileNumber", "F-9"},
                               {"ReleaseDate", 58000},
                               {"CategoryID", 4},
                               {"ChartNumber", 12},
                               {"TrackNumber", 3},
                               {"Side", "2"},
                               {"Time", timeValue(0, 5, 37)},
                               {"UserDefinedKeyField", "modal"},
                               {"AdditionalInformation1", "first take"},
                               {"BeatsPerMinute", 60},
                               {"Style", "Cool"},
                               {"Composer", "Evans"},
                               {"LastPlayed", 80000},
                               {"AlbumID", 0},
                               {"Recording", "Columbia 30th Street"},
                               {"PerformanceNotes", "brushes"},
                               {"Notes", "liner"}}));
    QVERIFY(c.getSong(1));
    const Record original = c.song();
    auto form = c.open(Program::CopyRecord);
    QVERIFY(form);
    QVERIFY(form->isCopy());
    QCOMPARE(form->request(), int(Program::InsertRecord));
    QCOMPARE(form->categoryText(), s("Rock"));
    QCOMPARE(form->ok(), SongForm::OkResult::Close);
    QCOMPARE(c.table(TableId::Songs).count(), 2);
    QVERIFY(c.getSong(2));
    Record copy = c.song();
    copy.set(s("MUS:ID"), 1);
    QVERIFY(copy == original);
}

void TestSongForm::cancelLeavesTheTableAsItWas_data()
{
    QTest::addColumn<int>("request");
    QTest::newRow("new song") << int(Program::InsertRecord);
    QTest::newRow("copy") << int(Program::CopyRecord);
    QTest::newRow("change") << int(Program::ChangeRecord);
}

void TestSongForm::cancelLeavesTheTableAsItWas()
{
    QFETCH(int, request);
    SongCatalogue c;
    c.program->settings.autoAddToAlbums = s("1");
    c.add(TableId::Songs, rec({{"ID", 1}, {"Title", "Blue"}, {"Media", "LP"}}));
    QVERIFY(c.getSong(1));
    if (request == Program::InsertRecord)
        c.table(TableId::Songs).clear();
    auto form = c.open(request);
    QVERIFY(form);
    c.song().set(s("MUS:Title"), s("typed, then cancelled"));
    form->cancel();
    QCOMPARE(c.program->response, int(Program::Cancelled));
    QCOMPARE(c.column(TableId::Songs, "Title"), QVariantList{s("Blue")});
    QCOMPARE(c.table(TableId::Album).count(), 0);
}

void TestSongForm::changeByAnotherCopy()
{
    SongCatalogue c;
    c.add(TableId::Songs, rec({{"ID", 1}, {"Title", "Blue"}, {"Media", "LP"}}));
    QVERIFY(c.get(TableId::Songs, "KeyID", rec({{"ID", 1}}), true)); // as the browse hands it over
    auto form = c.open(Program::ChangeRecord);
    QVERIFY(form);
    c.song().set(s("MUS:Title"), s("Blue in Green"));
    // another copy of the program changes the same song meanwhile
    QCOMPARE(c.program->database().exec(s("UPDATE crxdata SET Style='Modal', ver=ver+1")), StorageCode::NoError);
    QCOMPARE(form->ok(), SongForm::OkResult::Redisplay);
    QCOMPARE(c.prompter.captions(), QStringList{s("Update Operation Error")});
    QCOMPARE(c.prompter.shown.first().text, s("This record was changed by another station."));
    QCOMPARE(c.song().text(s("MUS:Title")), s("Blue"));   // the other copy's version is shown
    QCOMPARE(c.song().text(s("MUS:Style")), s("Modal"));
    c.song().set(s("MUS:Title"), s("Blue in Green"));
    QCOMPARE(form->ok(), SongForm::OkResult::Close);
    QVERIFY(c.getSong(1));
    QCOMPARE(c.song().text(s("MUS:Title")), s("Blue in Green"));
    QCOMPARE(c.song().text(s("MUS:Style")), s("Modal"));
}

void TestSongForm::duplicateSongNumberIsNamedForTheUser()
{
    SongCatalogue c;
    c.add(TableId::Songs, rec({{"ID", 1}, {"Title", "Blue"}, {"Media", "LP"}}));
    c.table(TableId::Songs).clear();
    auto form = c.open(Program::InsertRecord);
    QVERIFY(form);
    c.song().set(s("MUS:ID"), 1);
    QCOMPARE(form->ok(), SongForm::OkResult::StayOnFirstField);
    QCOMPARE(c.prompter.captions(), QStringList{s("Duplicate Key Error")});
    QCOMPARE(c.prompter.shown.first().text, s("Adding this record creates a duplicate entry for the key:Unique Song ID"));
    QCOMPARE(c.column(TableId::Songs, "Title"), (QVariantList{s("Blue"), QString()}));
}

void TestSongForm::listThatCannotBeReadEndsTheForm()
{
    SongCatalogue c;
    QCOMPARE(c.program->database().exec(s("DROP TABLE crxmedia")), StorageCode::NoError);
    c.table(TableId::Songs).clear();
    c.program->request = Program::InsertRecord;
    SongForm form(*c.program);
    QVERIFY(!form.start());
    QCOMPARE(c.prompter.captions(), QStringList{s("Record Retrieval Error")});
    QVERIFY2(c.prompter.shown.first().text.contains(s("from the Media file")), qPrintable(c.prompter.shown.first().text));
    QCOMPARE(c.program->response, int(Program::Cancelled));
    QCOMPARE(c.table(TableId::Songs).count(), 0); // the song numbered at the start is gone again
}

// ---- the window

namespace {
int runDialog(TestCatalogue &c, int request, const SongFormOptions &options, const std::function<void(UpdateSong *)> &act)
{
    c.program->request = request;
    QTimer::singleShot(0, [&] {
        UpdateSong *window = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            if ((window = qobject_cast<UpdateSong *>(w)) && w->isVisible())
                break;
        QVERIFY(window);
        act(window);
        if (window->isVisible())
            window->reject();
    });
    return runSongForm(*c.program, options, nullptr);
}

template <typename W> W *child(QWidget *w, const char *name)
{
    return w->findChild<W *>(QString::fromLatin1(name));
}
} // namespace

void TestSongForm::windowTexts_data()
{
    QTest::addColumn<int>("request");
    QTest::addColumn<bool>("forAlbum");
    QTest::addColumn<QString>("udkSetting");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("udkPrompt");
    QTest::addColumn<QString>("section");
    QTest::newRow("add") << int(Program::InsertRecord) << false << "User Defined Key" << "Adding Information"
                         << "User Defined Key:" << "UpdateSong";
    QTest::newRow("copy") << int(Program::CopyRecord) << false << "Mood  " << "Adding Information" << "Mood:"
                          << "UpdateSong";
    QTest::newRow("change") << int(Program::ChangeRecord) << false << "" << "Changing Information"
                            << "User Defined Key Field:" << "UpdateSong";
    QTest::newRow("for album") << int(Program::ChangeRecord) << true << "User Defined Key" << "Changing Information"
                               << "User Defined Key:" << "UpdateSongsForAlbum";
}

void TestSongForm::windowTexts()
{
    QFETCH(int, request);
    QFETCH(bool, forAlbum);
    QFETCH(QString, udkSetting);
    QFETCH(QString, title);
    QFETCH(QString, udkPrompt);
    QFETCH(QString, section);
    SongCatalogue c;
    c.program->settings.udkPrompt = udkSetting;
    c.add(TableId::Songs, rec({{"ID", 1}, {"Title", "Blue"}, {"Artist", "Miles"}, {"Media", "LP"}, {"CategoryID", 4},
                               {"Side", "2"}, {"Time", timeValue(0, 5, 37)}, {"ReleaseDate", 58000},
                               {"Notes", "liner notes"}}));
    QVERIFY(c.getSong(1));
    SongFormOptions options;
    options.variant = forAlbum ? SongForm::Variant::ForAlbum : SongForm::Variant::Song;
    runDialog(c, request, options, [&](UpdateSong *w) {
        QCOMPARE(w->windowTitle(), title);
        QTabWidget *tabs = w->tabs();
        QStringList tabNames;
        for (int i = 0; i < tabs->count(); ++i)
            tabNames << tabs->tabText(i);
        QCOMPARE(tabNames, (QStringList{s("&General"), s("DJ/Custom"), s("Recording/Performance"), s("&Notes")}));
        QStringList labels;
        for (QLabel *l : w->findChildren<QLabel *>())
            labels << l->text();
        for (const char *prompt : {"&Artist:", "&Title:", "&Album:", "&Media:", "T&ime:", "&File Number:",
                                   "&Release Date:", "&Category:", "Track &Number:", "Highest Chart Number:",
                                   "Beats Per Minute:", "Style:", "Additional Information 1:",
                                   "Additional Information 2:", "Additional Information 3:", "Recording Information:",
                                   "Composer:", "Performance Notes:"})
            QVERIFY2(labels.contains(s(prompt)), prompt);
        QCOMPARE(child<QLabel>(w, "udkPrompt")->text(), udkPrompt);
        QCOMPARE(child<QLabel>(w, "udkPrompt")->toolTip(),
                 s("See File/Preferences/Customization to label this field to suit your needs"));
        QCOMPARE(child<QPlainTextEdit>(w, "MUS:Recording")->toolTip(),
                 s("Recording Information (Engineer, Producer, Etc)"));
        QCOMPARE(child<QGroupBox>(w, "MUS:Side")->title(), s("Side / Disc"));
        QStringList sides;
        for (QRadioButton *r : child<QGroupBox>(w, "MUS:Side")->findChildren<QRadioButton *>())
            sides << r->text() + (r->isChecked() ? s("*") : QString());
        QCOMPARE(sides, (QStringList{s("1"), s("2*"), s(" None")}));
        QCOMPARE(child<QPushButton>(w, "ok")->text(), s("&OK"));
        QCOMPARE(child<QPushButton>(w, "cancel")->text(), s("Cancel"));
        QPushButton *albumButton = child<QPushButton>(w, "defaultWithAlbum");
        QCOMPARE(albumButton->text(), s("Default with Album Information"));
        QCOMPARE(albumButton->isVisibleTo(w), !forAlbum);
        QCOMPARE(albumButton->isEnabled(), !forAlbum);
        // The song as stored, through the entry pictures.
        QCOMPARE(child<QLineEdit>(w, "MUS:Artist")->text(), s("Miles"));
        QCOMPARE(child<QLineEdit>(w, "MUS:Time")->text(), s("00:05:37"));
        QCOMPARE(child<QLineEdit>(w, "MUS:ReleaseDate")->text(), format(58000, s("@d17")));
        QCOMPARE(child<QComboBox>(w, "MUS:Media")->currentText(), s("LP"));
        QCOMPARE(child<QComboBox>(w, "MUS:CategoryID")->currentText(), s("Rock"));
        QCOMPARE(child<QLineEdit>(w, "MUS:Artist")->maxLength(), 40);

        if (screenshotsWanted()) {
            for (int i = 0; i < tabs->count(); ++i) {
                tabs->setCurrentIndex(i);
                QTest::qWait(20);
                saveScreenshot(w, s("songform-") + QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'-')
                                      + u'-' + QString::number(i + 1));
            }
        }
    });
    const IniFile positions(positionFilePath());
    QVERIFY(positions.lookup(section, s("XPosit")).has_value());
}

// Values typed into the window reach the song through their pictures and checks.
void TestSongForm::typedValuesAreStored()
{
    SongCatalogue c;
    c.table(TableId::Songs).clear();
    c.prompter.answers = {Yes}; // add the new category
    const qint64 day = dayNumber(QDate(1959, 8, 17));
    bool albumOffered = false;
    SongFormOptions options;
    options.albumPicker = [&albumOffered] {
        albumOffered = true;
        return false;
    };
    const int response = runDialog(c, Program::InsertRecord, options, [&](UpdateSong *w) {
        child<QLineEdit>(w, "MUS:Artist")->setText(s("Miles"));
        child<QLineEdit>(w, "MUS:Title")->setText(s("Blue"));
        child<QComboBox>(w, "MUS:Media")->setEditText(s("lp"));
        child<QLineEdit>(w, "MUS:Time")->setText(s("3:30"));
        child<QLineEdit>(w, "MUS:ReleaseDate")->setText(format(day, s("@d17")));
        child<QComboBox>(w, "MUS:CategoryID")->setEditText(s("Jazz Fusion"));
        child<QSpinBox>(w, "MUS:TrackNumber")->setValue(5);
        child<QSpinBox>(w, "MUS:ChartNumber")->setValue(101); // refused first
        child<QSpinBox>(w, "MUS:BeatsPerMinute")->setValue(132);
        child<QGroupBox>(w, "MUS:Side")->findChildren<QRadioButton *>().at(1)->setChecked(true);
        child<QPlainTextEdit>(w, "MUS:Notes")->setPlainText(s("liner notes"));
        QPushButton *albumButton = child<QPushButton>(w, "defaultWithAlbum");
        QVERIFY(albumButton->isEnabled());
        albumButton->click();
        QVERIFY(albumOffered);
        child<QPushButton>(w, "ok")->click();
        QVERIFY(w->isVisible());
        QCOMPARE(w->tabs()->currentIndex(), 1); // on the chart number's tab
        QCOMPARE(c.prompter.shown.last().text, s("The value of Chart must be between 0 and 100."));
        // taken as minutes and seconds, and shown so (to within a hundredth of a second)
        QVERIFY(child<QLineEdit>(w, "MUS:Time")->text().startsWith(s("00:03:")));
        QCOMPARE(child<QComboBox>(w, "MUS:CategoryID")->count(), 2);
        child<QSpinBox>(w, "MUS:ChartNumber")->setValue(100);
        child<QPushButton>(w, "ok")->click();
        QVERIFY(!w->isVisible());
    });
    QCOMPARE(response, int(Program::Completed));
    QVERIFY(c.getSong(1));
    const Record &song = c.song();
    QCOMPARE(song.text(s("MUS:Artist")), s("Miles"));
    QCOMPARE(song.text(s("MUS:Media")), s("LP"));
    QVERIFY(qAbs(song.number(s("MUS:Time")) - timeValue(0, 3, 30)) <= 1);
    QCOMPARE(song.number(s("MUS:ReleaseDate")), day);
    QCOMPARE(song.number(s("MUS:CategoryID")), 5);
    QCOMPARE(song.number(s("MUS:TrackNumber")), 5);
    QCOMPARE(song.number(s("MUS:ChartNumber")), 100);
    QCOMPARE(song.number(s("MUS:BeatsPerMinute")), 132);
    QCOMPARE(song.text(s("MUS:Side")), s("2"));
    QCOMPARE(song.get(s("MUS:Notes")).toString(), s("liner notes"));
}

// Without a picker of its own the song form offers the album pick list in
// select mode; the album chosen there fills the song, a closed list changes nothing.
void TestSongForm::albumButtonOpensTheAlbumPickList()
{
    SongCatalogue c;
    c.add(TableId::Album, rec({{"AlbumID", 3}, {"Album", "Kind of Blue"}, {"Artist", "Miles Davis"}, {"Media", "LP"}}));
    c.table(TableId::Songs).clear();
    const auto answerPickList = [](bool choose) {
        QTimer::singleShot(0, [choose] {
            auto *pick = qobject_cast<SelectAlbum *>(QApplication::activeModalWidget());
            QVERIFY(pick);
            QVERIFY(pick->button(s("select"))->isVisible());
            if (choose)
                pick->choose();
            else
                pick->dismiss();
        });
    };
    runDialog(c, Program::InsertRecord, {}, [&](UpdateSong *w) {
        QPushButton *albumButton = child<QPushButton>(w, "defaultWithAlbum");
        QVERIFY(albumButton->isEnabled());
        answerPickList(false);
        albumButton->click();
        QCOMPARE(child<QLineEdit>(w, "MUS:Album")->text(), QString());
        answerPickList(true);
        albumButton->click();
        QCOMPARE(child<QLineEdit>(w, "MUS:Album")->text(), s("Kind of Blue"));
        QCOMPARE(child<QComboBox>(w, "MUS:Media")->currentText(), s("LP"));
        QCOMPARE(c.song().number(s("MUS:AlbumID")), 3);
    });
}

// Values the pictures and controls cannot show exactly are not changed by
// opening a song and pressing OK: no write, so no conflict with another copy.
void TestSongForm::okWithoutEditsWritesNothing()
{
    SongCatalogue c;
    c.add(TableId::Songs, rec({{"ID", 1},
                               {"Title", "Blue"},
                               {"Media", "LP"},
                               {"CategoryID", 4},
                               {"Time", timeValue(0, 3, 30, 55)},
                               {"ReleaseDate", 12},
                               {"BeatsPerMinute", 123456},
                               {"Side", "B"}}));
    const auto version = [&c] {
        Statement read = c.program->database().statement(s("SELECT ver FROM crxdata WHERE ID=1"));
        const qint64 ver = read.step() == 100 /* a row */ ? read.integer(0) : -1;
        read.reset();
        return ver;
    };
    const qint64 versionBefore = version();
    QVERIFY(c.get(TableId::Songs, "KeyID", rec({{"ID", 1}}), true));
    const Record stored = c.song();
    const int response = runDialog(c, Program::ChangeRecord, {}, [](UpdateSong *w) {
        child<QPushButton>(w, "ok")->click();
        QVERIFY(!w->isVisible());
    });
    QCOMPARE(response, int(Program::Completed));
    QVERIFY(c.prompter.shown.isEmpty());
    QCOMPARE(version(), versionBefore);
    QVERIFY(c.getSong(1));
    QVERIFY(c.song() == stored);
}

QTEST_MAIN(TestSongForm)
#include "tst_songform.moc"
