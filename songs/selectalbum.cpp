#include "songs/selectalbum.h"
#include "songs/pickwindowplace.h"

#include "lists/pagelist.h"
#include "platform/ui/images.h"
#include "platform/ui/tabkeys.h"
#include "platform/settings/inifile.h"
#include "platform/ui/widgetgeometry.h"
#include "store/program.h"
#include "store/settingspaths.h"
#include "store/standardmessage.h"
#include "store/windowposition.h"

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
    : QDialog(parent), m_program(program), m_selectMode(selectMode), m_place(kSection, kLayoutControl)
{
    setObjectName(kSection);
    setWindowTitle(QStringLiteral("Select An Album"));
    setSizeGripEnabled(true);
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
    m_controller = std::make_unique<ListController>(program, TableId::Album, orders, fields);

    m_list = new PageList(*m_controller, listFormat(), this);
    m_list->setObjectName(QStringLiteral("list"));
    connect(m_list, &PageList::activated, this, [this] {
        if (m_selectMode)
            choose();
    });
    connect(m_list, &PageList::closeRequested, this, [this] { finish(Program::Cancelled); });

    m_tabs = new QTabBar(this);
    addTabKeys(this, m_tabs);
    m_tabs->setObjectName(QStringLiteral("tabs"));
    for (const char *t : {"Album", "Artist", "File #"})
        m_tabs->addTab(QString::fromLatin1(t));
    connect(m_tabs, &QTabBar::currentChanged, this, &SelectAlbum::setTab);

    auto *select = new QPushButton(QStringLiteral("&Select"), this);
    select->setObjectName(QStringLiteral("select"));
    select->setAutoDefault(false);
    select->setVisible(selectMode);
    select->setEnabled(selectMode);
    select->setDefault(selectMode);
    auto *close = new QPushButton(QStringLiteral("Cl&ose"), this);
    close->setObjectName(QStringLiteral("close"));
    close->setAutoDefault(false);
    close->setIcon(imageIcon(QStringLiteral("exit")));
    connect(select, &QPushButton::clicked, this, &SelectAlbum::choose);
    connect(close, &QPushButton::clicked, this, &SelectAlbum::dismiss);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(select);
    buttons->addStretch();
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);

    IniFile positions(positionFilePath());
    m_list->restoreLayout(positions, kSection, kLayoutControl, program.settings.dateFormat);

    m_program.request = Program::NoRequest;
    m_use = std::make_unique<TableUse>(program, std::initializer_list<TableId>{TableId::Album});
    m_open = m_use->ok() && !program.halted() && m_controller->reloadTop();
    m_list->setFocus();
}

SelectAlbum::~SelectAlbum()
{
    m_controller.reset();
    m_use.reset();
}

QPushButton *SelectAlbum::button(const QString &objectName) const
{
    return findChild<QPushButton *>(objectName);
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

void SelectAlbum::choose()
{
    if (!m_selectMode || m_place.ended() || m_controller->isEmpty())
        return;
    if (m_controller->rereadHighlighted() != StorageCode::NoError) {
        standardMessage(m_program, MessageId::RecordRetrievalError, QStringLiteral("Album"));
        return;
    }
    finish(Program::Completed);
}

void SelectAlbum::dismiss()
{
    if (!m_controller->isEmpty())
        m_controller->rereadHighlighted();
    finish(Program::Cancelled);
}

void SelectAlbum::finish(int response)
{
    if (!m_place.end(this, m_list))
        return;
    m_program.response = response;
    QDialog::done(response == Program::Completed ? Accepted : Rejected);
}

void SelectAlbum::done(int)
{
    // Escape and the window's close button end it as "Cl&ose" does.
    if (!m_place.ended())
        dismiss();
}

void SelectAlbum::showEvent(QShowEvent *event)
{
    m_place.restoreOnFirstShow(this);
    QDialog::showEvent(event);
}

int runSelectAlbum(Program &program, bool selectMode, QWidget *parent)
{
    SelectAlbum window(program, selectMode, parent);
    if (!window.isOpen()) {
        program.response = Program::Cancelled;
        return program.response;
    }
    window.exec();
    return program.response;
}

} // namespace cx
