#pragma once
// Every album's release date becomes its year (see releasetoyear.h).
#include "maintenance/releasetoyear.h"

namespace cx {

class ConvertAlbumDateToYear : public ReleaseToYear
{
public:
    explicit ConvertAlbumDateToYear(Program &program);
};

} // namespace cx
