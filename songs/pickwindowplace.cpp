#include "songs/pickwindowplace.h"

#include "lists/pagelist.h"
#include "platform/settings/inifile.h"
#include "platform/ui/widgetgeometry.h"
#include "store/settingspaths.h"
#include "store/windowposition.h"

namespace cx {

PickWindowPlace::PickWindowPlace(const QString &section, const QString &layoutControl)
    : m_section(section), m_layoutControl(layoutControl)
{
}

void PickWindowPlace::restoreOnFirstShow(QWidget *window)
{
    if (m_placed)
        return;
    m_placed = true;
    IniFile positions(positionFilePath());
    WidgetGeometry geometry(window);
    restoreWindowPosition(positions, m_section, geometry);
}

bool PickWindowPlace::end(QWidget *window, PageList *list)
{
    if (m_ended)
        return false;
    m_ended = true;
    IniFile positions(positionFilePath());
    list->saveLayout(positions, m_section, m_layoutControl);
    if (m_placed) {
        WidgetGeometry geometry(window);
        saveWindowPosition(positions, m_section, geometry);
    }
    return true;
}

} // namespace cx
