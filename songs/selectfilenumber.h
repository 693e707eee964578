#pragma once
// The song pick list: songs by artist, title, album, media, category (within
// one category) or chart number, with a typed locator per tab. "&Select" (or a
// double click, when called to select) hands the highlighted song back in the
// songs buffer with the response completed; "Cl&ose" leaves it there
// cancelled.
#include "lists/listcontroller.h"
#include "store/opentable.h"

#include "songs/pickwindowplace.h"

#include <QDialog>

#include <memory>

class QLabel;
class QPushButton;
class QTabBar;

namespace cx {

class PageList;

class SelectFileNumber : public QDialog
{
    Q_OBJECT
public:
    enum Tab { ByArtist, ByTitle, ByAlbum, ByMedia, ByCategory, ByChartNumber, TabCount };

    SelectFileNumber(Program &program, bool selectMode = true, QWidget *parent = nullptr);
    ~SelectFileNumber() override;

    ListController &controller() { return *m_controller; }
    PageList *list() const { return m_list; }
    QTabBar *tabs() const { return m_tabs; }
    QLabel *locator() const { return m_locator; }
    QPushButton *button(const QString &objectName) const;
    bool isOpen() const { return m_open; }

    // The category "By Category" lists: the Categories record's id when the
    // tab was entered or a category was last chosen. 0: none, nothing listed.
    qint64 category() const { return m_category; }

    void setTab(int tab);
    void selectCategory(); // "&Select Category": the category browse in select mode
    void choose();         // "&Select"
    void dismiss();        // "Cl&ose"

    static QString listFormat();
    static QString windowTitleFor(qint64 songs);

protected:
    void done(int result) override;
    void showEvent(QShowEvent *event) override;

private:
    void applyCategory();
    void updateTitle();
    void finish(int response);

    Program &m_program;
    bool m_selectMode;
    std::unique_ptr<TableUse> m_use;
    std::unique_ptr<ListController> m_controller;
    PageList *m_list = nullptr;
    QTabBar *m_tabs = nullptr;
    QLabel *m_locator = nullptr;
    QPushButton *m_selectCategory = nullptr;
    qint64 m_category = 0;
    bool m_open = false;
    PickWindowPlace m_place;
};

// Runs the pick list modal, called to select a song; the response is
// completed only when a song was chosen, and the songs buffer then holds it.
int runSelectFileNumber(Program &program, QWidget *parent = nullptr);

} // namespace cx
