#include "platform/storage/storageerror.h"

namespace cx {

QString storageCodeText(StorageCode code)
{
    switch (code) {
    case StorageCode::NoError: return {};
    case StorageCode::FileNotFound: return QStringLiteral("File Not Found");
    case StorageCode::AccessDenied: return QStringLiteral("Access Denied");
    case StorageCode::RecordNotAvailable: return QStringLiteral("Record Not Available");
    case StorageCode::RecordNotFound: return QStringLiteral("Record Not Found");
    case StorageCode::FileNotOpen: return QStringLiteral("File Not Open");
    case StorageCode::DuplicateKey: return QStringLiteral("Creates Duplicate Key");
    case StorageCode::KeysDamaged: return QStringLiteral("Keys Must Be Rebuilt");
    case StorageCode::LayoutDiffers: return QStringLiteral("Record Layout Differs");
    case StorageCode::TableLocked: return QStringLiteral("File Is Locked");
    case StorageCode::TransactionFailed: return QStringLiteral("Transaction Could Not Begin");
    case StorageCode::NotACatalogue: return QStringLiteral("Invalid Data File");
    case StorageCode::ChangedByOther: return QStringLiteral("Record Changed By Another Station");
    case StorageCode::InvalidCommand: return QStringLiteral("Invalid Command");
    case StorageCode::SystemError: return QStringLiteral("Database Engine Error");
    }
    return QStringLiteral("Unknown Error");
}

StorageError makeError(StorageCode code) { return StorageError{code, storageCodeText(code), 0, {}}; }

QString StorageError::describe() const
{
    if (isSystem())
        return systemText.trimmed() + QStringLiteral(" (") + QString::number(systemCode) + QLatin1Char(')');
    return text.trimmed() + QStringLiteral(" (") + QString::number(number()) + QLatin1Char(')');
}

} // namespace cx
