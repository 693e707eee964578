#include "shell/startup.h"

#include "maintenance/compilestamp.h"
#include "maintenance/copytoalbum.h"
#include "maintenance/progresswindow.h"
#include "maintenance/upgradefiles.h"
#include "platform/settings/inifile.h"
#include "platform/ui/widgetgeometry.h"
#include "shell/mainframe.h"
#include "shell/splash.h"
#include "store/opentable.h"
#include "store/program.h"
#include "store/settings.h"
#include "store/settingspaths.h"
#include "store/version.h"
#include "store/windowposition.h"

#include <QAction>
#include <QDir>

#include <algorithm>

namespace cx {

namespace {
const TableId frameTables[] = {TableId::Album, TableId::Media, TableId::Songs};
const QString frameSection = QStringLiteral("Main");
} // namespace

Startup::Startup(Program &program, MainFrame &frame) : QObject(&frame), m_program(program), m_frame(frame) {}

QStringList Startup::standardMedia()
{
    return {QStringLiteral("CD"),
            QStringLiteral("LP"),
            QStringLiteral("EP"),
            QStringLiteral("7\" Single"),
            QStringLiteral("CD Single"),
            QStringLiteral("Cassette (Dolby B)"),
            QStringLiteral("Cassette (Dolby C)"),
            QStringLiteral("Cassette (Dolby S)"),
            QStringLiteral("Cassette (DBX)"),
            QStringLiteral("Cassette (HX Pro)"),
            QStringLiteral("Cassette (Prerecorded)"),
            QStringLiteral("Other")};
}

bool Startup::openFrameTables()
{
    for (TableId id : frameTables) {
        if (!openTable(m_program, id))
            return false;
        ++m_tablesOpened;
    }
    // Every other table is opened once and closed again: a new data directory
    // gets all its tables at the first start, and a damaged table is reported
    // now rather than in the middle of some later work. Opening only checks
    // the table's structure, whatever its size.
    for (TableId id : allTables()) {
        if (std::find(std::begin(frameTables), std::end(frameTables), id) != std::end(frameTables))
            continue;
        if (!openTable(m_program, id))
            return false;
        closeTable(m_program, id);
    }
    return true;
}

void Startup::fillMedia()
{
    Table &media = m_program.table(TableId::Media);
    if (!media.isEmpty())
        return;
    // One transaction: another copy starting at the same moment either sees
    // the whole list or none of it, and fills nothing twice.
    if (m_program.database().begin() != StorageCode::NoError)
        return;
    if (!media.isEmpty()) {
        m_program.database().rollback();
        return;
    }
    for (const QString &name : standardMedia()) {
        media.clear();
        media.buffer().set(QStringLiteral("MED:Media"), name);
        if (media.add() != StorageCode::NoError) {
            m_program.database().rollback();
            return;
        }
    }
    m_program.database().commit();
}

void Startup::recordDataDirectory()
{
    IniFile general(generalSettingsPath());
    const QString here = QDir::currentPath();
    const SettingKey crx = setting::upgradeDirectory();
    if (crx.read(general) == here)
        return;
    // Written before the move starts, so that the move is tried once per
    // directory: a cancelled or failed move is not repeated at every start.
    crx.write(general, here);
    m_dataDirectoryChanged = true;
}

bool Startup::startUpgrade()
{
    // A window of its own in the frame, and only when there is something to
    // move; the frame goes on while it works.
    auto *window = new ProgressWindow(std::make_unique<UpgradeFiles>(m_program));
    if (!window->start()) {
        delete window;
        return !m_program.halted();
    }
    m_upgradeWindow = window;
    m_frame.addChildWindow(window);
    return true;
}

bool Startup::versionBeforeAlbums(const QString &version)
{
    bool ok = false;
    const double number = version.trimmed().toDouble(&ok);
    return (ok ? number : 0.0) < 1.5;
}

void Startup::offerAlbumCopy()
{
    if (!versionBeforeAlbums(m_previousVersion))
        return;
    if (!m_program.table(TableId::Album).isEmpty() || m_program.table(TableId::Songs).isEmpty())
        return;
    const Message offer{QStringLiteral("Album Database Empty"),
                        QStringLiteral("Do you want to copy your album information from the general music "
                                       "database into the album database? (Recommended)"),
                        Icon::Question, Yes | No, Yes};
    if (m_program.prompter().show(offer) != Yes)
        return;
    // On the frame's own loop: the frame takes no commands until the copy ends.
    ProgressWindow copy(std::make_unique<CopyToAlbum>(m_program), &m_frame);
    copy.exec();
    if (m_program.halted())
        return;
    // From now on songs saved without an album get one.
    m_program.settings.autoAddToAlbums = QStringLiteral("1");
    IniFile main(mainSettingsPath());
    setting::autoAddToAlbums().write(main, QStringLiteral("1"));
}

void Startup::showLogo()
{
    IniFile main(mainSettingsPath());
    // The last non-blank of these wins.
    QString logo = setting::frameLogo().read(main).trimmed();
    if (!m_program.settings.logo.trimmed().isEmpty())
        logo = m_program.settings.logo.trimmed();
    const QString mainLogo = setting::mainLogo().read(main).trimmed();
    if (!mainLogo.isEmpty())
        logo = mainLogo;
    if (logo.isEmpty())
        m_frame.setBuiltInLogo();
    else
        m_frame.setLogo(logo); // an unreadable image leaves the logo area empty
}

bool Startup::run()
{
    if (!openFrameTables())
        return false;
    fillMedia();

    IniFile positions(positionFilePath());
    WidgetGeometry geometry(&m_frame);
    restoreWindowPosition(positions, frameSection, geometry);
    m_frame.setCloseHandler([this] { closeDown(); });
    // The frame is open before anything that shows a window over it or in it.
    m_frame.show();
    noteWindowOpened();

    IniFile main(mainSettingsPath());
    m_previousVersion = setting::version().read(main);
    setting::version().write(main, programVersion());
    recordDataDirectory();
    if (m_dataDirectoryChanged && !startUpgrade())
        return false;
    loadSettings(main, m_program.settings, m_program.criteria);
    offerAlbumCopy();
    if (m_program.halted())
        return false;
    showLogo();
    return true;
}

void Startup::showSplash(int milliseconds)
{
    auto *splash = new Splash(&m_frame);
    splash->setAttribute(Qt::WA_DeleteOnClose);
    splash->setInterval(milliseconds);
    m_splash = splash;
    connect(splash, &Splash::finished, this, &Startup::openStartupWindows);
    connect(&m_frame, &MainFrame::commandIssued, splash, &Splash::closeNow);
    splash->show();
}

void Startup::openStartupWindows()
{
    const Settings &s = m_program.settings;
    const QPair<bool, const char *> windows[] = {{s.suSongs, "actionBrowseSongs"},
                                                 {s.suAlbums, "actionBrowseAlbums"},
                                                 {s.suPlaylists, "actionBrowsePlayLists"},
                                                 {s.suLabels, "actionBrowseLabels"}};
    for (const auto &[wanted, command] : windows) {
        QAction *action = m_frame.action(QString::fromLatin1(command));
        if (wanted && action && action->isEnabled())
            action->trigger();
    }
}

void Startup::closeDown()
{
    IniFile positions(positionFilePath());
    WidgetGeometry geometry(&m_frame);
    saveWindowPosition(positions, frameSection, geometry);
    for (; m_tablesOpened > 0; --m_tablesOpened)
        closeTable(m_program, frameTables[m_tablesOpened - 1]);
}

} // namespace cx
