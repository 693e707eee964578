#pragma once
// Reduces release dates to their years in one table, for the "Year Only" date
// format: a release value above 3000 is a date and becomes its year; values of
// 3000 or less are years already (or 0, no release) and are left alone.
#include "maintenance/tablewalk.h"

namespace cx {

class ReleaseToYear : public TableWalk
{
protected:
    ReleaseToYear(Program &program, TableId table, const QString &status);
    Row handle() override;

private:
    int m_field;
};

} // namespace cx
