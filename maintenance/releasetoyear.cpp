#include "maintenance/releasetoyear.h"

#include "store/program.h"
#include "store/values.h"

namespace cx {

ReleaseToYear::ReleaseToYear(Program &program, TableId table, const QString &status)
    : TableWalk(program, {table, {}, {table}, 25, status}),
      m_field(tableDecl(table).fieldIndex(QStringLiteral("ReleaseDate")))
{
    Q_ASSERT(m_field >= 0);
}

TableWalk::Row ReleaseToYear::handle()
{
    Record &record = walked().buffer();
    const qint64 value = record.number(m_field);
    if (value <= kLastYearValue)
        return Row::Next; // a year already: not written, so a second run writes nothing
    const qint64 year = releaseYear(value);
    if (year <= 0)
        return Row::Next;
    record.setNumber(m_field, year);
    return store();
}

} // namespace cx
