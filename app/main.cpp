// Cantorix: a catalogue of a personal music collection. The program works in
// its working directory: the catalogue file and the window layout live there.
#include "platform/ui/messageboxprompter.h"
#include "platform/ui/shutdownwatcher.h"
#include "shell/framecommands.h"
#include "shell/mainframe.h"
#include "shell/startup.h"
#include "store/program.h"

#include <QApplication>
#include <QDir>
#include <QIcon>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Cantorix"));
    QApplication::setWindowIcon(QIcon(cx::MainFrame::iconPath(QStringLiteral("cantorix"))));

    cx::MessageBoxPrompter prompter;
    cx::Program program(QDir::current().filePath(QStringLiteral("cantorix.db")), prompter);
    cx::MainFrame frame;
    cx::Startup startup(program, frame);
    cx::connectFrameCommands(program, frame);
    if (!startup.run())
        return 1; // the closing message has been shown; nothing more is touched

    // Log-off, shut-down and a TERM signal close the frame the normal way, so
    // that every window saves its place and closes its tables.
    cx::ShutdownWatcher watcher;
    QObject::connect(&watcher, &cx::ShutdownWatcher::shutdownRequested, &frame, &QWidget::close);
    startup.showSplash();
    return QApplication::exec();
}
