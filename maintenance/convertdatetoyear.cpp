#include "maintenance/convertdatetoyear.h"

namespace cx {

ConvertDateToYear::ConvertDateToYear(Program &program)
    : ReleaseToYear(program, TableId::Songs, QStringLiteral("Converting Song Dates"))
{
}

} // namespace cx
