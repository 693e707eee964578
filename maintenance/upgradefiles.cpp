#include "maintenance/upgradefiles.h"

#include "store/program.h"

namespace cx {

namespace {
// Old field -> new field; the new fields are as wide or wider.
const char *const fieldMap[][2] = {
    {"M1:Artist", "MUS:Artist"},         {"M1:Title", "MUS:Title"},
    {"M1:Album", "MUS:Album"},           {"M1:Media", "MUS:Media"},
    {"M1:FileNumber", "MUS:FileNumber"}, {"M1:ReleaseDate", "MUS:ReleaseDate"},
    {"M1:Notes", "MUS:Notes"},
};
const QString savepoint = QStringLiteral("upgrade_row");
} // namespace

UpgradeFiles::UpgradeFiles(Program &program)
    : TableWalk(program, {TableId::OldCantorix,
                          {},
                          {TableId::OldCantorix, TableId::Songs},
                          1000,
                          QStringLiteral("Upgrading Files")})
{
}

bool UpgradeFiles::prepare() { return !walked().isEmpty(); }

TableWalk::Row UpgradeFiles::handle()
{
    const Record &old = walked().buffer();
    Table &songs = table(TableId::Songs);
    songs.clear();
    for (const auto &pair : fieldMap)
        songs.buffer().set(QString::fromLatin1(pair[1]), old.get(QString::fromLatin1(pair[0])));

    Database &db = program().database();
    if (db.exec(QStringLiteral("SAVEPOINT ") + savepoint) != StorageCode::NoError)
        return fail(MessageId::ProcessError, songs.label(), QStringLiteral("Put"));
    if (songs.add() != StorageCode::NoError)
        return undoRow(fail(MessageId::ProcessError, songs.label(), QStringLiteral("Put")));
    if (walked().remove() != StorageCode::NoError)
        return undoRow(fail(MessageId::ProcessError, walked().label(), QStringLiteral("Delete")));
    db.exec(QStringLiteral("RELEASE ") + savepoint);
    return Row::Next;
}

TableWalk::Row UpgradeFiles::undoRow(Row result)
{
    // The failure has been recorded with its error; the undo's own outcome
    // does not change what is reported.
    Database &db = program().database();
    db.exec(QStringLiteral("ROLLBACK TO ") + savepoint);
    db.exec(QStringLiteral("RELEASE ") + savepoint);
    return result;
}

} // namespace cx
