#pragma once
// The list widget of every list window: draws the controller's page in a
// table view whose header comes from the list format, and forwards keys,
// wheel and scroll bar to the controller. The vertical scroll bar is our own
// with 100 positions, the thumb of the controller; the view's own is off,
// since the view only ever holds one page.
//
// The user may resize the resizable columns and drag columns to another
// place; currentFormat() writes the layout back as a format text, which
// saveLayout() keeps in POSITION.INI and restoreLayout() applies again, after
// the global date format has been given to the designed format.
#include "platform/ui/listformat.h"

#include <QWidget>

class QScrollBar;
class QTableView;

namespace cx
{

class IniFile;
class ListController;
class PageModel;

class PageList : public QWidget
{
    Q_OBJECT
public:
    PageList(ListController &controller, const QString &designedFormat, QWidget *parent = nullptr);
    ~PageList() override;

    ListController &controller() const { return m_controller; }
    QTableView *view() const { return m_view; }
    QScrollBar *scrollBar() const { return m_scrollBar; }

    // The designed format, and the one shown (widths and order as the user left them).
    QString designedFormat() const { return m_designed; }
    QString currentFormat() const;
    const ListFormat &format() const;
    // Shows the designed format with the global date format applied, then the
    // user's saved layout if it was made from that same format.
    void restoreLayout(IniFile &file, const QString &section, const QString &control,
                       const QString &dateFormat);
    void saveLayout(IniFile &file, const QString &section, const QString &control) const;
    // Takes widths and column order from a saved format text whose columns
    // are those shown; false (and nothing changed) for any other text.
    bool applyLayout(const QString &savedFormat);

    // Window units of the format to pixels of this widget's font, and back.
    int unitsToPixels(int units) const;
    int pixelsToUnits(int pixels) const;
    int rowHeight() const;
    QSize sizeHint() const override;

signals:
    void activated(); // a double click on a row
    void closeRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setShownFormat(const ListFormat &format);
    int shownPixels(const ListColumn &column, const ListFormat &designed) const;
    void syncPage();
    void syncHighlight(int column = -1);
    void syncThumb();
    void updatePageSize();
    void scrollBarAction(int action);
    bool handleKey(class QKeyEvent *event);

    ListController &m_controller;
    QString m_designed;
    PageModel *m_model = nullptr;
    QTableView *m_view = nullptr;
    QScrollBar *m_scrollBar = nullptr;
    QList<int>
        m_shownPixels; // the widths the format gave each column, to see which the user changed
    bool m_syncing = false;
    int m_wheelRemainder = 0;
};

} // namespace cx
