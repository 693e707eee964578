#include "shell/mainframe.h"

#include "lists/listmoves.h"
#include "platform/ui/helpwindow.h"
#include "platform/ui/images.h"
#include "shell/aboutbox.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QIcon>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QStatusBar>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>

// The help pages live in the shell library; a static library's resources are
// linked only when something names them.
static void initHelpPages()
{
    Q_INIT_RESOURCE(help);
}

namespace cx {

QString MainFrame::builtInLogoPath()
{
    return iconPath(QStringLiteral("crx97ylh"));
}

QString MainFrame::iconPath(const QString &name)
{
    return imagePath(name);
}

MainFrame::MainFrame(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("mainFrame"));
    initHelpPages();
    setWindowTitle(tr("Cantorix"));
    setWindowIcon(QIcon(iconPath(QStringLiteral("cantorix"))));

    m_mdi = new QMdiArea;
    m_mdi->setObjectName(QStringLiteral("mdiArea"));
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdi);

    buildMenus();
    buildToolBar();
    statusBar()->setObjectName(QStringLiteral("statusLine"));
    setBuiltInLogo();

    // What the frame does by itself.
    setCommandHandler(QStringLiteral("actionPrintSetup"), [this] {
        QPageSetupDialog dialog(printer(), this);
        dialog.exec();
    });
    setCommandHandler(QStringLiteral("actionExit"), [this] { close(); });
    setCommandHandler(QStringLiteral("actionCut"), [this] { editCommand(Edit::Cut); });
    setCommandHandler(QStringLiteral("actionCopy"), [this] { editCommand(Edit::Copy); });
    setCommandHandler(QStringLiteral("actionPaste"), [this] { editCommand(Edit::Paste); });
    setCommandHandler(QStringLiteral("actionTile"), [this] { m_mdi->tileSubWindows(); });
    setCommandHandler(QStringLiteral("actionCascade"), [this] { m_mdi->cascadeSubWindows(); });
    setCommandHandler(QStringLiteral("actionArrangeIcons"), [this] { arrangeIcons(); });
    setCommandHandler(QStringLiteral("actionHelpContents"),
                      [this] { helpWindow()->showContents(); });
    setCommandHandler(QStringLiteral("actionHelpSearch"), [this] { helpWindow()->showSearch(); });
    setCommandHandler(QStringLiteral("actionHelpOnHelp"),
                      [this] { helpWindow()->showHelpOnHelp(); });
    setCommandHandler(QStringLiteral("actionAbout"), [this] {
        // Each About opens a box of its own, like every other window command.
        auto *box = new AboutBox(this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->show();
    });

    resize(900, 640);
}

MainFrame::~MainFrame()
{
    // The child windows go after this part of the frame: their focus changes
    // and the area's last activation must not reach it.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
    disconnect(m_mdi, nullptr, this, nullptr);
}

QMenu *MainFrame::addMenu(QWidget *parentMenu, const QString &name, const QString &title,
                          const QString &tip)
{
    QMenu *menu = nullptr;
    if (auto *bar = qobject_cast<QMenuBar *>(parentMenu))
        menu = bar->addMenu(title);
    else
        menu = static_cast<QMenu *>(parentMenu)->addMenu(title);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    menu->menuAction()->setStatusTip(tip);
    m_actions.insert(name, menu->menuAction());
    return menu;
}

QAction *MainFrame::addCommand(QMenu *menu, const QString &name, const QString &text,
                               const QString &tip, const QString &icon)
{
    QAction *a = menu->addAction(text);
    a->setObjectName(name);
    a->setStatusTip(tip);
    if (!icon.isEmpty())
        a->setIcon(QIcon(iconPath(icon)));
    a->setEnabled(false); // until something carries it out
    connect(a, &QAction::triggered, this, [this, name] { runCommand(name); });
    m_actions.insert(name, a);
    m_ordered << a;
    return a;
}

