#include "songs/picklist.h"

#include "lists/pagelist.h"
#include "platform/settings/inifile.h"
#include "platform/ui/images.h"
#include "platform/ui/widgetgeometry.h"
#include "store/program.h"
#include "store/settingspaths.h"
#include "store/standardmessage.h"
#include "store/windowposition.h"

#include <QPushButton>

namespace cx {

PickList::PickList(Program &program, TableId table, bool selectMode, const QString &section,
                   const QString &layoutControl, QWidget *parent)
    : QDialog(parent), m_program(program), m_selectMode(selectMode), m_table(table), m_section(section),
      m_layoutControl(layoutControl)
{
    setObjectName(section);
    setSizeGripEnabled(true);
}

PickList::~PickList()
{
    // The list's statements go before the tables close.
    m_controller.reset();
    m_use.reset();
}

void PickList::createList(std::unique_ptr<ListController> controller, const QString &designedFormat)
{
    m_controller = std::move(controller);
    m_list = new PageList(*m_controller, designedFormat, this);
    m_list->setObjectName(QStringLiteral("list"));
    connect(m_list, &PageList::activated, this, [this] {
        if (m_selectMode)
            choose();
    });
    connect(m_list, &PageList::closeRequested, this, [this] { finish(Program::Cancelled); });
    IniFile positions(positionFilePath());
    m_list->restoreLayout(positions, m_section, m_layoutControl, m_program.settings.dateFormat);
}

QPushButton *PickList::createSelectButton(bool hiddenUnlessSelecting)
{
    auto *select = new QPushButton(QStringLiteral("&Select"), this);
    select->setObjectName(QStringLiteral("select"));
    select->setAutoDefault(false);
    if (hiddenUnlessSelecting)
        select->setVisible(m_selectMode);
    select->setEnabled(m_selectMode);
    select->setDefault(m_selectMode);
    connect(select, &QPushButton::clicked, this, &PickList::choose);
    return select;
}

QPushButton *PickList::createCloseButton()
{
    auto *close = new QPushButton(QStringLiteral("Cl&ose"), this);
    close->setObjectName(QStringLiteral("close"));
    close->setAutoDefault(false);
    close->setIcon(imageIcon(QStringLiteral("exit")));
    connect(close, &QPushButton::clicked, this, &PickList::dismiss);
    return close;
}

void PickList::openList(std::initializer_list<TableId> tables)
{
    m_program.request = Program::NoRequest;
    m_use = std::make_unique<TableUse>(m_program, tables);
    m_open = m_use->ok() && !m_program.halted() && m_controller->reloadTop();
    m_list->setFocus();
}

QPushButton *PickList::button(const QString &objectName) const
{
    return findChild<QPushButton *>(objectName);
}

void PickList::choose()
{
    if (!m_selectMode || m_ended || m_controller->isEmpty())
        return;
    if (m_controller->rereadHighlighted() != StorageCode::NoError) {
        standardMessage(m_program, MessageId::RecordRetrievalError, m_program.table(m_table).decl().label);
        return;
    }
    finish(Program::Completed);
}

void PickList::dismiss()
{
    if (!m_controller->isEmpty())
        m_controller->rereadHighlighted();
    finish(Program::Cancelled);
}

void PickList::finish(int response)
{
    if (m_ended)
        return;
    m_ended = true;
    IniFile positions(positionFilePath());
    m_list->saveLayout(positions, m_section, m_layoutControl);
    if (m_placed) {
        WidgetGeometry geometry(this);
        saveWindowPosition(positions, m_section, geometry);
    }
    m_program.response = response;
    QDialog::done(response == Program::Completed ? Accepted : Rejected);
}

void PickList::done(int)
{
    // Escape and the window's close button end it as "Cl&ose" does.
    if (!m_ended)
        dismiss();
}

void PickList::showEvent(QShowEvent *event)
{
    if (!m_placed) {
        m_placed = true;
        IniFile positions(positionFilePath());
        WidgetGeometry geometry(this);
        restoreWindowPosition(positions, m_section, geometry);
    }
    QDialog::showEvent(event);
}

int runPickList(Program &program, PickList &window)
{
    if (!window.isOpen()) {
        program.response = Program::Cancelled;
        return program.response;
    }
    window.exec();
    return program.response;
}

} // namespace cx
