#pragma once
// Numbering of new records: the next number after the highest in the primary
// key (1 for an empty table), the record added at once with it so that another
// copy cannot take the same number; when another copy did, the next is tried.
#include "store/tables.h"

namespace cx {

class Program;

// The field numbered on insert (a primary key's single number field, or the
// sequence of a play-list line within its play list); -1 for tables without one.
int numberField(TableId table);
// Adds the buffer of `table` as a new record with the next number (and, for a
// song, the next track of its album). false when the user gave up or a read
// failed (the message has been shown); the buffer then holds the prepared record.
bool addWithNextNumber(Program &program, TableId table);

} // namespace cx
