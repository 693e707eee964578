#pragma once
// The standard messages shown for storage failures and field checks. Each
// inserts the storage error (the saved one if a record service kept it, else the
// current one) as "text (code)".
#include "platform/ui/prompter.h"

namespace cx {

class Program;

enum class MessageId {
    InvalidFile,
    InvalidKey,
    KeyRebuildError,
    CreateError,
    CreatedOpenError,
    RangeError,
    NotInFile,
    UpdateRestricted,
    DeleteRestricted,
    InsertError,
    UpdateError,
    RetryChange,
    DeleteError,
    RetryDelete,
    ChangeNotAllowed,
    DeleteNotAllowed,
    ConfirmCancel,
    DuplicateKey,
    AutoNumberFailed,
    OpenError,
    ProcessError,
    ConfirmDelete,
    TransactionError,
    RecordRetrievalError,
    ViewOpenError,
    ChangedRecordShown,
};

// Builds the message (without showing it); error is the "text (code)" to insert.
Message standardMessageText(MessageId id, const QString &error, bool changedByOther, const QString &text1,
                            const QString &text2);
// Shows the message and returns the button pressed; clears the saved error.
Button standardMessage(Program &program, MessageId id, const QString &text1 = {}, const QString &text2 = {});

} // namespace cx
