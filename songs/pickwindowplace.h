#pragma once
// What a pick list window does with its place: it opens where it was last
// closed (once, when first shown), and on ending it saves its list layout and,
// if it was ever shown, its place. Shared by the album and song pick lists.
#include <QString>

class QWidget;

namespace cx {

class PageList;

class PickWindowPlace
{
public:
    PickWindowPlace(const QString &section, const QString &layoutControl);

    void restoreOnFirstShow(QWidget *window);
    // Saves the layout and the place; false when the window had ended already.
    bool end(QWidget *window, PageList *list);
    bool ended() const { return m_ended; }

private:
    QString m_section;
    QString m_layoutControl;
    bool m_placed = false;
    bool m_ended = false;
};

} // namespace cx
