#pragma once
// The record services every form writes through: one transaction over all the
// tables a change touches, the restricts and cascades that keep the tables'
// links whole, change detection against other copies, and the standard
// message for every failure. Batch processes write directly instead.
#include "store/tables.h"

namespace cx {

class Program;

enum ServiceResult {
    ServiceDone = 0,
    ServiceFailed = 1,         // failed or refused; the message has been shown
    ServiceChangedByOther = 2, // another copy changed the record: its version is now in the buffer
};

// Writes the buffer of `table` back to its current record. fromForm chooses the
// message for a record changed by another copy ("Record Was Not Updated" from a
// form, "Update Operation Error" otherwise). Link values that changed against
// Program::remembered(table) are followed into the child tables.
ServiceResult ruleUpdate(Program &program, TableId table, bool fromForm = true);
// Deletes the current record of `table` with its restricts and cascades.
ServiceResult ruleDelete(Program &program, TableId table);

} // namespace cx
