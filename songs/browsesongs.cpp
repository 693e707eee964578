#include "songs/browsesongs.h"

#include "lists/pagelist.h"
#include "platform/settings/inifile.h"
#include "platform/ui/images.h"
#include "platform/ui/popupmenu.h"
#include "platform/ui/svgpixmap.h"
#include "platform/ui/tabkeys.h"
#include "platform/ui/widgetgeometry.h"
#include "songs/updatesong.h"
#include "store/program.h"
#include "store/settingspaths.h"
#include "store/windowposition.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDrag>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QVBoxLayout>

#include <memory>
#include <optional>

namespace cx
{

namespace
{
QString s(const char *text)
{
    return QString::fromLatin1(text);
}

const QString kSection = QStringLiteral("BrowseSongs");
const QString kListControl = QStringLiteral("?Browse");
} // namespace

QString BrowseSongs::songIdMimeType()
{
    return QStringLiteral("application/x-cantorix-song-id");
}

BrowseSongs::BrowseSongs(Program &program, QWidget *parent) : QWidget(parent), m_program(program)
{
    setObjectName(kSection);
    setAttribute(Qt::WA_DeleteOnClose);
    m_controller = new BrowseSongsController(program, this);
    m_controller->setFormRunner([this] { return runSongForm(m_program, {}, this); });

    m_tabs = new QTabBar;
    addTabKeys(this, m_tabs);
    m_tabs->setObjectName(s("tabs"));
    m_tabs->setExpanding(false);
    m_tabs->setFocusPolicy(Qt::NoFocus);
    // The selected order reads in bold.
    m_tabs->setStyleSheet(s("QTabBar::tab:selected { font-weight: bold; }"));
    for (int t = 0; t < BrowseSongsController::TabCount; ++t)
        m_tabs->addTab(m_controller->tabCaption(t));

    auto *selectMedia = new QPushButton(s("Se&lect Media"));
    selectMedia->setObjectName(s("selectMedia"));
    m_buttons.insert(int(Action::SelectMedia), selectMedia);
    auto *selectCategory = new QPushButton(s("Se&lect Category"));
    selectCategory->setObjectName(s("selectCategory"));
    m_buttons.insert(int(Action::SelectCategory), selectCategory);
    connect(selectMedia, &QPushButton::clicked, this, [this] { press(Action::SelectMedia); });
    connect(selectCategory, &QPushButton::clicked, this, [this] { press(Action::SelectCategory); });

    auto *locatorPrompt = new QLabel(s("Locator:"));
    m_locator = new QLabel;
    m_locator->setObjectName(s("locator"));
    m_locator->setMinimumWidth(fontMetrics().averageCharWidth() * 30);

    auto *tabRow = new QHBoxLayout;
    tabRow->addWidget(selectMedia);
    tabRow->addWidget(selectCategory);
    tabRow->addStretch(1);
    tabRow->addWidget(locatorPrompt);
    tabRow->addWidget(m_locator);

    m_list = new PageList(m_controller->list(), BrowseSongsController::designedListFormat());
    m_list->setObjectName(s("list"));
    QTableView *view = m_list->view();
    view->setToolTip(s("Right-Click for Options"));
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    view->installEventFilter(this);
    view->viewport()->installEventFilter(this);
    connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint &at) {
        std::unique_ptr<QMenu> menu(createPopup(this));
        menu->exec(view->viewport()->mapToGlobal(at));
    });
    connect(m_list, &PageList::activated, this, [this] { press(Action::Change); });

    auto *row1 = new QHBoxLayout;
    row1->addWidget(addButton(Action::Add, s("&Add"), "add"));
    row1->addWidget(addButton(Action::Copy, s("Cop&y"), "copy"));
    row1->addWidget(addButton(Action::Change, s("&Change"), "change"));
    row1->addWidget(addButton(Action::Delete, s("&Delete"), "delete"));
    row1->addStretch(1);
    row1->addWidget(addButton(Action::Print, s("&Print"), "print"));
    auto *row2 = new QHBoxLayout;
    row2->addWidget(addButton(Action::Search, s("&Search"), "search"));
    row2->addWidget(addButton(Action::ResetSearch, s("Reset Search"), "resetSearch"));
    row2->addWidget(addButton(Action::Import, s("&Import"), "import"));
    row2->addWidget(addButton(Action::Export, s("&Export"), "export"));
    row2->addStretch(1);
    m_close = new QPushButton(imageIcon(s("exit")), s("Cl&ose"));
    m_close->setObjectName(s("close"));
    connect(m_close, &QPushButton::clicked, this, [this] {
        m_program.response = Program::Cancelled;
        closeWindow();
    });
    row2->addWidget(m_close);
    button(Action::Import)->setIcon(imageIcon(s("import")));
    button(Action::Export)->setIcon(imageIcon(s("export")));

    // The trumpet stands beside the two button rows.
    auto *trumpet = new QLabel;
    trumpet->setObjectName(s("trumpet"));
    const int buttonsHeight = 2 * m_close->sizeHint().height();
    trumpet->setPixmap(svgPixmap(imagePath(s("trumpet")), qreal(buttonsHeight) / 48, devicePixelRatioF()));
    auto *buttonRows = new QVBoxLayout;
    buttonRows->addLayout(row1);
    buttonRows->addLayout(row2);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(trumpet, 0, Qt::AlignVCenter);
    bottom->addLayout(buttonRows, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addLayout(tabRow);
    layout->addWidget(m_list, 1);
    layout->addLayout(bottom);

    setMinimumSize(m_list->unitsToPixels(374), fontMetrics().height() * 170 / 8);
    setWindowTitle(m_controller->title());

    connect(m_tabs, &QTabBar::currentChanged, this, [this](int tab) {
        if (m_syncingTabs)
            return;
        m_controller->setTab(tab);
        syncTabs();
    });
    connect(m_controller, &BrowseSongsController::tabsChanged, this, &BrowseSongs::syncTabs);
    connect(m_controller, &BrowseSongsController::actionsChanged, this, &BrowseSongs::syncActions);
    connect(m_controller, &BrowseSongsController::titleChanged, this, &QWidget::setWindowTitle);
    connect(m_controller, &BrowseSongsController::listFocusRequested, this,
            [this] { m_list->view()->setFocus(); });
    connect(m_controller, &BrowseSongsController::closeRequested, this, &BrowseSongs::closeWindow);
    connect(&m_controller->list(), &ListController::locatorChanged, m_locator, &QLabel::setText);

    IniFile positions(positionFilePath());
    m_list->restoreLayout(positions, kSection, kListControl, m_program.settings.dateFormat);
    syncTabs();
    syncActions();
}

