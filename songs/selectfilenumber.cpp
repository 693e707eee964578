#include "songs/selectfilenumber.h"

#include "lists/listmoves.h"
#include "lists/pagelist.h"
#include "platform/ui/tabkeys.h"
#include "songs/browselookup.h"
#include "store/program.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace cx {

namespace {
const QString kSection = QStringLiteral("SelectFileNumber");
// This list keeps its layout without the ":1" the other lists add.
const QString kLayoutControl = QStringLiteral("?Browse");

QString s(const char *text)
{
    return QString::fromLatin1(text);
}

const char *const kTabTexts[SelectFileNumber::TabCount] = {
    "By Artist", "By Title", "By Album", "By Media", "By Category", "By Chart #",
};

// Looks the song's category up without disturbing the Categories buffer: the
// category in force for "By Category" is read from it.
class CategoryLookup
{
public:
    explicit CategoryLookup(Program &program) : m_program(program) {}

    QString name(const Record &song)
    {
        m_foundId = 0;
        const qint64 id = song.number(s("MUS:CategoryID"));
        if (id == 0)
            return {};
        Table &cat = m_program.table(TableId::Categories);
        const Record saved = cat.buffer();
        cat.clear();
        cat.buffer().set(s("CAT:CategoryID"), id);
        QString found;
        if (cat.get(cat.decl().keyIndex(s("KeyCategoryID"))) == StorageCode::NoError) {
            found = cat.buffer().text(s("CAT:Category"));
            m_foundId = id;
        }
        cat.buffer() = saved;
        return found;
    }
    // The id of the category the last name came from; 0 when none was found.
    qint64 foundId() const { return m_foundId; }

private:
    Program &m_program;
    qint64 m_foundId = 0;
};
} // namespace

QString SelectFileNumber::listFormat()
{
    return s("75L(2)|M~Artist~@s30@75L(2)|M~Title~@s30@76L(2)|M~Album~@s30@74L(2)|M~Media~@s20@"
             "48L(2)|M~File Number~@s10@45R(2)|M~Release Date~C(0)@d2@"
             "120L(2)|M~Category~L(0)@s30@");
}

QString SelectFileNumber::windowTitleFor(qint64 songs)
{
    return s("Browse Music Database - ") + QString::number(songs) + s(" entries");
}

SelectFileNumber::SelectFileNumber(Program &program, bool selectMode, QWidget *parent)
    : PickList(program, TableId::Songs, selectMode, kSection, kLayoutControl, parent)
{
    setWindowTitle(s("Select File Number"));

    const TableDecl &decl = tableDecl(TableId::Songs);
    auto key = [&decl](const char *name) { return decl.keyIndex(s(name)); };
    const QString letters = ThumbSampler::letters();
    const QString lettersAndDigits = ThumbSampler::lettersAndDigits();
    const QList<ListOrder> orders{
        {key("SongsByArtist"), LocatorKind::Text, ThumbKind::Sampled, lettersAndDigits},
        {key("SongsByTitle"), LocatorKind::Text, ThumbKind::Sampled, letters},
        {key("SongsByAlbum"), LocatorKind::Text, ThumbKind::Sampled, letters},
        {key("SongsByMedia"), LocatorKind::Text, ThumbKind::Sampled, letters},
        {key("SongsByCategory"), LocatorKind::Text, ThumbKind::Sampled, lettersAndDigits},
        {key("SongsByChartNumber"), LocatorKind::Text, ThumbKind::Approximate, {}},
    };
    auto lookup = std::make_shared<CategoryLookup>(program);
    auto f = [](const char *name) { return ListField{s(name), {}}; };
    const QList<ListField> fields{
        // the shown columns, in the format's order
        f("MUS:Artist"), f("MUS:Title"), f("MUS:Album"), f("MUS:Media"), f("MUS:FileNumber"),
        f("MUS:ReleaseDate"),
        {s("CAT:Category"), [lookup](const Record &song) { return QVariant(lookup->name(song)); }},
        // then what re-reads and places the song
        f("MUS:ID"), f("MUS:Side"), f("MUS:TrackNumber"), f("MUS:CategoryID"),
        f("MUS:ChartNumber"),
        // computed after the name
        {s("CAT:CategoryID"), [lookup](const Record &) { return QVariant(lookup->foundId()); }},
    };
    auto controller = std::make_unique<ListController>(program, TableId::Songs, orders, fields);
    controller->setLocatorLength(30);
    createList(std::move(controller), listFormat());
    connect(m_controller.get(), &ListController::pageChanged, this, &SelectFileNumber::updateTitle);

    m_tabs = new QTabBar(this);
    addTabKeys(this, m_tabs);
    m_tabs->setObjectName(s("tabs"));
    for (const char *t : kTabTexts)
        m_tabs->addTab(s(t));
    connect(m_tabs, &QTabBar::currentChanged, this, &SelectFileNumber::setTab);

    m_selectCategory = new QPushButton(s("&Select Category"), this);
    m_selectCategory->setObjectName(s("selectCategory"));
    m_selectCategory->setAutoDefault(false);
    m_selectCategory->setVisible(false);
    connect(m_selectCategory, &QPushButton::clicked, this, &SelectFileNumber::selectCategory);

    auto *locatorCaption = new QLabel(s("Locator:"), this);
    locatorCaption->setObjectName(s("locatorCaption"));
    m_locator = new QLabel(this);
    m_locator->setObjectName(s("locator"));
    m_locator->setTextFormat(Qt::PlainText);
    connect(m_controller.get(), &ListController::locatorChanged, m_locator, &QLabel::setText);

    auto *tabRow = new QHBoxLayout;
    tabRow->addWidget(m_tabs, 1);
    tabRow->addWidget(m_selectCategory);
    auto *locatorRow = new QHBoxLayout;
    locatorRow->addWidget(locatorCaption);
    locatorRow->addWidget(m_locator, 1);
    // The frame's record and page buttons cannot be reached while this list
    // keeps the program waiting, so the list carries them.
    auto *moves = new QToolBar(this);
    moves->setObjectName(s("recordButtons"));
    moves->setIconSize(QSize(16, 16));
    moves->addActions(makeListMoveActions(this, [this] { return this; }));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(createSelectButton(false));
    buttons->addStretch();
    buttons->addWidget(moves);
    buttons->addStretch();
    buttons->addWidget(createCloseButton());
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(tabRow);
    layout->addWidget(m_list, 1);
    layout->addLayout(locatorRow);
    layout->addLayout(buttons);

    openList({TableId::Categories, TableId::Songs});
}

