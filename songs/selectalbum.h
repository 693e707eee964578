#pragma once
// The album pick list: albums by name, by artist or by file number; "&Select"
// (or a double click, when called to select) hands the highlighted album back
// in the Album buffer with the response completed; "Cl&ose" leaves it there
// cancelled.
#include "songs/picklist.h"

namespace cx {

class SelectAlbum : public PickList
{
    Q_OBJECT
public:
    enum Tab { ByAlbum, ByArtist, ByFileNumber };

    SelectAlbum(Program &program, bool selectMode, QWidget *parent = nullptr);

    void setTab(int tab);

    static QString listFormat();
};

// Runs the pick list modal; the response is completed only when an album was chosen.
int runSelectAlbum(Program &program, bool selectMode, QWidget *parent = nullptr);

} // namespace cx
