#include "store/standardmessage.h"

#include "store/program.h"

namespace cx {

namespace {
Message error(const char *caption, const QString &text)
{
    return {QString::fromLatin1(caption), text, Icon::Exclamation, Ok, Ok};
}
Message question(const char *caption, const QString &text, Buttons buttons, Button def)
{
    return {QString::fromLatin1(caption), text, Icon::Question, buttons, def};
}
Message choice(const char *caption, const QString &text, Buttons buttons, Button def)
{
    return {QString::fromLatin1(caption), text, Icon::Exclamation, buttons, def};
}
QString s(const char *latin) { return QString::fromLatin1(latin); }
} // namespace

Message standardMessageText(MessageId id, const QString &err, bool changedByOther, const QString &rawText1,
                            const QString &rawText2)
{
    const QString text1 = rawText1.trimmed();
    const QString text2 = rawText2.trimmed();
    switch (id) {
    case MessageId::InvalidFile:
        return error("Invalid File", s("Error: (") + err + s(") accessing ") + text1 + s(".  Press OK to end this application."));
    case MessageId::InvalidKey:
        return question("Invalid Key", text1 + s(" key file is invalid.  Do you want to rebuild the key?"), Yes | No, Yes);
    case MessageId::KeyRebuildError:
        return error("Key Rebuild Error",
                     s("Error: (") + err + s(") repairing key for ") + text1 + s(".  Press OK to end this application."));
    case MessageId::CreateError:
        return error("File Creation Error",
                     s("Error: (") + err + s(") creating ") + text1 + s(".  Press OK to end this application."));
    case MessageId::CreatedOpenError:
        return error("File Creation Error", s("Error: (") + err + s(") opening created file:") + text1
                                                + s(".  Press OK to end this application."));
    case MessageId::RangeError:
        return error("Range Error", s("The value of ") + text1 + s(" must be between ") + text2 + s("."));
    case MessageId::NotInFile:
        return error("Field Contents Error",
                     s("The value for ") + text1 + s(" must be found in the ") + text2 + s(" file."));
    case MessageId::UpdateRestricted:
        return error("Referential Integrity Update Error",
                     s("This record is referenced from the file ") + text1
                         + s(".  Linking field(s) have been restricted from change and have been reset to original values."));
    case MessageId::DeleteRestricted:
        return error("Referential Integrity Delete Error",
                     s("This record is referenced from the file ") + text1
                         + s(".  This record cannot be deleted while these references exist."));
    case MessageId::InsertError:
        return error("Record Insert Error",
                     s("An error was experienced during the update of record.  Error: ") + err + s("."));
    case MessageId::UpdateError:
        if (changedByOther || err.isEmpty())
            return error("Update Operation Error", s("This record was changed by another station."));
        return error("Update Operation Error", s("An error (") + err
                                                   + s(") was experienced when attempting to update a record from the file.  Probable Cause: ")
                                                   + text1 + s("."));
    case MessageId::RetryChange:
        return choice("Record Update Error",
                      s("An error was experienced changing this record.  Do you want to try to save again?"),
                      Yes | No | Cancel, Cancel);
    case MessageId::DeleteError:
        return error("Delete Operation Error", s("An error (") + err
                                                   + s(") was experienced when attempting to delete a record from the file ")
                                                   + text1 + s("."));
    case MessageId::RetryDelete:
        return choice("Record Update Error",
                      s("An error was experienced deleting this record.  Do you want to try to save again?"),
                      Yes | No | Cancel, Cancel);
    case MessageId::ChangeNotAllowed:
        return error("Invalid Request", s("This procedure was called to change a record, however changes are not allowed "
                                          "for this procedure.  Press OK to return to the calling procedure"));
    case MessageId::DeleteNotAllowed:
        return error("Invalid Request", s("This procedure was called to delete a record, however deletions are not "
                                          "allowed for this procedure.  Press OK to return to the calling procedure"));
    case MessageId::ConfirmCancel:
        return question("Update Cancelled", s("Are you sure you want to cancel?"), Yes | No, No);
    case MessageId::DuplicateKey:
        return error("Duplicate Key Error", s("Adding this record creates a duplicate entry for the key:") + text1);
    case MessageId::AutoNumberFailed:
        return choice("Auto Increment Error",
                      s("Attempts to automatically number this record have failed.  Error: ") + err + s("."),
                      Retry | Cancel, Cancel);
    case MessageId::OpenError:
        return error("File Access Error", s("File (") + text1 + s(") could not be opened.  Error: ") + err + s("."));
    case MessageId::ProcessError:
        if (text2 == s("Put"))
            return error("Process PUT Error",
                         s("An error was experienced when making changes to the ") + text1 + s(" file.  Error: ") + err);
        return error("Process DELETE Error",
                     s("An error was experienced when deleting a record from the ") + text1 + s(" file.  Error: ") + err);
    case MessageId::ConfirmDelete:
        return question("Confirm Delete",
                        s("You've selected to delete the highlighted record.  Press OK to confirm deletion of this record."),
                        Ok | Cancel, Cancel);
    case MessageId::TransactionError:
        return error("Transaction Framing Error", s("Error: (") + err + s(") attempting to frame the ") + text2.toLower()
                                                      + s(" transaction on ") + text1 + s(".  ") + text2
                                                      + s(" transaction cancelled."));
    case MessageId::RecordRetrievalError:
        return error("Record Retrieval Error", s("Error: (") + err + s(") attempting to access a record from the ") + text1
                                                   + s(" file.  Returning to previous window."));
    case MessageId::ViewOpenError:
        return error("View Open Error", s("Error: (") + err + s(") attempting to open the current VIEW.\n")
                                            + s("Filter and Range Limits ignored.\n\nRelated File: ") + text1);
    case MessageId::ChangedRecordShown:
        return error("Record Was Not Updated",
                     s("This record was changed by another station. Those changes will now be displayed. Use the "
                       "Ditto Button or Ctrl+' to recall your changes."));
    }
    return {};
}

Button standardMessage(Program &program, MessageId id, const QString &text1, const QString &text2)
{
    const StorageError err = program.savedError.value_or(program.database().error());
    program.savedError.reset();
    const QString described = err.ok() ? QString() : err.describe();
    return program.prompter().show(
        standardMessageText(id, described, err.code == StorageCode::ChangedByOther, text1, text2));
}

} // namespace cx
