#include "shell/songbrowsewindow.h"

#include "platform/settings/inifile.h"
#include "platform/ui/widgetgeometry.h"
#include "shell/mainframe.h"
#include "songs/browsesongs.h"
#include "store/settingspaths.h"
#include "store/windowposition.h"

#include <QMdiSubWindow>

namespace cx
{

QWidget *openBrowseSongs(Program &program, MainFrame &frame)
{
    auto *browse = new BrowseSongs(program);
    if (!browse->open()) {
        delete browse;
        return nullptr;
    }
    QMdiSubWindow *sub = frame.addChildWindow(browse);
    IniFile positions(positionFilePath());
    WidgetGeometry geometry(sub);
    restoreWindowPosition(positions, QStringLiteral("BrowseSongs"), geometry);
    return browse;
}

} // namespace cx
