#pragma once
// What the album and song pick lists share: a modal window over one table's
// page-loaded list that hands the highlighted record back to its caller.
// "&Select" (or a double click, when called to select) re-reads it into the
// table's buffer and ends with the response completed; "Cl&ose", Escape and
// the window's close button re-read it and end cancelled. The window opens
// where it was last closed (once, when first shown); on ending it saves its
// list layout and, if it was ever shown, its place.
#include "lists/listcontroller.h"
#include "store/opentable.h"

#include <QDialog>

#include <memory>

class QPushButton;
class QTabBar;

namespace cx {

class PageList;

class PickList : public QDialog
{
    Q_OBJECT
public:
    ~PickList() override;

    ListController &controller() { return *m_controller; }
    PageList *list() const { return m_list; }
    QTabBar *tabs() const { return m_tabs; }
    QPushButton *button(const QString &objectName) const;
    bool isOpen() const { return m_open; }

    void choose();  // "&Select"
    void dismiss(); // "Cl&ose"

protected:
    // section: the window's place and layout section; layoutControl: the
    // list's name in the layout keys.
    PickList(Program &program, TableId table, bool selectMode, const QString &section,
             const QString &layoutControl, QWidget *parent);

    // The list over controller, in the layout the user left it.
    void createList(std::unique_ptr<ListController> controller, const QString &designedFormat);
    // "&Select" (shown only when selecting, or else only disabled) and "Cl&ose".
    QPushButton *createSelectButton(bool hiddenUnlessSelecting);
    QPushButton *createCloseButton();
    // Opens the tables (use counts) and loads the first page; isOpen() tells.
    void openList(std::initializer_list<TableId> tables);
    bool ended() const { return m_ended; }

    void done(int result) override;
    void showEvent(QShowEvent *event) override;

    Program &m_program;
    const bool m_selectMode;
    std::unique_ptr<ListController> m_controller;
    PageList *m_list = nullptr;
    QTabBar *m_tabs = nullptr;

private:
    void finish(int response);

    TableId m_table;
    QString m_section;
    QString m_layoutControl;
    std::unique_ptr<TableUse> m_use;
    bool m_open = false;
    bool m_placed = false;
    bool m_ended = false;
};

// Runs the pick list modal; the response is completed only when a record was
// chosen, and the table's buffer then holds it.
int runPickList(Program &program, PickList &window);

} // namespace cx
