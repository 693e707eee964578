#include "maintenance/convertalbumdatetoyear.h"

namespace cx {

ConvertAlbumDateToYear::ConvertAlbumDateToYear(Program &program)
    : ReleaseToYear(program, TableId::Album, QStringLiteral("Converting Album Dates"))
{
}

} // namespace cx
