#pragma once
// The program-wide state: the catalogue connection, one record buffer and use
// count per table declaration, the saved storage error, request and response,
// and the way the program ends after a fatal message. Passed to every window
// and process instead of living in globals.
#include "platform/storage/database.h"
#include "platform/storage/table.h"
#include "platform/ui/prompter.h"
#include "store/settings.h"
#include "store/tables.h"

#include <array>
#include <memory>
#include <optional>

namespace cx {

class Program
{
public:
    Program(const QString &databasePath, Prompter &prompter);
    ~Program();

    Database &database() { return m_db; }
    Table &table(TableId id) { return *m_tables.at(static_cast<int>(id)); }
    int &useCount(TableId id) { return m_useCounts.at(static_cast<int>(id)); }
    Prompter &prompter() { return m_prompter; }

    // A fatal failure: the closing message has been shown and the program must
    // end without touching anything more. Callers unwind and the shell exits.
    void halt(const QString &closingMessage);
    bool halted() const { return m_halted; }
    QString haltMessage() const { return m_haltMessage; }

    // The error a record service keeps until its message is shown.
    std::optional<StorageError> savedError;

    // The preferences as the settings load left them, and the report criteria.
    Settings settings;
    ReportCriteria criteria;

    // The last record completed in a form, per table: Ctrl+' recalls a field from it.
    std::optional<Record> &lastSaved(TableId id) { return m_lastSaved.at(static_cast<int>(id)); }
    // The record as a form opened it for change: link values are compared with it.
    std::optional<Record> &remembered(TableId id) { return m_remembered.at(static_cast<int>(id)); }

    // Request to a form and the form's response.
    enum Request { NoRequest = 0, InsertRecord = 1, ChangeRecord = 2, DeleteRecord = 3, CopyRecord = 4 };
    enum Response { NoResponse = 0, Completed = 1, Cancelled = 2 };
    int request = NoRequest;
    int response = NoResponse;

private:
    Database m_db;
    Prompter &m_prompter;
    std::array<std::unique_ptr<Table>, kTableCount> m_tables;
    std::array<int, kTableCount> m_useCounts{};
    std::array<std::optional<Record>, kTableCount> m_lastSaved;
    std::array<std::optional<Record>, kTableCount> m_remembered;
    bool m_halted = false;
    QString m_haltMessage;
};

} // namespace cx
