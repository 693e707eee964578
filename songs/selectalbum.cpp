#include "songs/selectalbum.h"

#include "lists/pagelist.h"
#include "platform/ui/tabkeys.h"
#include "store/program.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTabBar>
#include <QVBoxLayout>

namespace cx {

namespace {
const QString kSection = QStringLiteral("SelectAlbum");
const QString kLayoutControl = QStringLiteral("?Browse:1");
} // namespace

QString SelectAlbum::listFormat()
{
    return QStringLiteral("80L(2)|M~Album~@s30@80L(2)|M~Artist~@s30@43L(2)|M~File Number~@s10@"
                          "80L(2)|M~Media~@s20@80R(2)|M~Release Date~C(0)@d2@");
}

SelectAlbum::SelectAlbum(Program &program, bool selectMode, QWidget *parent)
    : PickList(program, TableId::Album, selectMode, kSection, kLayoutControl, parent)
{
    setWindowTitle(QStringLiteral("Select An Album"));
    const TableDecl &decl = program.table(TableId::Album).decl();
    auto key = [&decl](const char *name) { return decl.keyIndex(QString::fromLatin1(name)); };
    const QList<ListOrder> orders{
        {key("KeyAlbum"), LocatorKind::FirstCharacter, ThumbKind::Sampled,
         ThumbSampler::lettersAndDigits()},
        {key("KeyArtist"), LocatorKind::FirstCharacter, ThumbKind::Approximate, {}},
        {key("KeyFileNumber"), LocatorKind::FirstCharacter, ThumbKind::Approximate, {}},
    };
    auto f = [](const char *name) { return ListField{QString::fromLatin1(name), {}}; };
    const QList<ListField> fields{f("ALB:Album"),     f("ALB:Artist"),      f("ALB:FileNumber"),
                                  f("ALB:Media"),     f("ALB:ReleaseDate"), f("ALB:AlbumID")};
    createList(std::make_unique<ListController>(program, TableId::Album, orders, fields), listFormat());

    m_tabs = new QTabBar(this);
    addTabKeys(this, m_tabs);
    m_tabs->setObjectName(QStringLiteral("tabs"));
    for (const char *t : {"Album", "Artist", "File #"})
        m_tabs->addTab(QString::fromLatin1(t));
    connect(m_tabs, &QTabBar::currentChanged, this, &SelectAlbum::setTab);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(createSelectButton(true));
    buttons->addStretch();
    buttons->addWidget(createCloseButton());
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);

    openList({TableId::Album});
}

void SelectAlbum::setTab(int tab)
{
    if (tab == m_controller->order())
        return;
    const ListRow *row = m_controller->highlighted();
    const qint64 position = row ? row->place.position : 0;
    if (m_tabs->currentIndex() != tab)
        m_tabs->setCurrentIndex(tab);
    m_controller->setOrder(tab);
    if (position)
        m_controller->reloadAt(position);
    else
        m_controller->reloadTop();
}

int runSelectAlbum(Program &program, bool selectMode, QWidget *parent)
{
    SelectAlbum window(program, selectMode, parent);
    return runPickList(program, window);
}

} // namespace cx
