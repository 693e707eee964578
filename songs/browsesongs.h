#pragma once
// The song browse window: the eight order tabs over one page-loaded list, the
// locator, the buttons and the list's popup menu. Everything it does is
// BrowseSongsController's; the window shows it and passes keys and clicks on.
#include "songs/browsesongscontroller.h"

#include <QHash>
#include <QPoint>
#include <QWidget>

class QLabel;
class QMenu;
class QPushButton;
class QTabBar;

namespace cx
{

class PageList;

class BrowseSongs : public QWidget
{
    Q_OBJECT
public:
    using Action = BrowseSongsController::Action;

    // What a dragged song carries: its MUS:ID as text.
    static QString songIdMimeType(); // "application/x-cantorix-song-id"

    explicit BrowseSongs(Program &program, QWidget *parent = nullptr);
    ~BrowseSongs() override;

    // Opens the tables and shows the first page; false when a table could not
    // be opened (the window is then to go).
    bool open();

    BrowseSongsController &controller() const { return *m_controller; }
    PageList *list() const { return m_list; }
    QTabBar *tabs() const { return m_tabs; }
    QPushButton *button(Action action) const { return m_buttons.value(int(action)); }
    QPushButton *closeButton() const { return m_close; }
    // The list's popup menu as it would open now.
    // The popup as its item text ("~" before an item that cannot be chosen),
    // and the menu made from it, owned by the caller.
    QString popupText() const;
    QMenu *createPopup(QWidget *parent = nullptr);

    void setMediaChooser(BrowseSongsController::MediaChooser chooser);
    void setCategoryChooser(BrowseSongsController::CategoryChooser chooser);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QPushButton *addButton(Action action, const QString &text, const char *name);
    void press(Action action);
    void syncTabs();
    void syncActions();
    void startDrag();
    void closeWindow();
    void saveLayoutAndPosition();

    Program &m_program;
    BrowseSongsController *m_controller = nullptr;
    QTabBar *m_tabs = nullptr;
    PageList *m_list = nullptr;
    QLabel *m_locator = nullptr;
    QHash<int, QPushButton *> m_buttons;
    QPushButton *m_close = nullptr;
    QPoint m_pressAt;
    bool m_dragArmed = false;
    bool m_syncingTabs = false;
    bool m_saved = false;
};

} // namespace cx