BrowseSongs::~BrowseSongs() = default;

bool BrowseSongs::open()
{
    const bool ok = m_controller->open();
    syncTabs();
    syncActions();
    m_list->view()->setFocus();
    return ok && m_controller->isOpen();
}

QPushButton *BrowseSongs::addButton(Action action, const QString &text, const char *name)
{
    auto *b = new QPushButton(text);
    b->setObjectName(s(name));
    m_buttons.insert(int(action), b);
    connect(b, &QPushButton::clicked, this, [this, action] { press(action); });
    return b;
}

void BrowseSongs::setMediaChooser(BrowseSongsController::MediaChooser chooser)
{
    m_controller->setMediaChooser(std::move(chooser));
}

void BrowseSongs::setCategoryChooser(BrowseSongsController::CategoryChooser chooser)
{
    m_controller->setCategoryChooser(std::move(chooser));
}

void BrowseSongs::press(Action action)
{
    if (!m_controller->isEnabled(action))
        return;
    switch (action) {
    case Action::Add:
        m_controller->add();
        break;
    case Action::Copy:
        m_controller->copy();
        break;
    case Action::Change:
        m_controller->change();
        break;
    case Action::Delete:
        m_controller->remove();
        break;
    case Action::SelectMedia:
        m_controller->selectMedia();
        break;
    case Action::SelectCategory:
        m_controller->selectCategory();
        break;
    case Action::Search:
    case Action::ResetSearch:
    case Action::Import:
    case Action::Export:
    case Action::Print:
        break;
    }
}

