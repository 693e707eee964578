#pragma once
// What the song browse does, apart from its window: the eight orders behind
// the tabs and their captions, the media and category ranges, the title, which
// buttons may be pressed, and the song form's requests with the reload that
// follows each of them. Widget-free: BrowseSongs shows it, tests drive it.
#include "lists/listcontroller.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

namespace cx
{

class Program;
class TableUse;

class BrowseSongsController : public QObject
{
    Q_OBJECT
public:
    enum Tab { ByArtist, ByTitle, ByAlbum, ByMedia, ByCategory, ByChart, ByBpm, ByUdk, TabCount };
    enum class Action {
        Add,
        Copy,
        Change,
        Delete,
        Search,
        ResetSearch,
        Import,
        Export,
        Print,
        SelectMedia,
        SelectCategory,
    };

    // Choosing the media format or the category a range tab shows; false when
    // the user chose none.
    using MediaChooser = std::function<bool(QString &media)>;
    using CategoryChooser = std::function<bool(qint64 &categoryId)>;
    // Runs the song form for program.request on the song buffer and returns
    // the response.
    using FormRunner = std::function<int()>;

    explicit BrowseSongsController(Program &program, QObject *parent = nullptr);
    ~BrowseSongsController() override;

    // The orders and row values of the song list, and its designed column format.
    static QList<ListOrder> listOrders();
    static QList<ListField> listFields(Program &program);
    static QString designedListFormat();

    // Opens the tables and loads the first page of "By Artist". False when a
    // table could not be opened (its message has been shown).
    bool open();
    bool isOpen() const { return m_open; }

    Program &program() const { return m_program; }
    ListController &list() const { return *m_list; }

    // "Songs - n entries": the whole table, whatever the list shows.
    QString title() const;

    int tab() const { return m_tab; }
    // The caption of a tab; the selected one is followed by three spaces.
    QString tabCaption(int tab) const;
    // Switches to a tab's order. A range tab whose media or category differs
    // from the one the list was built with reloads from the top; any other
    // change of order keeps the highlighted song highlighted.
    bool setTab(int tab);

    QString chosenMedia() const { return m_media; }
    qint64 chosenCategory() const { return m_category; }
    void setMediaChooser(MediaChooser chooser);
    void setCategoryChooser(CategoryChooser chooser);
    bool selectMedia();
    bool selectCategory();

    void setFormRunner(FormRunner runner) { m_runForm = std::move(runner); }

    // The search filter text (the query wizard fills it later).
    QString filter() const { return m_filter; }

    bool isEnabled(Action action) const;

    // The song form for a new song, a copy of the highlighted one, a change
    // or a deletion of it, followed by the reload. False when nothing ran.
    bool add();
    bool copy();
    bool change();
    bool remove();

    // The highlighted song re-read, for a drop on another window: its MUS:ID,
    // or 0 when no song is highlighted or it is gone.
    qint64 dragSongId();

signals:
    void titleChanged(const QString &title);
    void tabsChanged();    // the selected tab or a caption changed
    void actionsChanged(); // an action's enabled state may have changed
    void listFocusRequested();
    void closeRequested();

private:
    void applyRange();
    bool afterForm(int response, bool reloadAtBuffer);
    int runForm(int request);
    void pageChanged();

    Program &m_program;
    std::unique_ptr<TableUse> m_tables;
    std::unique_ptr<ListController> m_list;
    bool m_open = false;
    int m_tab = ByArtist;
    QString m_media;       // chosen with "Se&lect Media"
    qint64 m_category = 0; // chosen with "Se&lect Category"
    QString m_builtMedia;  // the range the list was last built with
    qint64 m_builtCategory = 0;
    QString m_filter;
    bool m_wasEmpty = true;
    MediaChooser m_chooseMedia;
    CategoryChooser m_chooseCategory;
    FormRunner m_runForm;
};

} // namespace cx
