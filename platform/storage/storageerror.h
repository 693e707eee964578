#pragma once
// Storage error codes and texts. Expected failures (busy, duplicate, not found,
// changed by another copy) are returned as these values, never thrown.
#include <QString>

namespace cx {

enum class StorageCode : int {
    NoError = 0,
    FileNotFound = 2,      // the catalogue file or the table does not exist
    AccessDenied = 5,      // the file or its directory cannot be written
    RecordNotAvailable = 33, // no current record / past the end of the order
    RecordNotFound = 35,   // get by key found no entry
    FileNotOpen = 37,
    DuplicateKey = 40,
    KeysDamaged = 46,      // the keys must be rebuilt before the table can be used
    LayoutDiffers = 47,    // the stored record layout is older (or newer) than declared
    TableLocked = 32,      // another copy holds the catalogue locked
    TransactionFailed = 48,// a transaction could not begin within its wait
    NotACatalogue = 90,    // the file is not a catalogue database, or it is damaged
    ChangedByOther = 89,   // the record was changed or deleted by another copy since it was read
    InvalidCommand = 91,
    SystemError = 99,      // the database engine's own error: see systemCode/systemText
};

struct StorageError {
    StorageCode code = StorageCode::NoError;
    QString text;        // our text for the code
    int systemCode = 0;  // the engine's result code for SystemError
    QString systemText;  // the engine's message for SystemError

    bool ok() const { return code == StorageCode::NoError; }
    int number() const { return static_cast<int>(code); }
    bool isSystem() const { return code == StorageCode::SystemError; }
    // "text (code)" as messages show it; the engine's text and code for system errors.
    QString describe() const;
};

QString storageCodeText(StorageCode code);
StorageError makeError(StorageCode code);

} // namespace cx