void MainFrame::buildMenus()
{
    QMenuBar *bar = menuBar();

    QMenu *file = addMenu(bar, QStringLiteral("menuFile"), tr("&File"));
    addCommand(file, QStringLiteral("actionPrintSetup"), tr("&Print Setup ..."),
               tr("Setup printer"));
    addCommand(file, QStringLiteral("actionPreferences"), tr("Pre&ferences"),
               tr("Options and settings"));
    file->addSeparator();
    addCommand(file, QStringLiteral("actionImport"), tr("&Import"),
               tr("Import from a comma-delimited file"));
    addCommand(file, QStringLiteral("actionExport"), tr("&Export"),
               tr("Export to a comma-delimited file"));
    file->addSeparator();
    addCommand(file, QStringLiteral("actionCDPlayer"), tr("&CD Player"), tr("Start the CD Player"),
               QStringLiteral("smcd"));
    file->addSeparator();
    addCommand(file, QStringLiteral("actionExit"), tr("E&xit"), tr("Exit this application"));

    QMenu *edit = addMenu(bar, QStringLiteral("menuEdit"), tr("&Edit"));
    addCommand(edit, QStringLiteral("actionCut"), tr("Cu&t"), tr("Remove item to Windows Clipboard"))
        ->setShortcut(QKeySequence::Cut);
    addCommand(edit, QStringLiteral("actionCopy"), tr("&Copy"), tr("Copy item to Windows Clipboard"))
        ->setShortcut(QKeySequence::Copy);
    addCommand(edit, QStringLiteral("actionPaste"), tr("&Paste"),
               tr("Paste contents of Windows Clipboard"))
        ->setShortcut(QKeySequence::Paste);
    // Line and text editors claim these keys before the shortcuts see them,
    // so the menu shortcuts act only where the focused widget does not.

    QMenu *browse = addMenu(bar, QStringLiteral("menuBrowse"), tr("&Browse"));
    addCommand(browse, QStringLiteral("actionBrowseAlbums"), tr("&Albums"),
               tr("Browse Information by Album"), QStringLiteral("notepage"));
    addCommand(browse, QStringLiteral("actionBrowseSongs"), tr("&Songs"),
               tr("Browse Cantorix Database"), QStringLiteral("note"));
    browse->addSeparator();
    QMenu *wizards = addMenu(browse, QStringLiteral("menuWizards"), tr("&Wizards"));
    addCommand(wizards, QStringLiteral("actionAddCompilation"), tr("Add &Compilation"), QString());
    addCommand(wizards, QStringLiteral("actionAddSingleArtist"), tr("Add &Single Artist Album"),
               QString());
    addCommand(wizards, QStringLiteral("actionAddLabel"), tr("Add &Label"), QString());
    browse->addSeparator();
    addCommand(browse, QStringLiteral("actionBrowseLabels"), tr("&Labels"), QString(),
               QStringLiteral("labels"));
    addCommand(browse, QStringLiteral("actionBrowsePlayLists"), tr("&Play Lists"), QString(),
               QStringLiteral("playlists"));
    browse->addSeparator();
    addCommand(browse, QStringLiteral("actionBrowseCategories"), tr("&Categories"), QString());
    addCommand(browse, QStringLiteral("actionBrowseMedia"), tr("&Media Formats"),
               tr("Browse Media Formats"));

    QMenu *reports = addMenu(bar, QStringLiteral("menuReports"), tr("&Reports"));
    QMenu *songs = addMenu(reports, QStringLiteral("menuReportSongs"), tr("&Songs"),
                           tr("Generate Song Report"));
    addCommand(songs, QStringLiteral("actionReportSongsByArtist"), tr("By &Artist"),
               tr("Print ordered by Songs By Artist"));
    addCommand(songs, QStringLiteral("actionReportSongsByTitle"), tr("By &Title"),
               tr("Print ordered by Songs By Title"));
    addCommand(songs, QStringLiteral("actionReportSongsByAlbum"), tr("By A&lbum"),
               tr("Print ordered by Songs By Album"));
    addCommand(songs, QStringLiteral("actionReportSongsByMedia"), tr("By &Media"),
               tr("Print ordered by Songs By Media"));
    addCommand(songs, QStringLiteral("actionReportSongsByCategory"), tr("By &Category"),
               tr("Print ordered by Songs By Category"));
    addCommand(songs, QStringLiteral("actionReportSongsByBPM"), tr("By &BPM"),
               tr("Songs by Beats Per Minute"));
    QMenu *albums = addMenu(reports, QStringLiteral("menuReportAlbums"), tr("&Albums"),
                            tr("Generate Album Report"));
    addCommand(albums, QStringLiteral("actionReportAlbumsByArtist"), tr("By &Artist"),
               tr("Print List of Albums by Artist"));
    addCommand(albums, QStringLiteral("actionReportAlbumsByAlbum"), tr("By A&lbum"),
               tr("Print List of Albums"));
    addCommand(albums, QStringLiteral("actionReportAlbumsByFileNumber"), tr("By &File Number"),
               tr("Print List of Albums by File Number"));
    addCommand(albums, QStringLiteral("actionReportCDBinderPages"), tr("CD Binder Pages"),
               tr("Print 4 per page CD listings"));
    QMenu *savers = addMenu(reports, QStringLiteral("menuReportPaperSavers"), tr("Paper S&avers"),
                            tr("Reports Using Small Fonts"));
    addCommand(savers, QStringLiteral("actionReportPaperSaverByArtist"), tr("By &Artist"),
               QString());
    addCommand(savers, QStringLiteral("actionReportPaperSaverByTitle"), tr("By &Title"),
               QString());
    reports->addSeparator();
    addCommand(reports, QStringLiteral("actionReportLabels"), tr("&Labels"),
               tr("Design and Print CD and Cassette Labels"), QStringLiteral("labels"));
    addCommand(reports, QStringLiteral("actionReportPlaylists"), tr("&Playlists"), QString(),
               QStringLiteral("playlists"));
    addCommand(reports, QStringLiteral("actionReportDJLog"), tr("DJ Log"),
               tr("Log ordered by Artist and Title"));

    m_windowMenu = addMenu(bar, QStringLiteral("menuWindow"), tr("&Window"),
                           tr("Create and Arrange windows"));
    addCommand(m_windowMenu, QStringLiteral("actionTile"), tr("T&ile"),
               tr("Make all open windows visible"));
    addCommand(m_windowMenu, QStringLiteral("actionCascade"), tr("&Cascade"),
               tr("Stack all open windows"));
    addCommand(m_windowMenu, QStringLiteral("actionArrangeIcons"), tr("&Arrange Icons"),
               tr("Align all window icons"));
    connect(m_windowMenu, &QMenu::aboutToShow, this, &MainFrame::fillWindowList);

    QMenu *help = addMenu(bar, QStringLiteral("menuHelp"), tr("&Help"), tr("Windows Help"));
    addCommand(help, QStringLiteral("actionHelpContents"), tr("&Contents"),
               tr("View the contents of the help file"));
    addCommand(help, QStringLiteral("actionHelpSearch"), tr("&Search for Help On..."),
               tr("Search for help on a subject"));
    addCommand(help, QStringLiteral("actionHelpOnHelp"), tr("&How to Use Help"),
               tr("How to use Windows Help"));
    help->addSeparator();
    addCommand(help, QStringLiteral("actionAbout"), tr("&About"), tr("Help About This Program"));
}

