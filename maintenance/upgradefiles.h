#pragma once
// Moves the songs of the oldest program version, kept in OldCantorix, into
// the songs table: each old row becomes a new song (its texts widened, its
// notes carried) and is then deleted. The new songs have no number and no
// album; the link test gives them both.
//
// A row's add and delete are undone together when either fails, inside the
// tick's transaction, so at any moment (a failure, or the program killed) an
// old row exists either as itself or as its song, never as both or neither.
// A failed add is reported as the process error for "Put", a failed delete as
// the one for "Delete"; the move stops there and the row stays for a later run.
#include "maintenance/tablewalk.h"

namespace cx {

class UpgradeFiles : public TableWalk
{
public:
    explicit UpgradeFiles(Program &program);

protected:
    bool prepare() override; // an empty old table: nothing to do, no window
    Row handle() override;

private:
    Row undoRow(Row result);
};

} // namespace cx
