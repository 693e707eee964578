#pragma once
// Every song's release date becomes its year (see releasetoyear.h).
#include "maintenance/releasetoyear.h"

namespace cx {

class ConvertDateToYear : public ReleaseToYear
{
public:
    explicit ConvertDateToYear(Program &program);
};

} // namespace cx
