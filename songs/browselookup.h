#pragma once
// The browse windows of the two lookup lists, categories and media formats:
// one column in name order, the first-character locator, Insert/Add, Change
// and Delete through the one-field forms, and a select mode in which the
// window hands the highlighted record back to its caller.
//
// BrowseLookupController holds everything that is not drawing (the list, the
// mode, what each command does, the response) so tests drive it headless;
// BrowseLookup is its window, a dialog that runs modal in select mode and can
// be shown as a child window of the frame otherwise.
#include "lists/listcontroller.h"
#include "songs/lookupform.h"
#include "store/opentable.h"

#include <QDialog>

#include <functional>
#include <memory>

class QMenu;
class QPushButton;
class QTabBar;

namespace cx {

class PageList;

struct BrowseLookupSpec {
    TableId table;
    QString field;          // the name the list shows and locates on: "CAT:Category"
    QString key;            // its key: "KeyCategory"
    QString title;          // window title
    QString format;         // the list's column format
    QString tab;            // text of the one tab above the list; empty: none
    QString section;        // window position section
    QString layoutControl;  // control name of the saved column layout; empty: not kept
    QString insertText;     // "&Insert" / "&Add"
    QString closeText;      // "Cl&ose" / "E&xit"
    bool closeIcon = false; // the close button carries the exit icon
    bool selectFirst = false; // "&Select" leads the buttons (else it follows "&Delete")
    int minimumWidthUnits = 0; // 0: not below the size the window opens with
    int minimumHeightUnits = 0;
    LookupFormSpec form;
};

BrowseLookupSpec categoriesBrowseSpec();
BrowseLookupSpec mediaBrowseSpec();

class BrowseLookupController : public QObject
{
    Q_OBJECT
public:
    // Runs the form for the request the controller has put in the program.
    using FormRunner = std::function<int(const LookupFormSpec &)>;

    BrowseLookupController(Program &program, const BrowseLookupSpec &spec, bool selectMode,
                           QObject *parent = nullptr);
    ~BrowseLookupController() override;

    const BrowseLookupSpec &spec() const { return m_spec; }
    ListController &list() { return *m_list; }
    Table &table() const;
    bool selectMode() const { return m_selectMode; }
    void setFormRunner(FormRunner runner) { m_runForm = std::move(runner); }

    // Opens the table and loads the first page. False when the window cannot open.
    bool open();
    bool hasRecords() const { return !m_list->isEmpty(); }

    // The commands. Each form is run on the highlighted record re-read with
    // change detection armed (insert: on a blank record), and the list is
    // reloaded around the record afterwards.
    void insert();
    void change();
    void remove();
    // Select mode only: the highlighted record in the buffer, completed.
    void select();
    // The highlighted record in the buffer, cancelled.
    void close();
    // Enter on the list: select in select mode, else change.
    void enter();

    bool finishedWith() const { return m_finished; }

signals:
    // The window is to end; the program's response is set.
    void finished(int response);

private:
    void runForm(int request);
    void finish(int response);

    Program &m_program;
    BrowseLookupSpec m_spec;
    bool m_selectMode;
    std::unique_ptr<TableUse> m_use;
    std::unique_ptr<ListController> m_list;
    FormRunner m_runForm;
    bool m_finished = false;
};

class BrowseLookup : public QDialog
{
    Q_OBJECT
public:
    BrowseLookup(Program &program, const BrowseLookupSpec &spec, bool selectMode,
                 QWidget *parent = nullptr);
    ~BrowseLookup() override;

    BrowseLookupController &controller() { return m_controller; }
    PageList *list() const { return m_list; }
    QPushButton *button(const QString &objectName) const;
    // The right-click popup as it would open now (the caller owns it).
    QMenu *createPopup(QWidget *parent = nullptr);
    // False when the table could not be opened or read: the window is not to be shown.
    bool isOpen() const { return m_open; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void done(int result) override;

private:
    QWidget *frameWindow(); // the child window of the frame holding us, else ourselves
    void updateButtons();
    void ended(int response);
    void savePosition();

    Program &m_program;
    BrowseLookupController m_controller;
    PageList *m_list = nullptr;
    QTabBar *m_tabs = nullptr;
    bool m_open = false;
    bool m_placed = false;
    bool m_saved = false;
};

class BrowseCategories : public BrowseLookup
{
    Q_OBJECT
public:
    BrowseCategories(Program &program, bool selectMode, QWidget *parent = nullptr);
};

class BrowseMedia : public BrowseLookup
{
    Q_OBJECT
public:
    BrowseMedia(Program &program, bool selectMode, QWidget *parent = nullptr);
};

// Run the browse modal and return the response (completed only when a record
// was selected; the table's buffer then holds it). In normal mode the browse
// can also be shown as a child window: construct BrowseCategories/BrowseMedia,
// check isOpen(), and add it to the frame.
int runBrowseCategories(Program &program, bool selectMode, QWidget *parent = nullptr);
int runBrowseMedia(Program &program, bool selectMode, QWidget *parent = nullptr);

} // namespace cx
