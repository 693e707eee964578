#include "songs/songform.h"

#include "platform/storage/sortkey.h"
#include "store/program.h"
#include "store/recordform.h"
#include "store/standardmessage.h"
#include "store/values.h"

#include <atomic>

namespace cx {

namespace {
QString name(const char *n) { return QString::fromLatin1(n); }

const QString &mediaField() { static const QString s = name("MUS:Media"); return s; }
const QString &categoryField() { static const QString s = name("MUS:CategoryID"); return s; }
const QString &albumIdField() { static const QString s = name("MUS:AlbumID"); return s; }

QString defaultMedia() { return QStringLiteral("CD"); }

// The text of the storage error as the category message shows it.
QString errorText(const StorageError &error)
{
    return (error.isSystem() ? error.systemText : error.text).trimmed();
}

// Owner numbers for the wizard scratch rows: each form gets its own, so the
// rows of wizards started from two forms never mix.
int nextThreadInstance()
{
    static std::atomic<int> last{0};
    return ++last;
}

// Attempts at a new number when another copy takes the one read a moment ago.
constexpr int kNumberAttempts = 3;
} // namespace

SongForm::SongForm(Program &program, Variant variant) : m_program(program), m_variant(variant) {}

SongForm::~SongForm() = default;

Record &SongForm::song() { return m_program.table(TableId::Songs).buffer(); }

SongForm::AddKind SongForm::addKindOf(const QString &addMode)
{
    const char16_t first = addMode.isEmpty() ? u' ' : addMode.at(0).toUpper().unicode();
    switch (first) {
    case u'A':
        return AddKind::Ask;
    case u'C':
        return AddKind::Compilation;
    case u'S':
        return AddKind::SingleArtist;
    default:
        return AddKind::Normal;
    }
}

bool SongForm::start()
{
    m_threadInstance = nextThreadInstance();
    Record &rec = song();
    if (rec.text(mediaField()).isEmpty())
        rec.set(mediaField(), defaultMedia());
    const Record called = rec; // the song as the caller handed it over: a copy keeps its fields
    const int request = m_program.request;
    if (m_variant == Variant::ForAlbum && m_formResult)
        *m_formResult = QStringLiteral("Cancel");

    if (request == Program::InsertRecord && m_variant == Variant::Song) {
        const AddKind kind = addKindOf(m_program.settings.addMode);
        // Asking makes sense only for a song the caller has not begun to fill in.
        const bool blank = rec.text(name("MUS:Title")).isEmpty() && rec.text(name("MUS:Artist")).isEmpty()
                           && rec.text(name("MUS:FileNumber")).isEmpty() && rec.text(name("MUS:Album")).isEmpty();
        if (kind != AddKind::Normal && (kind != AddKind::Ask || blank) && m_addWizard && m_addWizard(kind)) {
            m_program.request = Program::NoRequest;
            m_program.response = Program::Completed;
            return false;
        }
    }

    if (request == Program::CopyRecord) {
        m_copy = true;
        m_program.request = Program::InsertRecord;
    }
    // A song entered for an album continues that album's tracks.
    if (m_program.request == Program::InsertRecord && m_variant == Variant::ForAlbum)
        rec.set(albumIdField(), m_program.table(TableId::Album).buffer().number(name("ALB:AlbumID")));

    m_form = std::make_unique<RecordForm>(m_program, TableId::Songs, false);
    if (!m_form->start({TableId::Album, TableId::Categories, TableId::Media}))
        return false;

    if (m_copy) {
        // The copy keeps every field of the song it was made from but its number.
        const int id = rec.decl()->fieldIndex(name("MUS:ID"));
        const qint64 number = rec.number(id);
        rec = called;
        rec.setNumber(id, number);
        if (rec.text(mediaField()).isEmpty())
            rec.set(mediaField(), defaultMedia());
    }

    if (!fillMedia() || !fillCategories()) {
        m_form->cancel();
        return false;
    }
    if (rec.text(mediaField()).isEmpty())
        rec.set(mediaField(), m_media.value(0));
    m_categoryText = categoryNameOf(rec.number(categoryField()));
    return true;
}

int SongForm::request() const { return m_form ? m_form->request() : Program::NoRequest; }

QString SongForm::title() const
{
    switch (request()) {
    case Program::InsertRecord:
        return QStringLiteral("Adding Information");
    case Program::ChangeRecord:
        return QStringLiteral("Changing Information");
    default:
        return QStringLiteral("Update the Cantorix Database");
    }
}

QString SongForm::positionSection() const
{
    return m_variant == Variant::ForAlbum ? QStringLiteral("UpdateSongsForAlbum") : QStringLiteral("UpdateSong");
}

QString SongForm::udkPrompt() const
{
    const QString prompt = Record::clip(m_program.settings.udkPrompt, m_program.settings.udkPrompt.size());
    return prompt.isEmpty() ? QStringLiteral("User Defined Key Field:") : prompt + u':';
}

bool SongForm::readAll(TableId table, const QString &key, const std::function<void(const Record &)> &take)
{
    Table &t = m_program.table(table);
    t.setOrder(t.decl().keyIndex(key));
    for (;;) {
        const StorageCode code = t.next();
        if (code == StorageCode::RecordNotAvailable)
            return true;
        if (code != StorageCode::NoError) {
            standardMessage(m_program, MessageId::RecordRetrievalError, t.label());
            return false;
        }
        take(t.buffer());
    }
}

bool SongForm::fillMedia()
{
    m_media.clear();
    return readAll(TableId::Media, name("KeyMedia"), [this](const Record &r) { m_media << r.text(name("MED:Media")); });
}

bool SongForm::fillCategories()
{
    m_categories.clear();
    return readAll(TableId::Categories, name("KeyCategory"), [this](const Record &r) {
        m_categories << Category{r.number(name("CAT:CategoryID")), r.text(name("CAT:Category"))};
    });
}

QStringList SongForm::categoryNames() const
{
    QStringList out;
    for (const Category &c : m_categories)
        out << c.name;
    return out;
}

QString SongForm::categoryNameOf(qint64 id) const
{
    if (id == 0)
        return {};
    for (const Category &c : m_categories)
        if (c.id == id)
            return c.name;
    return {};
}

// Names are matched as the category key matches them: "jazz" finds "Jazz", so
// the question to add it comes only for a name the key would take.
int SongForm::findCategory(const QString &wanted) const
{
    const QByteArray key = collationKey(wanted);
    for (int i = 0; i < m_categories.size(); ++i)
        if (collationKey(m_categories.at(i).name) == key)
            return i;
    return -1;
}

bool SongForm::check(Check field)
{
    bool passed = true;
    Record &rec = song();
    switch (field) {
    case Check::Media:
        passed = checkMedia();
        break;
    case Check::Time: {
        const int time = rec.decl()->fieldIndex(name("MUS:Time"));
        rec.setNumber(time, durationEntry(rec.number(time)));
        break;
    }
    case Check::Category:
        passed = checkCategory();
        break;
    case Check::Track:
        if (rec.number(name("MUS:TrackNumber")) > 99) {
            standardMessage(m_program, MessageId::RangeError, name("Track"), name("0 and 99"));
            passed = false;
        }
        break;
    case Check::Chart:
        if (rec.number(name("MUS:ChartNumber")) > 100) {
            standardMessage(m_program, MessageId::RangeError, name("Chart"), name("0 and 100"));
            passed = false;
        }
        break;
    }
    if (!passed)
        m_failed = field;
    return passed;
}

bool SongForm::checkMedia()
{
    Record &rec = song();
    const QString wanted = rec.text(mediaField());
    const QByteArray key = collationKey(wanted);
    bool listed = false;
    for (const QString &m : std::as_const(m_media))
        listed = listed || (!wanted.isEmpty() && collationKey(m) == key);
    if (listed) {
        Table &media = m_program.table(TableId::Media);
        media.clear();
        media.buffer().set(name("MED:Media"), wanted);
        if (media.get(media.decl().keyIndex(name("KeyMedia"))) == StorageCode::NoError) {
            // Stored as the list spells it, so the song reads the same in every list.
            rec.set(mediaField(), media.buffer().text(name("MED:Media")));
            return true;
        }
    }
    standardMessage(m_program, MessageId::NotInFile, name("Media"), name("Media"));
    return false;
}

bool SongForm::checkCategory()
{
    Record &rec = song();
    // As the category table will hold it: cut to its width, trailing spaces gone.
    const TableDecl &categories = m_program.table(TableId::Categories).decl();
    const int width = categories.fields.at(categories.fieldIndex(name("CAT:Category"))).size;
    const QString wanted = Record::clip(m_categoryText, width);
    if (wanted.isEmpty()) {
        rec.set(categoryField(), 0);
        m_categoryText.clear();
        return true;
    }
    int found = findCategory(wanted);
    if (found < 0) {
        const Message question{name("Category not found"), name("Add new category?"), Icon::Question, Yes | No, Yes};
        if (m_program.prompter().show(question) != Yes)
            return false;
        addCategory(wanted);
        // Refilled either way: when another copy added the same name a moment
        // ago (our add then failed), the list now has it and the name is taken.
        if (!fillCategories())
            return false;
        found = findCategory(wanted);
        if (found < 0)
            return false;
    }
    rec.set(categoryField(), m_categories.at(found).id);
    m_categoryText = m_categories.at(found).name;
    return true;
}

bool SongForm::addCategory(const QString &category)
{
    Table &t = m_program.table(TableId::Categories);
    const TableDecl &d = t.decl();
    const int idKey = d.keyIndex(name("KeyCategoryID"));
    StorageError error;
    for (int attempt = 0; attempt < kNumberAttempts; ++attempt) {
        t.setOrder(idKey);
        qint64 highest = 0;
        StorageCode code = t.previous();
        if (code == StorageCode::NoError)
            highest = t.buffer().number(name("CAT:CategoryID"));
        else if (code != StorageCode::RecordNotAvailable) {
            error = t.error();
            break;
        }
        t.clear();
        t.buffer().set(name("CAT:CategoryID"), highest + 1);
        t.buffer().set(name("CAT:Category"), category);
        code = t.add();
        if (code == StorageCode::NoError)
            return true;
        error = t.error();
        // Another copy took the number a moment ago: the next one is free. A
        // name that is taken stays taken, however often it is tried.
        if (code != StorageCode::DuplicateKey || t.isDuplicate(d.keyIndex(name("KeyCategory"))))
            break;
    }
    m_program.prompter().show({name("Error!"), name("Unable to add category - ") + errorText(error),
                               Icon::Exclamation, Ok, Ok});
    return false;
}

bool SongForm::defaultWithAlbumInformation()
{
    if (!canDefaultWithAlbum() || !m_albumPicker())
        return false;
    const Record &album = m_program.table(TableId::Album).buffer();
    Record &rec = song();
    // The song's own values win where it has them; album, media and album
    // number always come from the album chosen.
    for (const char *field : {"Notes", "FileNumber", "Artist"}) {
        const QString songField = name("MUS:") + name(field);
        if (rec.get(songField).toString().isEmpty())
            rec.set(songField, album.get(name("ALB:") + name(field)));
    }
    for (const char *field : {"ReleaseDate", "CategoryID"}) {
        const QString songField = name("MUS:") + name(field);
        if (rec.number(songField) == 0)
            rec.set(songField, album.number(name("ALB:") + name(field)));
    }
    rec.set(name("MUS:Album"), album.text(name("ALB:Album")));
    rec.set(mediaField(), album.text(name("ALB:Media")));
    rec.set(albumIdField(), album.number(name("ALB:AlbumID")));
    m_categoryText = categoryNameOf(rec.number(categoryField()));
    return true;
}

// The album by its title and artist; 0 when there is none.
qint64 SongForm::findAlbum(const QString &title, const QString &artist, bool &readFailed)
{
    Table &albums = m_program.table(TableId::Album);
    albums.clear();
    albums.buffer().set(name("ALB:Album"), title);
    albums.buffer().set(name("ALB:Artist"), artist);
    const StorageCode code = albums.get(albums.decl().keyIndex(name("KeyAlbum")));
    if (code == StorageCode::NoError)
        return albums.buffer().number(name("ALB:AlbumID"));
    readFailed = code != StorageCode::RecordNotFound;
    return 0;
}

void SongForm::linkAlbum()
{
    Record &rec = song();
    if (!m_program.settings.autoAddEnabled() || rec.number(albumIdField()) != 0)
        return;
    const QString title = rec.text(name("MUS:Album"));
    const QString artist = rec.text(name("MUS:Artist"));
    // An album with neither title nor artist is in no album key: it could never
    // be found again, and every such song would make one more.
    if (title.isEmpty() && artist.isEmpty())
        return;

    Table &albums = m_program.table(TableId::Album);
    bool readFailed = false;
    qint64 albumId = findAlbum(title, artist, readFailed);
    for (int attempt = 0; albumId == 0 && !readFailed && attempt < kNumberAttempts; ++attempt) {
        albums.setOrder(albums.decl().keyIndex(name("KeyAlbumID")));
        qint64 highest = 0;
        const StorageCode read = albums.previous();
        if (read == StorageCode::NoError)
            highest = albums.buffer().number(name("ALB:AlbumID"));
        else if (read != StorageCode::RecordNotAvailable) {
            readFailed = true;
            break;
        }
        albums.clear();
        Record &album = albums.buffer();
        album.set(name("ALB:AlbumID"), highest + 1);
        for (const char *field : {"Artist", "Album", "Media", "FileNumber", "ReleaseDate", "CategoryID", "Notes"})
            album.set(name("ALB:") + name(field), rec.get(name("MUS:") + name(field)));
        const StorageCode added = albums.add();
        if (added == StorageCode::NoError) {
            albumId = highest + 1;
            break;
        }
        // Not added. The song takes a number only from an album that is stored:
        // the one another copy may have added a moment ago, or a new one under
        // the next free number. Anything else leaves the song without an album
        // (0), which a later save or the album check can mend.
        albumId = findAlbum(title, artist, readFailed);
        if (added != StorageCode::DuplicateKey)
            break;
    }
    if (readFailed)
        standardMessage(m_program, MessageId::RecordRetrievalError, albums.label());
    if (albumId != 0)
        rec.set(albumIdField(), albumId);
}

SongForm::OkResult SongForm::ok()
{
    if (!m_form)
        return OkResult::Close; // never started: there is nothing to write
    linkAlbum();
    if (m_variant == Variant::ForAlbum && m_formResult)
        *m_formResult = QStringLiteral("OK");
    for (Check field : {Check::Media, Check::Time, Check::Category, Check::Track, Check::Chart})
        if (!check(field))
            return OkResult::StayOnCheck;

    Table &songs = m_program.table(TableId::Songs);
    // The song's only unique key is its number; named for the user, not by the key.
    if (request() == Program::InsertRecord && songs.isDuplicate(songs.decl().keyIndex(name("KeyID")))) {
        standardMessage(m_program, MessageId::DuplicateKey, name("Unique Song ID"));
        return OkResult::StayOnFirstField;
    }
    switch (m_form->ok()) {
    case RecordForm::OkResult::Close:
        return OkResult::Close;
    case RecordForm::OkResult::StayOnFirstField:
        return OkResult::StayOnFirstField;
    case RecordForm::OkResult::Redisplay:
        m_categoryText = categoryNameOf(song().number(categoryField()));
        return OkResult::Redisplay;
    }
    return OkResult::StayOnFirstField;
}

void SongForm::cancel()
{
    if (m_form)
        m_form->cancel();
}

bool SongForm::ditto(const QString &field)
{
    const int index = song().decl()->fieldIndex(field);
    if (index < 0 || !m_form || !m_form->ditto(index))
        return false;
    if (index == song().decl()->fieldIndex(categoryField()))
        m_categoryText = categoryNameOf(song().number(index));
    return true;
}

} // namespace cx
