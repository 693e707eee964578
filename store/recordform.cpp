#include "store/recordform.h"

#include "store/autonumber.h"
#include "store/opentable.h"
#include "store/program.h"
#include "store/recordservices.h"
#include "store/standardmessage.h"

namespace cx {

RecordForm::RecordForm(Program &program, TableId table, bool fromForm)
    : m_program(program), m_table(table), m_fromForm(fromForm)
{
}

RecordForm::~RecordForm()
{
    if (!m_ended)
        cancel();
    for (TableId id : std::as_const(m_opened))
        closeTable(m_program, id);
}

bool RecordForm::start(const QList<TableId> &otherTables)
{
    m_request = m_program.request;
    m_program.request = Program::NoRequest;
    m_program.response = Program::NoResponse;
    QList<TableId> tables{m_table};
    tables << otherTables;
    for (TableId id : std::as_const(tables)) {
        if (!openTable(m_program, id)) {
            end(Program::Cancelled);
            return false;
        }
        m_opened << id;
    }
    Table &table = m_program.table(m_table);
    m_program.remembered(m_table) = table.buffer();

    if (m_request == Program::InsertRecord) {
        if (!addWithNextNumber(m_program, m_table)) {
            end(Program::Cancelled);
            return false;
        }
        m_added = table.position();
    } else if (m_request == Program::DeleteRecord) {
        bool deleted = false;
        if (standardMessage(m_program, MessageId::ConfirmDelete) == Ok) {
            deleted = ruleDelete(m_program, m_table) == ServiceDone;
            while (!deleted && standardMessage(m_program, MessageId::RetryDelete) == Yes)
                deleted = ruleDelete(m_program, m_table) == ServiceDone;
        }
        end(deleted ? Program::Completed : Program::Cancelled);
        return false;
    }
    m_original = std::make_unique<Record>(table.buffer());
    return true;
}

RecordForm::OkResult RecordForm::ok()
{
    m_program.lastSaved(m_table) = m_program.table(m_table).buffer();
    return m_request == Program::InsertRecord ? insertOk() : changeOk();
}

RecordForm::OkResult RecordForm::insertOk()
{
    Table &table = m_program.table(m_table);
    const StorageCode code = table.put();
    if (code == StorageCode::NoError) {
        m_added = 0;
        end(Program::Completed);
        return OkResult::Close;
    }
    if (code == StorageCode::DuplicateKey) {
        // Name the first unique key, in the table's key order, that the record would duplicate.
        const TableDecl &d = table.decl();
        for (int k = 0; k < d.keys.size(); ++k) {
            if (d.keys.at(k).unique && table.isDuplicate(k)) {
                standardMessage(m_program, MessageId::DuplicateKey, d.fullName(d.keys.at(k).name));
                return OkResult::StayOnFirstField;
            }
        }
    }
    standardMessage(m_program, MessageId::InsertError);
    return OkResult::StayOnFirstField;
}

RecordForm::OkResult RecordForm::changeOk()
{
    Table &table = m_program.table(m_table);
    if (m_original && table.buffer() == *m_original) {
        end(Program::Completed);
        return OkResult::Close;
    }
    for (;;) {
        switch (ruleUpdate(m_program, m_table, m_fromForm)) {
        case ServiceDone:
            end(Program::Completed);
            return OkResult::Close;
        case ServiceChangedByOther:
            m_original = std::make_unique<Record>(table.buffer());
            return OkResult::Redisplay;
        case ServiceFailed:
            switch (standardMessage(m_program, MessageId::RetryChange)) {
            case Yes:
                continue;
            case No:
                end(Program::Cancelled);
                return OkResult::Close;
            default:
                return OkResult::StayOnFirstField;
            }
        }
    }
}

void RecordForm::cancel()
{
    if (m_added) {
        // The record added when the form opened must not stay behind.
        Table &table = m_program.table(m_table);
        if (table.reget(m_added) == StorageCode::NoError)
            table.remove();
        m_added = 0;
    }
    end(Program::Cancelled);
}

bool RecordForm::ditto(int field)
{
    const std::optional<Record> &saved = m_program.lastSaved(m_table);
    if (!saved)
        return false;
    m_program.table(m_table).buffer().setValue(field, saved->value(field));
    return true;
}

void RecordForm::end(int response)
{
    m_program.response = response;
    m_ended = true;
}

} // namespace cx