void BrowseSongs::syncTabs()
{
    m_syncingTabs = true;
    for (int t = 0; t < BrowseSongsController::TabCount; ++t)
        m_tabs->setTabText(t, m_controller->tabCaption(t));
    m_tabs->setCurrentIndex(m_controller->tab());
    m_syncingTabs = false;
    // Each range tab holds its own select button.
    button(Action::SelectMedia)->setVisible(m_controller->tab() == BrowseSongsController::ByMedia);
    button(Action::SelectCategory)
        ->setVisible(m_controller->tab() == BrowseSongsController::ByCategory);
    m_locator->setText(m_controller->list().locatorText());
}

void BrowseSongs::syncActions()
{
    for (auto it = m_buttons.begin(); it != m_buttons.end(); ++it)
        it.value()->setEnabled(m_controller->isEnabled(Action(it.key())));
}

namespace
{
// The popup's items in order; nothing stands for a separator line.
const std::optional<BrowseSongsController::Action> kPopupItems[] = {
    BrowseSongsController::Action::Add,    BrowseSongsController::Action::Change,
    BrowseSongsController::Action::Delete, std::nullopt,
    BrowseSongsController::Action::Print,  std::nullopt,
    BrowseSongsController::Action::Search, std::nullopt,
    BrowseSongsController::Action::Import, BrowseSongsController::Action::Export,
};
} // namespace

QString BrowseSongs::popupText() const
{
    QStringList items;
    for (const auto &action : kPopupItems)
        items << (action ? popupItem(m_buttons.value(int(*action))->text(), m_controller->isEnabled(*action))
                         : s("-"));
    return items.join(QLatin1Char('|'));
}

QMenu *BrowseSongs::createPopup(QWidget *parent)
{
    QList<Action> numbered;
    for (const auto &action : kPopupItems)
        if (action)
            numbered << *action;
    return buildPopupMenu(popupText(), parent, [this, numbered](int n) { press(numbered.at(n - 1)); });
}

bool BrowseSongs::eventFilter(QObject *watched, QEvent *event)
{
    QTableView *view = m_list->view();
    if (watched == view && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
            return false;
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            press(Action::Change);
            return true;
        case Qt::Key_Insert:
            press(Action::Add);
            return true;
        case Qt::Key_Delete:
            press(Action::Delete);
            return true;
        default:
            return false;
        }
    }
    if (watched == view->viewport()) {
        if (event->type() == QEvent::MouseButtonPress) {
            auto *mouse = static_cast<QMouseEvent *>(event);
            m_dragArmed = mouse->button() == Qt::LeftButton;
            m_pressAt = mouse->position().toPoint();
        } else if (event->type() == QEvent::MouseButtonRelease) {
            m_dragArmed = false;
        } else if (event->type() == QEvent::MouseMove && m_dragArmed) {
            auto *mouse = static_cast<QMouseEvent *>(event);
            if ((mouse->buttons() & Qt::LeftButton) &&
                (mouse->position().toPoint() - m_pressAt).manhattanLength() >=
                    QApplication::startDragDistance()) {
                m_dragArmed = false;
                startDrag();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void BrowseSongs::startDrag()
{
    const qint64 id = m_controller->dragSongId();
    if (id == 0)
        return;
    auto *data = new QMimeData;
    const QString text = QString::number(id);
    data->setData(songIdMimeType(), text.toUtf8());
    data->setText(text);
    auto *drag = new QDrag(this);
    drag->setMimeData(data);
    drag->exec(Qt::CopyAction);
}

void BrowseSongs::closeWindow()
{
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->close();
    else
        close();
}

void BrowseSongs::saveLayoutAndPosition()
{
    if (m_saved)
        return;
    m_saved = true;
    IniFile positions(positionFilePath());
    m_list->saveLayout(positions, kSection, kListControl);
    QWidget *window = qobject_cast<QMdiSubWindow *>(parentWidget());
    if (!window)
        window = this;
    WidgetGeometry geometry(window);
    saveWindowPosition(positions, kSection, geometry);
}

void BrowseSongs::closeEvent(QCloseEvent *event)
{
    saveLayoutAndPosition();
    QWidget::closeEvent(event);
}

} // namespace cx
