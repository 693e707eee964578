#include "store/opentable.h"

#include "store/program.h"
#include "store/standardmessage.h"

namespace cx {

namespace {
bool opened(Program &program, TableId id)
{
    ++program.useCount(id);
    return true;
}

// Asks for the stored layout to be rewritten to the declared one, then opens again.
bool upgradeAndOpen(Table &table)
{
    return table.upgrade() == StorageCode::NoError && table.open() == StorageCode::NoError;
}
} // namespace

bool createTable(Program &program, TableId id)
{
    Table &table = program.table(id);
    if (table.create() != StorageCode::NoError) {
        standardMessage(program, MessageId::CreateError, table.name());
        program.halt(QStringLiteral("File Creation Error!"));
        return false;
    }
    if (table.open() != StorageCode::NoError) {
        standardMessage(program, MessageId::CreatedOpenError, table.name());
        program.halt(QStringLiteral("File Creation Error!"));
        return false;
    }
    return opened(program, id);
}

bool openTable(Program &program, TableId id)
{
    if (program.halted())
        return false;
    if (program.useCount(id) > 0)
        return opened(program, id);
    Table &table = program.table(id);
    StorageCode code = table.open();
    if (code == StorageCode::TableLocked) {
        // Left locked by a transaction that never finished: wait for the
        // engine to recover it and try once more.
        table.sendCommand(QStringLiteral("Recover=10"));
        code = table.open();
    }
    if (code == StorageCode::NoError)
        return opened(program, id);
    if (code == StorageCode::FileNotFound)
        return createTable(program, id);

    if (code == StorageCode::KeysDamaged) {
        if (standardMessage(program, MessageId::InvalidKey, table.name()) != Yes) {
            program.halt(QStringLiteral("Invalid Key!"));
            return false;
        }
        if (table.build() != StorageCode::NoError) {
            standardMessage(program, MessageId::KeyRebuildError, table.name());
            program.halt(QStringLiteral("Error Rebuilding Key!"));
            return false;
        }
        code = table.open();
        if (code == StorageCode::NoError)
            return opened(program, id);
    } else if (code == StorageCode::LayoutDiffers) {
        if (upgradeAndOpen(table))
            return opened(program, id);
        standardMessage(program, MessageId::InvalidFile, table.name());
        program.halt(QStringLiteral("Invalid File!"));
        return false;
    }

    if (code == StorageCode::NotACatalogue || code == StorageCode::SystemError || code == StorageCode::LayoutDiffers) {
        const StorageError failure = program.database().error();
        if (upgradeAndOpen(table))
            return opened(program, id);
        // The message reports why the open failed, not why the repair did.
        program.savedError = failure;
    }
    standardMessage(program, MessageId::OpenError, table.name());
    program.halt(QStringLiteral("Disk Error"));
    return false;
}

void closeTable(Program &program, TableId id)
{
    int &count = program.useCount(id);
    if (count <= 0)
        return;
    if (--count == 0)
        program.table(id).close();
}

TableUse::TableUse(Program &program, std::initializer_list<TableId> tables) : m_program(program)
{
    for (TableId id : tables) {
        if (!openTable(program, id)) {
            m_ok = false;
            return;
        }
        m_opened << id;
    }
}

TableUse::~TableUse()
{
    for (TableId id : std::as_const(m_opened))
        closeTable(m_program, id);
}

} // namespace cx
