#pragma once
// The album pick list: albums by name, by artist or by file number; "&Select"
// (or a double click, when called to select) hands the highlighted album back
// in the Album buffer with the response completed; "Cl&ose" leaves it there
// cancelled.
#include "lists/listcontroller.h"
#include "store/opentable.h"

#include "songs/pickwindowplace.h"

#include <QDialog>

#include <memory>

class QPushButton;
class QTabBar;

namespace cx {

class PageList;

class SelectAlbum : public QDialog
{
    Q_OBJECT
public:
    enum Tab { ByAlbum, ByArtist, ByFileNumber };

    SelectAlbum(Program &program, bool selectMode, QWidget *parent = nullptr);
    ~SelectAlbum() override;

    ListController &controller() { return *m_controller; }
    PageList *list() const { return m_list; }
    QTabBar *tabs() const { return m_tabs; }
    QPushButton *button(const QString &objectName) const;
    bool isOpen() const { return m_open; }

    void setTab(int tab);
    void choose(); // "&Select"
    void dismiss(); // "Cl&ose"

    static QString listFormat();

protected:
    void done(int result) override;
    void showEvent(QShowEvent *event) override;

private:
    void finish(int response);

    Program &m_program;
    bool m_selectMode;
    std::unique_ptr<TableUse> m_use;
    std::unique_ptr<ListController> m_controller;
    PageList *m_list = nullptr;
    QTabBar *m_tabs = nullptr;
    bool m_open = false;
    PickWindowPlace m_place;
};

// Runs the pick list modal; the response is completed only when an album was chosen.
int runSelectAlbum(Program &program, bool selectMode, QWidget *parent = nullptr);

} // namespace cx
