#pragma once
// Large catalogues of generated songs for the benchmarks.
#include "songgenerator.h"

#include <functional>

namespace cx {
class Record;
}

// Copies a generated song into a songs record buffer (by field name, as an import would).
void fillSong(cx::Record &record, const GeneratedSong &song);
// Adds `count` generated songs to the catalogue at `path` through the storage
// layer, committing every 50,000; `adjust` may change each song before it is
// added. Returns the seconds taken, or -1 on failure.
double buildCatalogue(const QString &path, qint64 count,
                      const std::function<void(qint64, GeneratedSong &)> &adjust = {});