void MainFrame::addToolButton(const QString &name, const QString &text,
                              const QString &menuCommand, const QString &icon)
{
    QAction *command = m_actions.value(menuCommand);
    Q_ASSERT(command);
    QAction *button = m_toolBar->addAction(QIcon(iconPath(icon)), text);
    button->setObjectName(name);
    button->setStatusTip(command->statusTip());
    button->setToolTip(text);
    button->setEnabled(command->isEnabled());
    // The button is the menu command: same handler, same enabled state.
    connect(button, &QAction::triggered, command, &QAction::trigger);
    connect(command, &QAction::enabledChanged, button, &QAction::setEnabled);
    m_actions.insert(name, button);
    m_mirrorOf.insert(name, menuCommand);
    m_ordered << button;
}

void MainFrame::buildToolBar()
{
    m_toolBar = addToolBar(tr("Toolbar"));
    m_toolBar->setObjectName(QStringLiteral("mainToolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setIconSize(QSize(24, 24));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolBar->toggleViewAction()->setVisible(false);

    addToolButton(QStringLiteral("toolAlbums"), tr("Albums"), QStringLiteral("actionBrowseAlbums"),
                  QStringLiteral("notepage"));
    addToolButton(QStringLiteral("toolSongs"), tr("Songs"), QStringLiteral("actionBrowseSongs"),
                  QStringLiteral("note"));
    addToolButton(QStringLiteral("toolLabels"), tr("Labels"), QStringLiteral("actionBrowseLabels"),
                  QStringLiteral("labels"));
    addToolButton(QStringLiteral("toolPlaylists"), tr("Playlists"),
                  QStringLiteral("actionBrowsePlayLists"), QStringLiteral("playlists"));
    addToolButton(QStringLiteral("toolPlayCD"), tr("Play CD"), QStringLiteral("actionCDPlayer"),
                  QStringLiteral("smcd"));

    // The record and page buttons move the list of the active child window.
    m_toolBar->addSeparator();
    m_listMoves = makeListMoveActions(this, [this]() -> QWidget * {
        QMdiSubWindow *active = m_mdi->activeSubWindow();
        return active ? active->widget() : nullptr;
    });
    for (QAction *move : m_listMoves) {
        m_toolBar->addAction(move);
        if (auto *button = qobject_cast<QToolButton *>(m_toolBar->widgetForAction(move)))
            button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        m_actions.insert(move->objectName(), move);
    }
    connect(m_mdi, &QMdiArea::subWindowActivated, this, &MainFrame::updateListMoves);
    connect(qApp, &QApplication::focusChanged, this, &MainFrame::updateListMoves);
    updateListMoves();

    auto *spacer = new QWidget;
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_toolBar->addWidget(spacer);
    m_logo = new QLabel;
    m_logo->setObjectName(QStringLiteral("frameLogo"));
    m_logo->setAlignment(Qt::AlignCenter);
    m_logo->setContentsMargins(4, 0, 4, 0);
    m_toolBar->addWidget(m_logo);
}

void MainFrame::updateListMoves()
{
    QMdiSubWindow *active = m_mdi->activeSubWindow();
    const bool any = active && listToMove(active->widget());
    for (QAction *move : m_listMoves)
        move->setEnabled(any);
}

QAction *MainFrame::action(const QString &objectName) const
{
    return m_actions.value(objectName);
}

QStringList MainFrame::commandNames() const
{
    QStringList names;
    for (const QAction *a : m_ordered)
        names << a->objectName();
    return names;
}

bool MainFrame::setCommandHandler(const QString &objectName, std::function<void()> handler)
{
    const QString name = m_mirrorOf.value(objectName, objectName);
    QAction *a = m_actions.value(name);
    if (!a || !m_ordered.contains(a))
        return false; // unknown, or a menu title
    if (handler)
        m_handlers.insert(name, std::move(handler));
    else
        m_handlers.remove(name);
    a->setEnabled(m_handlers.contains(name));
    return true;
}

void MainFrame::setCloseHandler(std::function<void()> handler)
{
    m_closeHandler = std::move(handler);
}

void MainFrame::runCommand(const QString &name)
{
    emit commandIssued();
    // A copy: the handler may replace itself while it runs.
    const std::function<void()> handler = m_handlers.value(name);
    if (handler)
        handler();
}

QMdiSubWindow *MainFrame::addChildWindow(QWidget *widget)
{
    QMdiSubWindow *sub = m_mdi->addSubWindow(widget);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    if (!widget->windowIcon().isNull())
        sub->setWindowIcon(widget->windowIcon());
    sub->show();
    widget->show();
    return sub;
}

int MainFrame::logoHeight() const
{
    // As tall as the toolbar buttons, whether or not the frame is laid out yet.
    if (const QWidget *button = m_toolBar->widgetForAction(m_actions.value(QStringLiteral("toolAlbums"))))
        return button->sizeHint().height();
    return m_toolBar->iconSize().height();
}

bool MainFrame::setLogo(const QString &imagePath)
{
    m_logo->clear();
    if (imagePath.trimmed().isEmpty())
        return false;
    QImageReader reader(imagePath);
    reader.setAutoTransform(true);
    const qreal ratio = devicePixelRatioF();
    const int height = qRound(logoHeight() * ratio);
    // Asking the reader for the final size lets vector images be drawn at it
    // instead of being scaled from their own size.
    const QSize size = reader.size();
    if (size.isValid() && size.height() > 0)
        reader.setScaledSize(QSize(qMax(1, size.width() * height / size.height()), height));
    QImage image = reader.read();
    if (image.isNull())
        return false;
    if (image.height() != height) // formats that tell their size only once read
        image = image.scaledToHeight(height, Qt::SmoothTransformation);
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(ratio);
    m_logo->setPixmap(pixmap);
    return true;
}

void MainFrame::setBuiltInLogo()
{
    setLogo(builtInLogoPath());
}

QPrinter *MainFrame::printer()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return m_printer.get();
}

HelpWindow *MainFrame::helpWindow()
{
    if (!m_help) {
        m_help = new HelpWindow(QStringLiteral(":/help"), this);
        m_help->setWindowIcon(windowIcon());
    }
    return m_help;
}

void MainFrame::editCommand(Edit edit)
{
    QWidget *w = QApplication::focusWidget();
    if (!w)
        return;
    if (auto *combo = qobject_cast<QComboBox *>(w); combo && combo->lineEdit())
        w = combo->lineEdit();
    if (auto *line = qobject_cast<QLineEdit *>(w)) {
        switch (edit) {
        case Edit::Cut: line->cut(); break;
        case Edit::Copy: line->copy(); break;
        case Edit::Paste: line->paste(); break;
        }
    } else if (auto *text = qobject_cast<QTextEdit *>(w)) {
        switch (edit) {
        case Edit::Cut: text->cut(); break;
        case Edit::Copy: text->copy(); break;
        case Edit::Paste: text->paste(); break;
        }
    } else if (auto *plain = qobject_cast<QPlainTextEdit *>(w)) {
        switch (edit) {
        case Edit::Cut: plain->cut(); break;
        case Edit::Copy: plain->copy(); break;
        case Edit::Paste: plain->paste(); break;
        }
    } else {
        // Other widgets (lists, spin boxes) know the standard keys.
        const QKeySequence keys(edit == Edit::Cut    ? QKeySequence::Cut
                                : edit == Edit::Copy ? QKeySequence::Copy
                                                     : QKeySequence::Paste);
        if (keys.isEmpty())
            return;
        const QKeyCombination combination = keys[0];
        QKeyEvent press(QEvent::KeyPress, combination.key(), combination.keyboardModifiers());
        QKeyEvent release(QEvent::KeyRelease, combination.key(), combination.keyboardModifiers());
        QApplication::sendEvent(w, &press);
        QApplication::sendEvent(w, &release);
    }
}

void MainFrame::arrangeIcons()
{
    const QRect area = m_mdi->viewport()->rect();
    int x = 0;
    int bottom = area.bottom() + 1;
    int rowHeight = 0;
    const QList<QMdiSubWindow *> windows = m_mdi->subWindowList(QMdiArea::CreationOrder);
    for (QMdiSubWindow *sub : windows) {
        if (!sub->isMinimized() || sub->isHidden())
            continue;
        const QSize size = sub->size();
        if (x > 0 && x + size.width() > area.width()) { // next row up
            x = 0;
            bottom -= rowHeight;
            rowHeight = 0;
        }
        sub->move(x, bottom - size.height());
        x += size.width();
        rowHeight = qMax(rowHeight, size.height());
    }
}

void MainFrame::fillWindowList()
{
    // Below the arrangement commands: one entry per child window, the active
    // one checked, as a multiple-document frame lists them.
    qDeleteAll(m_windowListActions);
    m_windowListActions.clear();
    delete m_windowListGroup;
    const QList<QMdiSubWindow *> windows = m_mdi->subWindowList(QMdiArea::CreationOrder);
    if (windows.isEmpty())
        return;
    m_windowListActions << m_windowMenu->addSeparator();
    auto *group = new QActionGroup(m_windowMenu);
    m_windowListGroup = group;
    int number = 0;
    for (QMdiSubWindow *sub : windows) {
        ++number;
        QString text = sub->windowTitle();
        text.replace(QLatin1Char('&'), QStringLiteral("&&"));
        if (number < 10)
            text = QLatin1Char('&') + QString::number(number) + QLatin1Char(' ') + text;
        QAction *entry = m_windowMenu->addAction(text);
        entry->setCheckable(true);
        entry->setChecked(sub == m_mdi->activeSubWindow());
        entry->setActionGroup(group);
        QPointer<QMdiSubWindow> target(sub);
        connect(entry, &QAction::triggered, this, [this, target] {
            if (!target)
                return;
            if (target->isMinimized())
                target->showNormal();
            m_mdi->setActiveSubWindow(target);
        });
        m_windowListActions << entry;
    }
}

void MainFrame::closeEvent(QCloseEvent *event)
{
    // Every child window first; one that refuses (a form with unsaved
    // changes, say) keeps the whole frame open.
    const QList<QMdiSubWindow *> windows = m_mdi->subWindowList(QMdiArea::CreationOrder);
    for (QMdiSubWindow *sub : windows) {
        QPointer<QMdiSubWindow> guard(sub);
        if (guard && !guard->close()) {
            event->ignore();
            return;
        }
    }
    if (m_closeHandler)
        m_closeHandler();
    if (m_help)
        m_help->close();
    event->accept();
}

} // namespace cx
