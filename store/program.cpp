#include "store/program.h"

namespace cx {

Program::Program(const QString &databasePath, Prompter &prompter) : m_db(databasePath), m_prompter(prompter)
{
    for (TableId id : allTables())
        m_tables.at(static_cast<int>(id)) = std::make_unique<Table>(m_db, tableDecl(id));
}

Program::~Program() = default;

void Program::halt(const QString &closingMessage)
{
    if (m_halted)
        return;
    m_halted = true;
    m_haltMessage = closingMessage;
    m_prompter.show({QStringLiteral("Cantorix"), closingMessage, Icon::Exclamation, Ok, Ok});
}

} // namespace cx
