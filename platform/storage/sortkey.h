#pragma once
// Sort keys for string key components: ICU collation at secondary strength, so
// that keys ignore case for every letter (Björk = BJÖRK, ß = SS) and accented
// letters sort beside their base letter. The keys are stored beside the text so
// that the indexes stay plain and the catalogue stays usable from the stock
// sqlite3 shell.
#include <QByteArray>
#include <QString>

namespace cx {

QByteArray collationKey(const QString &text);
// Identifies the collation rules; stored with each table so that keys are
// rebuilt when the rules change.
QString collationVersion();

} // namespace cx
