#pragma once
// From the start of the program until the frame waits for the user: open the
// frame's tables, fill an empty media list, place the frame, record the version
// and the data directory (and carry the oldest version's songs over in a new
// directory), load the settings, offer to build the albums from the songs,
// show the logo and the splash, and open the start-up windows when the splash
// has gone. Also the frame's end.
#include "maintenance/progresswindow.h"
#include "shell/splash.h"

#include <QObject>
#include <QPointer>

namespace cx {

class MainFrame;
class Program;

class Startup : public QObject
{
    Q_OBJECT
public:
    Startup(Program &program, MainFrame &frame);

    // Runs the start-up steps and shows the frame; false when the program must
    // end (its closing message has been shown).
    bool run();
    // Shows the splash; when it closes the start-up windows open.
    void showSplash(int milliseconds = 1000);

    QString previousVersion() const { return m_previousVersion; }
    // True when this start found a data directory other than the last one.
    bool dataDirectoryChanged() const { return m_dataDirectoryChanged; }
    Splash *splash() const { return m_splash; }
    // The window moving the previous version's songs, while it is open.
    ProgressWindow *upgradeWindow() const { return m_upgradeWindow; }
    // The media formats written to an empty media list, in order.
    static QStringList standardMedia();

private:
    bool openFrameTables();
    void fillMedia();
    void recordDataDirectory();
    bool startUpgrade();
    // The version read at this start is below the one that brought the album
    // table (a blank version counts as 0).
    static bool versionBeforeAlbums(const QString &version);
    void offerAlbumCopy();
    void showLogo();
    void openStartupWindows();
    void closeDown();

    Program &m_program;
    MainFrame &m_frame;
    QString m_previousVersion;
    bool m_dataDirectoryChanged = false;
    int m_tablesOpened = 0;
    QPointer<Splash> m_splash;
    QPointer<ProgressWindow> m_upgradeWindow;
};

} // namespace cx
