#include "songs/browselookup.h"

#include "lists/pagelist.h"
#include "platform/ui/images.h"
#include "platform/ui/popupmenu.h"
#include "platform/settings/inifile.h"
#include "platform/ui/widgetgeometry.h"
#include "store/program.h"
#include "store/settingspaths.h"
#include "store/standardmessage.h"
#include "store/windowposition.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QVBoxLayout>

namespace cx {

BrowseLookupSpec categoriesBrowseSpec()
{
    BrowseLookupSpec s;
    s.table = TableId::Categories;
    s.field = QStringLiteral("CAT:Category");
    s.key = QStringLiteral("KeyCategory");
    s.title = QStringLiteral("Categories");
    s.format = QStringLiteral("80L(2)|M~Category~@s30@");
    s.tab = QStringLiteral("CAT:KeyCategory");
    s.section = QStringLiteral("BrowseCategories");
    s.insertText = QStringLiteral("&Insert");
    s.closeText = QStringLiteral("Cl&ose");
    s.closeIcon = true;
    s.selectFirst = true;
    s.minimumWidthUnits = 50;
    s.minimumHeightUnits = 50;
    s.form = categoryFormSpec();
    return s;
}

BrowseLookupSpec mediaBrowseSpec()
{
    BrowseLookupSpec s;
    s.table = TableId::Media;
    s.field = QStringLiteral("MED:Media");
    s.key = QStringLiteral("KeyMedia");
    s.title = QStringLiteral("Browse Media Formats");
    s.format = QStringLiteral("80L(2)|M~Media~@s20@");
    s.section = QStringLiteral("BrowseMedia");
    s.layoutControl = QStringLiteral("?Browse:1");
    s.insertText = QStringLiteral("&Add");
    s.closeText = QStringLiteral("E&xit");
    s.form = mediaFormSpec();
    return s;
}

// --- controller

BrowseLookupController::BrowseLookupController(Program &program, const BrowseLookupSpec &spec,
                                               bool selectMode, QObject *parent)
    : QObject(parent), m_program(program), m_spec(spec), m_selectMode(selectMode)
{
    const TableDecl &decl = program.table(spec.table).decl();
    const ListOrder order{decl.keyIndex(spec.key), LocatorKind::FirstCharacter, ThumbKind::Sampled,
                          ThumbSampler::letters()};
    m_list = std::make_unique<ListController>(program, spec.table, QList<ListOrder>{order},
                                              QList<ListField>{ListField{spec.field, {}}});
    m_runForm = [&program](const LookupFormSpec &form) { return runLookupForm(program, form); };
}

BrowseLookupController::~BrowseLookupController()
{
    m_list.reset(); // before the table is closed
    m_use.reset();
}

Table &BrowseLookupController::table() const
{
    return m_program.table(m_spec.table);
}

bool BrowseLookupController::open()
{
    // The caller's select request has been taken as the mode.
    m_program.request = Program::NoRequest;
    m_use = std::make_unique<TableUse>(m_program, std::initializer_list<TableId>{m_spec.table});
    if (!m_use->ok() || m_program.halted())
        return false;
    return m_list->reloadTop();
}

void BrowseLookupController::runForm(int request)
{
    if (m_finished)
        return;
    Table &t = table();
    if (request == Program::InsertRecord) {
        t.clear(); // a new entry starts blank
    } else {
        if (!hasRecords())
            return;
        if (m_list->rereadHighlighted(true) != StorageCode::NoError) {
            standardMessage(m_program, MessageId::RecordRetrievalError, t.decl().label);
            m_list->refresh();
            return;
        }
    }
    m_program.request = request;
    const int response = m_runForm(m_spec.form);
    m_program.request = Program::NoRequest;
    if (m_program.halted())
        return;
    if (response == Program::Completed && request != Program::DeleteRecord)
        m_list->reloadAt(t.position());
    else
        m_list->refresh();
}

void BrowseLookupController::insert()
{
    runForm(Program::InsertRecord);
}

void BrowseLookupController::change()
{
    runForm(Program::ChangeRecord);
}

void BrowseLookupController::remove()
{
    runForm(Program::DeleteRecord);
}

void BrowseLookupController::select()
{
    if (!m_selectMode || !hasRecords() || m_finished)
        return;
    if (m_list->rereadHighlighted() != StorageCode::NoError) {
        standardMessage(m_program, MessageId::RecordRetrievalError, table().decl().label);
        m_list->refresh();
        return;
    }
    finish(Program::Completed);
}

void BrowseLookupController::close()
{
    if (m_finished)
        return;
    if (hasRecords())
        m_list->rereadHighlighted();
    finish(Program::Cancelled);
}

void BrowseLookupController::enter()
{
    if (m_selectMode)
        select();
    else
        change();
}

void BrowseLookupController::finish(int response)
{
    m_finished = true;
    m_program.response = response;
    emit finished(response);
}

// --- window

BrowseLookup::BrowseLookup(Program &program, const BrowseLookupSpec &spec, bool selectMode,
                           QWidget *parent)
    : QDialog(parent), m_program(program), m_controller(program, spec, selectMode)
{
    setObjectName(spec.section);
    setWindowTitle(spec.title);
    setSizeGripEnabled(true);
    m_controller.setFormRunner(
        [this](const LookupFormSpec &form) { return runLookupForm(m_program, form, this); });

    m_list = new PageList(m_controller.list(), spec.format, this);
    m_list->setObjectName(QStringLiteral("list"));
    QTableView *view = m_list->view();
    // Installed after the list's own filter, so it sees the keys first.
    view->installEventFilter(this);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint &at) {
        const QModelIndex index = view->indexAt(at);
        if (index.isValid())
            m_controller.list().setHighlight(index.row());
        std::unique_ptr<QMenu> menu(createPopup(this));
        menu->exec(view->viewport()->mapToGlobal(at));
    });
    connect(m_list, &PageList::activated, &m_controller, &BrowseLookupController::change);
    connect(m_list, &PageList::closeRequested, this, [this] { m_controller.close(); });

    auto makeButton = [this](const QString &text, const char *name) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    QPushButton *selectButton = makeButton(QStringLiteral("&Select"), "select");
    QPushButton *insertButton = makeButton(spec.insertText, "insert");
    QPushButton *changeButton = makeButton(QStringLiteral("&Change"), "change");
    QPushButton *deleteButton = makeButton(QStringLiteral("&Delete"), "delete");
    QPushButton *closeButton = makeButton(spec.closeText, "close");
    if (spec.closeIcon)
        closeButton->setIcon(imageIcon(QStringLiteral("exit")));
    selectButton->setVisible(selectMode);
    selectButton->setEnabled(selectMode);
    selectButton->setDefault(selectMode);

    connect(selectButton, &QPushButton::clicked, &m_controller, &BrowseLookupController::select);
    connect(insertButton, &QPushButton::clicked, &m_controller, &BrowseLookupController::insert);
    connect(changeButton, &QPushButton::clicked, &m_controller, &BrowseLookupController::change);
    connect(deleteButton, &QPushButton::clicked, &m_controller, &BrowseLookupController::remove);
    connect(closeButton, &QPushButton::clicked, &m_controller, &BrowseLookupController::close);
    connect(&m_controller, &BrowseLookupController::finished, this, &BrowseLookup::ended);
    connect(&m_controller.list(), &ListController::pageChanged, this, &BrowseLookup::updateButtons);

    auto *buttons = new QHBoxLayout;
    if (spec.selectFirst)
        buttons->addWidget(selectButton);
    buttons->addWidget(insertButton);
    buttons->addWidget(changeButton);
    buttons->addWidget(deleteButton);
    if (!spec.selectFirst)
        buttons->addWidget(selectButton);
    buttons->addStretch();
    buttons->addWidget(closeButton);

    auto *layout = new QVBoxLayout(this);
    if (!spec.tab.isEmpty()) {
        m_tabs = new QTabBar(this);
        m_tabs->setObjectName(QStringLiteral("tabs"));
        m_tabs->addTab(spec.tab);
        layout->addWidget(m_tabs);
    }
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);

    if (!spec.layoutControl.isEmpty()) {
        IniFile positions(positionFilePath());
        m_list->restoreLayout(positions, spec.section, spec.layoutControl,
                              program.settings.dateFormat);
    }
    resize(qMax(sizeHint().width(), m_list->unitsToPixels(80 + 40)), sizeHint().height());
    if (spec.minimumWidthUnits > 0)
        setMinimumSize(m_list->unitsToPixels(spec.minimumWidthUnits),
                       qRound(spec.minimumHeightUnits * fontMetrics().height() / 8.0));

    m_open = m_controller.open();
    updateButtons();
    m_list->setFocus();
}

