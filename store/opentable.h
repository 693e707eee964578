#pragma once
// Opening and closing tables through the program-wide use counts. A table is
// opened when its count is 0 and closed when it returns to 0; a missing table is
// created; a damaged key, an older layout, a lock left by an unfinished
// transaction are dealt with here. A failure that cannot be mended shows its
// message and halts the program (Program::halted() is then true).
#include "store/tables.h"

namespace cx {

class Program;

// true when the table is open (its use count raised); false when the program halted.
bool openTable(Program &program, TableId id);
void closeTable(Program &program, TableId id);
// Makes a new empty table and opens it; false when the program halted.
bool createTable(Program &program, TableId id);

// Opens several tables for a window; closes what it opened if one fails.
class TableUse
{
public:
    TableUse(Program &program, std::initializer_list<TableId> tables);
    ~TableUse();
    TableUse(const TableUse &) = delete;
    TableUse &operator=(const TableUse &) = delete;
    bool ok() const { return m_ok; }

private:
    Program &m_program;
    QList<TableId> m_opened;
    bool m_ok = true;
};

} // namespace cx
