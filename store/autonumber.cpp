#include "store/autonumber.h"

#include "store/program.h"
#include "store/standardmessage.h"

namespace cx {

namespace {
constexpr int kAttempts = 3;

// The number after the last entry of the number's key (within one play list
// for play-list lines); 0 when the read failed.
qint64 nextNumber(Program &program, TableId id, const Record &prepared)
{
    Table &t = program.table(id);
    const TableDecl &d = t.decl();
    const int field = numberField(id);
    int key = d.primaryKey();
    if (id == TableId::PlaylistDetails) {
        const int list = d.fieldIndex(QStringLiteral("PlaylistID"));
        t.clear();
        t.buffer().setNumber(list, prepared.number(list));
        t.clearToHighest(field);
        t.setToKeyValues(key);
        const StorageCode code = t.previous();
        if (code == StorageCode::NoError)
            return t.buffer().number(list) == prepared.number(list) ? t.buffer().number(field) + 1 : 1;
        if (code == StorageCode::RecordNotAvailable)
            return 1;
    } else {
        t.setOrder(key);
        const StorageCode code = t.previous();
        if (code == StorageCode::NoError)
            return t.buffer().number(field) + 1;
        if (code == StorageCode::RecordNotAvailable)
            return 1;
    }
    return 0;
}

// The track after the album's last one, 1 for its first.
qint64 nextTrack(Program &program, const Record &prepared)
{
    Table &t = program.table(TableId::Songs);
    const TableDecl &d = t.decl();
    const int album = d.fieldIndex(QStringLiteral("AlbumID"));
    const int track = d.fieldIndex(QStringLiteral("TrackNumber"));
    t.clear();
    t.buffer().setNumber(album, prepared.number(album));
    t.clearToHighest(track);
    t.setToKeyValues(d.keyIndex(QStringLiteral("KeyAlbumID")));
    if (t.previous() == StorageCode::NoError && t.buffer().number(album) == prepared.number(album))
        return t.buffer().number(track) + 1;
    return 1;
}
} // namespace

int numberField(TableId table)
{
    const TableDecl &d = tableDecl(table);
    if (table == TableId::PlaylistDetails)
        return d.fieldIndex(QStringLiteral("PlaylistSeq"));
    const int key = d.primaryKey();
    if (key < 0 || d.keys.at(key).components.size() != 1 || table == TableId::AddWizard)
        return -1;
    const int field = d.keyFields(key).first();
    return d.fields.at(field).isString() ? -1 : field;
}

bool addWithNextNumber(Program &program, TableId id)
{
    Table &t = program.table(id);
    const Record prepared = t.buffer();
    const int field = numberField(id);
    Database &db = program.database();
    for (;;) {
        for (int attempt = 0; attempt < kAttempts; ++attempt) {
            // Reading the highest number and adding the next one in one write
            // transaction keeps another copy from taking it in between; when a
            // caller's transaction is already open, that one serves.
            const bool own = !db.inTransaction();
            if (own && db.begin() != StorageCode::NoError)
                continue;
            qint64 number = 0, track = 0;
            if (field >= 0 && (number = nextNumber(program, id, prepared)) == 0) {
                program.savedError = db.error();
                if (own)
                    db.rollback();
                t.buffer() = prepared;
                standardMessage(program, MessageId::RecordRetrievalError, t.label());
                return false;
            }
            if (id == TableId::Songs)
                track = nextTrack(program, prepared);
            t.buffer() = prepared;
            if (field >= 0)
                t.buffer().setNumber(field, number);
            if (id == TableId::Songs)
                t.buffer().set(QStringLiteral("TrackNumber"), track);
            if (t.add() == StorageCode::NoError && (!own || db.commit() == StorageCode::NoError))
                return true;
            if (own)
                db.rollback();
        }
        // Three adds in a row failed: usually other copies taking the numbers.
        if (standardMessage(program, MessageId::AutoNumberFailed) != Retry) {
            t.buffer() = prepared;
            return false;
        }
    }
}

} // namespace cx