BrowseLookup::~BrowseLookup() = default;

QPushButton *BrowseLookup::button(const QString &objectName) const
{
    return findChild<QPushButton *>(objectName);
}

QMenu *BrowseLookup::createPopup(QWidget *parent)
{
    const bool any = m_controller.hasRecords();
    const QString items = QStringList{popupItem(m_controller.spec().insertText, true),
                                      popupItem(QStringLiteral("&Change"), any),
                                      popupItem(QStringLiteral("&Delete"), any), QStringLiteral("-"),
                                      popupItem(QStringLiteral("&Select"), m_controller.selectMode())}
                              .join(QLatin1Char('|'));
    return buildPopupMenu(items, parent, [this](int n) {
        switch (n) {
        case 1:
            m_controller.insert();
            break;
        case 2:
            m_controller.change();
            break;
        case 3:
            m_controller.remove();
            break;
        default:
            m_controller.select();
            break;
        }
    });
}

void BrowseLookup::updateButtons()
{
    const bool any = m_controller.hasRecords();
    button(QStringLiteral("change"))->setEnabled(any);
    button(QStringLiteral("delete"))->setEnabled(any);
}

bool BrowseLookup::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list->view() && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
            return QDialog::eventFilter(watched, event);
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            m_controller.enter();
            return true;
        case Qt::Key_Insert:
            m_controller.insert();
            return true;
        case Qt::Key_Delete:
            m_controller.remove();
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

