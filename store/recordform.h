#pragma once
// What every update form does around its window: reading the request, opening
// its tables, numbering and adding a new record at once, confirming and
// carrying out a delete, writing on OK through the record services with their
// retry questions, deleting the added record again on Cancel, the last saved
// copy and its recall, and the response to the caller.
#include "store/tables.h"

#include <QList>

#include <memory>

namespace cx {

class Program;
class Record;

class RecordForm
{
public:
    // fromForm is false for the song forms (their change conflicts are reported
    // as an update error), true for every other form.
    RecordForm(Program &program, TableId table, bool fromForm = true);
    ~RecordForm();
    RecordForm(const RecordForm &) = delete;
    RecordForm &operator=(const RecordForm &) = delete;

    // Reads and clears the request, opens the tables. Insert: adds the record
    // with its number. Delete: confirms and deletes. true when the window is to
    // open (insert, change); false when the form has ended.
    bool start(const QList<TableId> &otherTables = {});
    int request() const { return m_request; }

    enum class OkResult {
        Close,             // the form ends (the response is set)
        StayOnFirstField,  // the form stays open with the focus on its first field
        Redisplay,         // another copy's version is in the buffer: show it, focus on the first field
    };
    // OK after the window has validated its fields.
    OkResult ok();
    // Cancel: the form ends cancelled; a record added for an insert is deleted again.
    void cancel();
    // Ctrl+': one field (index) from the table's last saved copy; false when there is none.
    bool ditto(int field);

private:
    void end(int response);
    OkResult insertOk();
    OkResult changeOk();

    Program &m_program;
    TableId m_table;
    bool m_fromForm;
    int m_request = 0;
    bool m_ended = false;
    qint64 m_added = 0; // the record added for an insert
    QList<TableId> m_opened;
    std::unique_ptr<Record> m_original; // for the unchanged test
};

} // namespace cx