void SelectFileNumber::updateTitle()
{
    setWindowTitle(windowTitleFor(m_program.table(TableId::Songs).count()));
}

void SelectFileNumber::applyCategory()
{
    // Songs of the one category. A song without one is never listed here, so
    // category 0 lists nothing.
    Record r(&tableDecl(TableId::Songs));
    r.set(s("MUS:CategoryID"), m_category);
    m_controller->setRange(1, r, r);
    m_controller->setCondition({s("\"CategoryID\"<>0"), {}});
}

void SelectFileNumber::setTab(int tab)
{
    if (tab < 0 || tab >= TabCount || ended())
        return;
    if (m_tabs->currentIndex() != tab) {
        m_tabs->setCurrentIndex(tab); // comes back here
        return;
    }
    if (tab == m_controller->order())
        return;
    const ListRow *row = m_controller->highlighted();
    const qint64 position = row ? row->place.position : 0;
    m_controller->setOrder(tab); // no range, a blank locator
    if (!m_controller->condition().isEmpty())
        m_controller->setCondition({});
    m_selectCategory->setVisible(tab == ByCategory);
    if (tab == ByCategory) {
        m_category = m_program.table(TableId::Categories).buffer().number(s("CAT:CategoryID"));
        applyCategory();
        m_controller->reloadTop();
    } else if (position) {
        m_controller->reloadAt(position);
    } else {
        m_controller->reloadTop();
    }
    m_list->setFocus();
}

void SelectFileNumber::selectCategory()
{
    if (ended())
        return;
    Table &cat = m_program.table(TableId::Categories);
    const Record before = cat.buffer();
    const int response = runBrowseCategories(m_program, true, this);
    if (m_program.halted())
        return;
    m_program.response = Program::NoResponse;
    if (response != Program::Completed) {
        // What a cancelled browse left highlighted is not a choice.
        cat.buffer() = before;
        m_list->setFocus();
        return;
    }
    const qint64 chosen = cat.buffer().number(s("CAT:CategoryID"));
    if (chosen != m_category) {
        m_category = chosen;
        if (m_controller->order() == ByCategory) {
            applyCategory();
            m_controller->reloadTop();
        }
    }
    m_list->setFocus();
}

int runSelectFileNumber(Program &program, QWidget *parent)
{
    SelectFileNumber window(program, true, parent);
    return runPickList(program, window);
}

} // namespace cx