QWidget *BrowseLookup::frameWindow()
{
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        return sub;
    return this;
}

void BrowseLookup::showEvent(QShowEvent *event)
{
    if (!m_placed) {
        m_placed = true;
        IniFile positions(positionFilePath());
        WidgetGeometry geometry(frameWindow());
        restoreWindowPosition(positions, m_controller.spec().section, geometry);
        if (m_controller.spec().minimumWidthUnits <= 0)
            setMinimumSize(size()); // not below the size it opens with
    }
    QDialog::showEvent(event);
}

void BrowseLookup::savePosition()
{
    if (m_saved)
        return;
    m_saved = true;
    IniFile positions(positionFilePath());
    if (!m_controller.spec().layoutControl.isEmpty())
        m_list->saveLayout(positions, m_controller.spec().section,
                           m_controller.spec().layoutControl);
    if (m_placed) {
        WidgetGeometry geometry(frameWindow());
        saveWindowPosition(positions, m_controller.spec().section, geometry);
    }
}

void BrowseLookup::ended(int response)
{
    savePosition();
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget())) {
        sub->close();
        return;
    }
    QDialog::done(response == Program::Completed ? Accepted : Rejected);
}

void BrowseLookup::done(int result)
{
    // Escape and the window's close button end the browse as Close does.
    if (!m_controller.finishedWith()) {
        m_controller.close();
        return;
    }
    QDialog::done(result);
}

void BrowseLookup::closeEvent(QCloseEvent *event)
{
    if (!m_controller.finishedWith())
        m_controller.close();
    savePosition();
    event->accept();
}

BrowseCategories::BrowseCategories(Program &program, bool selectMode, QWidget *parent)
    : BrowseLookup(program, categoriesBrowseSpec(), selectMode, parent)
{
}

BrowseMedia::BrowseMedia(Program &program, bool selectMode, QWidget *parent)
    : BrowseLookup(program, mediaBrowseSpec(), selectMode, parent)
{
}

namespace {
int runBrowse(Program &program, BrowseLookup &window)
{
    if (!window.isOpen()) {
        program.response = Program::Cancelled;
        return program.response;
    }
    window.exec();
    return program.response;
}
} // namespace

int runBrowseCategories(Program &program, bool selectMode, QWidget *parent)
{
    BrowseCategories window(program, selectMode, parent);
    return runBrowse(program, window);
}

int runBrowseMedia(Program &program, bool selectMode, QWidget *parent)
{
    BrowseMedia window(program, selectMode, parent);
    return runBrowse(program, window);
}

} // namespace cx
