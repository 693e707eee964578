#include "songs/browsesongscontroller.h"

#include "store/opentable.h"
#include "store/program.h"

namespace cx
{

namespace
{
QString s(const char *text)
{
    return QString::fromLatin1(text);
}

int songKey(const char *name)
{
    return tableDecl(TableId::Songs).keyIndex(s(name));
}

const char *const kCaptions[BrowseSongsController::TabCount] = {
    "By Artist",   "By Title",   "By Album", "By Media",
    "By Category", "By Chart #", "By BPM",   "By UDK",
};
} // namespace

BrowseSongsController::BrowseSongsController(Program &program, QObject *parent)
    : QObject(parent), m_program(program)
{
    m_list = std::make_unique<ListController>(program, TableId::Songs, listOrders(),
                                              listFields(program));
    connect(m_list.get(), &ListController::pageChanged, this, &BrowseSongsController::pageChanged);
    connect(m_list.get(), &ListController::closeRequested, this,
            &BrowseSongsController::closeRequested);
}

BrowseSongsController::~BrowseSongsController()
{
    // The list's statements go before the tables close.
    m_list.reset();
    m_tables.reset();
}

QList<ListOrder> BrowseSongsController::listOrders()
{
    const QString letters = ThumbSampler::letters();
    const QString lettersAndDigits = ThumbSampler::lettersAndDigits();
    return {
        {songKey("SongsByArtist"), LocatorKind::Text, ThumbKind::Sampled, lettersAndDigits},
        {songKey("SongsByTitle"), LocatorKind::Text, ThumbKind::Sampled, letters},
        {songKey("SongsByAlbum"), LocatorKind::Text, ThumbKind::Sampled, letters},
        {songKey("SongsByMedia"), LocatorKind::Text, ThumbKind::Sampled, letters},
        {songKey("SongsByCategory"), LocatorKind::Text, ThumbKind::Sampled, lettersAndDigits},
        {songKey("SongsByChartNumber"), LocatorKind::Text, ThumbKind::Sampled, {}},
        {songKey("KeyBeatsPerMinute"), LocatorKind::Text, ThumbKind::Sampled, {}},
        {songKey("SongsByUserDefinedKey"), LocatorKind::Text, ThumbKind::Sampled, letters},
    };
}

QList<ListField> BrowseSongsController::listFields(Program &program)
{
    auto field = [](const char *name) { return ListField{s(name), {}}; };
    // The category's name, blank when the song has none or it is not there.
    ListField category{s("CAT:Category"), [&program](const Record &song) {
                           const qint64 id = song.number(s("MUS:CategoryID"));
                           Table &cat = program.table(TableId::Categories);
                           cat.clear();
                           if (id == 0)
                               return QVariant(QString());
                           cat.buffer().set(s("CAT:CategoryID"), id);
                           if (cat.get(cat.decl().keyIndex(s("KeyCategoryID"))) !=
                               StorageCode::NoError) {
                               cat.clear();
                               return QVariant(QString());
                           }
                           return QVariant(cat.buffer().text(s("CAT:Category")));
                       }};
    // Computed after the name: the category buffer holds the one found, or is clear.
    ListField categoryId{
        s("CAT:CategoryID"), [&program](const Record &) {
            return QVariant(
                program.table(TableId::Categories).buffer().number(s("CAT:CategoryID")));
        }};
    // The shown columns first, in the format's order; then what re-reads the song.
    return {field("MUS:Artist"),
            field("MUS:Title"),
            field("MUS:Album"),
            field("MUS:Media"),
            field("MUS:FileNumber"),
            category,
            field("MUS:Time"),
            field("MUS:ReleaseDate"),
            field("MUS:BeatsPerMinute"),
            field("MUS:UserDefinedKeyField"),
            field("MUS:LastPlayed"),
            field("MUS:Style"),
            field("MUS:ID"),
            field("MUS:Side"),
            field("MUS:TrackNumber"),
            field("MUS:CategoryID"),
            field("MUS:ChartNumber"),
            categoryId};
}

QString BrowseSongsController::designedListFormat()
{
    return s("75L(2)|M~Artist~@s40@75L(2)|M~Title~@s40@76L(2)|M~Album~@s40@39L(2)|M~Media~@s20@"
             "43L(2)|M~File Number~@s20@51L(1)|M~Category~L(0)@s30@23R(2)|M~Time~C(0)@t4b@"
             "36R(2)|M~Released~C(0)@d17b@24R(2)|M~BPM~C(0)@n_4b@120R(2)|M~User Defined Key "
             "Field~C(0)@s30@42R(2)|M~Last Played~C(0)@d17-@120R(2)|M~Style~C(0)@s30@");
}

bool BrowseSongsController::open()
{
    if (m_open)
        return true;
    m_tables = std::make_unique<TableUse>(
        m_program,
        std::initializer_list<TableId>{TableId::Categories, TableId::Media, TableId::Songs});
    if (!m_tables->ok() || m_program.halted()) {
        m_tables.reset();
        return false;
    }
    m_open = true;
    m_tab = ByArtist;
    m_list->setOrder(m_tab);
    emit tabsChanged();
    const bool loaded = m_list->reloadTop();
    emit titleChanged(title());
    emit actionsChanged();
    return loaded;
}

QString BrowseSongsController::title() const
{
    const qint64 count = m_open ? m_program.table(TableId::Songs).count() : 0;
    return s("Songs - ") + QString::number(count) + s(" entries");
}

QString BrowseSongsController::tabCaption(int tab) const
{
    if (tab < 0 || tab >= TabCount)
        return {};
    QString caption;
    if (tab == ByUdk) {
        QString prompt = m_program.settings.udkPrompt.left(10);
        while (!prompt.isEmpty() && prompt.back().isSpace())
            prompt.chop(1);
        caption = prompt.trimmed().isEmpty() ? s(kCaptions[ByUdk]) : s("By ") + prompt;
    } else {
        caption = s(kCaptions[tab]);
    }
    if (tab == m_tab)
        caption += s("   ");
    return caption;
}

void BrowseSongsController::applyRange()
{
    Record r(&tableDecl(TableId::Songs));
    if (m_tab == ByMedia) {
        r.set(s("MUS:Media"), m_media);
        m_list->setRange(1, r, r);
        m_builtMedia = m_media;
    } else if (m_tab == ByCategory) {
        r.set(s("MUS:CategoryID"), m_category);
        m_list->setRange(1, r, r);
        m_builtCategory = m_category;
    }
}

bool BrowseSongsController::setTab(int tab)
{
    if (tab < 0 || tab >= TabCount || !m_open)
        return false;
    const bool orderChanged = tab != m_tab;
    bool rangeChanged = false;
    // The media name compares as the key does: ignoring case.
    if (tab == ByMedia)
        rangeChanged = m_media.compare(m_builtMedia, Qt::CaseInsensitive) != 0;
    else if (tab == ByCategory)
        rangeChanged = m_category != m_builtCategory;
    if (!orderChanged && !rangeChanged)
        return true;

    const ListRow *row = m_list->highlighted();
    const qint64 position = row ? row->place.position : 0;
    if (orderChanged) {
        m_tab = tab;
        m_list->setOrder(tab); // a blank locator, no range
        emit tabsChanged();
    }
    applyRange();
    bool ok;
    if (rangeChanged || position == 0)
        ok = m_list->reloadTop();
    else
        ok = m_list->reloadAt(position);
    return ok;
}

void BrowseSongsController::setMediaChooser(MediaChooser chooser)
{
    m_chooseMedia = std::move(chooser);
    emit actionsChanged();
}

void BrowseSongsController::setCategoryChooser(CategoryChooser chooser)
{
    m_chooseCategory = std::move(chooser);
    emit actionsChanged();
}

bool BrowseSongsController::selectMedia()
{
    if (!m_chooseMedia || !m_open)
        return false;
    QString media = m_media;
    if (!m_chooseMedia(media))
        return false;
    m_media = media;
    if (m_tab == ByMedia) {
        applyRange();
        m_list->reloadTop();
    }
    emit listFocusRequested();
    return true;
}

bool BrowseSongsController::selectCategory()
{
    if (!m_chooseCategory || !m_open)
        return false;
    qint64 category = m_category;
    if (!m_chooseCategory(category))
        return false;
    m_category = category;
    if (m_tab == ByCategory) {
        applyRange();
        m_list->reloadTop();
    }
    emit listFocusRequested();
    return true;
}

bool BrowseSongsController::isEnabled(Action action) const
{
    switch (action) {
    case Action::Add:
        return m_open;
    case Action::Copy: // nothing to copy in an empty list
    case Action::Change:
    case Action::Delete:
        return m_open && !m_list->isEmpty();
    case Action::SelectMedia:
        return m_open && m_chooseMedia != nullptr;
    case Action::SelectCategory:
        return m_open && m_chooseCategory != nullptr;
    case Action::Search:
    case Action::ResetSearch:
    case Action::Import:
    case Action::Export:
    case Action::Print:
        // Until the query wizard, the reports and the CSV transfers exist.
        return false;
    }
    return false;
}

int BrowseSongsController::runForm(int request)
{
    m_program.request = request;
    m_program.response = Program::NoResponse;
    if (!m_runForm)
        return Program::Cancelled;
    return m_runForm();
}

// After the form: a song written is shown in its place (the buffer holds it);
// a deleted song's row makes way for its neighbour; a cancelled form leaves
// the list around the highlighted song.
bool BrowseSongsController::afterForm(int response, bool reloadAtBuffer)
{
    if (m_program.halted())
        return false;
    const qint64 position = m_program.table(TableId::Songs).position();
    if (response == Program::Completed && reloadAtBuffer && position != 0)
        m_list->reloadAt(position);
    else
        m_list->refresh();
    emit listFocusRequested();
    return true;
}

bool BrowseSongsController::add()
{
    if (!isEnabled(Action::Add))
        return false;
    Table &songs = m_program.table(TableId::Songs);
    songs.clear();
    if (m_tab == ByMedia)
        songs.buffer().set(s("MUS:Media"), m_media);
    else if (m_tab == ByCategory)
        songs.buffer().set(s("MUS:CategoryID"), m_category);
    return afterForm(runForm(Program::InsertRecord), true);
}

bool BrowseSongsController::copy()
{
    if (!isEnabled(Action::Copy) || m_list->rereadHighlighted() != StorageCode::NoError)
        return false;
    return afterForm(runForm(Program::CopyRecord), true);
}

bool BrowseSongsController::change()
{
    if (!isEnabled(Action::Change))
        return false;
    if (m_list->rereadHighlighted(true) != StorageCode::NoError) {
        // Gone since the page was read: show the list as it is now.
        m_list->refresh();
        return false;
    }
    return afterForm(runForm(Program::ChangeRecord), true);
}

bool BrowseSongsController::remove()
{
    if (!isEnabled(Action::Delete))
        return false;
    if (m_list->rereadHighlighted(true) != StorageCode::NoError) {
        m_list->refresh();
        return false;
    }
    return afterForm(runForm(Program::DeleteRecord), false);
}

qint64 BrowseSongsController::dragSongId()
{
    if (!m_open || m_list->rereadHighlighted() != StorageCode::NoError)
        return 0;
    return m_program.table(TableId::Songs).buffer().number(s("MUS:ID"));
}

void BrowseSongsController::pageChanged()
{
    emit titleChanged(title());
    if (m_list->isEmpty() != m_wasEmpty) {
        m_wasEmpty = m_list->isEmpty();
        emit actionsChanged();
    }
}

} // namespace cx
