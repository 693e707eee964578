#pragma once
// The song pick list: songs by artist, title, album, media, category (within
// one category) or chart number, with a typed locator per tab. "&Select" (or a
// double click, when called to select) hands the highlighted song back in the
// songs buffer with the response completed; "Cl&ose" leaves it there
// cancelled.
#include "songs/picklist.h"

class QLabel;

namespace cx {

class SelectFileNumber : public PickList
{
    Q_OBJECT
public:
    enum Tab { ByArtist, ByTitle, ByAlbum, ByMedia, ByCategory, ByChartNumber, TabCount };

    SelectFileNumber(Program &program, bool selectMode = true, QWidget *parent = nullptr);

    QLabel *locator() const { return m_locator; }

    // The category "By Category" lists: the Categories record's id when the
    // tab was entered or a category was last chosen. 0: none, nothing listed.
    qint64 category() const { return m_category; }

    void setTab(int tab);
    void selectCategory(); // "&Select Category": the category browse in select mode

    static QString listFormat();
    static QString windowTitleFor(qint64 songs);

private:
    void applyCategory();
    void updateTitle();

    QLabel *m_locator = nullptr;
    QPushButton *m_selectCategory = nullptr;
    qint64 m_category = 0;
};

// Runs the pick list modal, called to select a song; the response is
// completed only when a song was chosen, and the songs buffer then holds it.
int runSelectFileNumber(Program &program, QWidget *parent = nullptr);

} // namespace cx
