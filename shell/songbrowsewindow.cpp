#include "shell/songbrowsewindow.h"

#include "platform/settings/inifile.h"
#include "platform/ui/widgetgeometry.h"
#include "shell/mainframe.h"
#include "songs/browselookup.h"
#include "songs/browsesongs.h"
#include "store/program.h"
#include "store/settingspaths.h"
#include "store/windowposition.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace cx
{

QWidget *openBrowseSongs(Program &program, MainFrame &frame)
{
    auto *browse = new BrowseSongs(program);
    // The range tabs choose their media format and category from the lookup
    // browses in select mode; the chosen record is in the table's buffer.
    browse->setMediaChooser([&program, browse](QString &media) {
        if (runBrowseMedia(program, true, browse) != Program::Completed)
            return false;
        media = program.table(TableId::Media).buffer().text(QStringLiteral("MED:Media"));
        return true;
    });
    browse->setCategoryChooser([&program, browse](qint64 &category) {
        if (runBrowseCategories(program, true, browse) != Program::Completed)
            return false;
        category = program.table(TableId::Categories).buffer().number(QStringLiteral("CAT:CategoryID"));
        return true;
    });
    if (!browse->open()) {
        delete browse;
        return nullptr;
    }
    QMdiSubWindow *sub = frame.addChildWindow(browse);
    // Wide enough for the list's columns until the user places it; a saved
    // place and size replace this.
    sub->resize(sub->size().expandedTo(QSize(900, 460)).boundedTo(frame.mdiArea()->size().expandedTo(QSize(400, 200))));
    IniFile positions(positionFilePath());
    WidgetGeometry geometry(sub);
    restoreWindowPosition(positions, QStringLiteral("BrowseSongs"), geometry);
    return browse;
}

} // namespace cx
