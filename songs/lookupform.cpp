#include "songs/lookupform.h"

#include "platform/settings/inifile.h"
#include "platform/ui/widgetgeometry.h"
#include "store/program.h"
#include "store/recordform.h"
#include "store/settingspaths.h"
#include "store/windowposition.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace cx {

LookupFormSpec categoryFormSpec()
{
    return {TableId::Categories,
            QStringLiteral("CAT:Category"),
            30,
            QStringLiteral("&Category:"),
            QStringLiteral("Update Categories"),
            QStringLiteral("Add Category"),
            QStringLiteral("Change Category"),
            QStringLiteral("UpdateCategories")};
}

LookupFormSpec mediaFormSpec()
{
    return {TableId::Media,
            QStringLiteral("MED:Media"),
            20,
            QStringLiteral("&Media:"),
            QStringLiteral("Update Media Format"),
            QStringLiteral("Adding Media Format"),
            QStringLiteral("Changing Media Format"),
            QStringLiteral("UpdateMedia")};
}

LookupForm::LookupForm(Program &program, RecordForm &form, const LookupFormSpec &spec, QWidget *parent)
    : QDialog(parent), m_program(program), m_form(form), m_spec(spec), m_entry(new QLineEdit)
{
    setObjectName(spec.section);
    setWindowTitle(form.request() == Program::InsertRecord   ? spec.insertTitle
                   : form.request() == Program::ChangeRecord ? spec.changeTitle
                                                             : spec.title);
    m_entry->setObjectName(QStringLiteral("entry"));
    m_entry->setMaxLength(spec.width);
    m_entry->setMinimumWidth(fontMetrics().averageCharWidth() * (spec.width + 2));
    m_entry->installEventFilter(this);
    auto *prompt = new QLabel(spec.prompt);
    prompt->setBuddy(m_entry);
    auto *fields = new QFormLayout;
    fields->addRow(prompt, m_entry);

    auto *buttons = new QDialogButtonBox;
    QPushButton *okButton = buttons->addButton(QStringLiteral("&Ok"), QDialogButtonBox::AcceptRole);
    okButton->setObjectName(QStringLiteral("ok"));
    okButton->setDefault(true);
    QPushButton *cancelButton = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    cancelButton->setObjectName(QStringLiteral("cancel"));
    connect(okButton, &QPushButton::clicked, this, &LookupForm::ok);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(buttons);
    setFixedSize(sizeHint());

    IniFile positions(positionFilePath());
    WidgetGeometry geometry(this);
    restoreWindowPosition(positions, spec.section, geometry);
    showRecord();
}

LookupForm::~LookupForm() = default;

void LookupForm::showRecord()
{
    m_entry->setText(m_program.table(m_spec.table).buffer().text(m_spec.field));
    m_entry->selectAll();
    m_entry->setFocus();
}

void LookupForm::ok()
{
    m_program.table(m_spec.table).buffer().set(m_spec.field, m_entry->text());
    switch (m_form.ok()) {
    case RecordForm::OkResult::Close:
        m_ended = true;
        done(m_program.response == Program::Completed ? Accepted : Rejected);
        return;
    case RecordForm::OkResult::Redisplay:
    case RecordForm::OkResult::StayOnFirstField:
        showRecord();
        return;
    }
}

void LookupForm::done(int result)
{
    // Cancel, Escape and closing the window all end the form cancelled.
    if (!m_ended)
        m_form.cancel();
    m_ended = true;
    IniFile positions(positionFilePath());
    WidgetGeometry geometry(this);
    saveWindowPosition(positions, m_spec.section, geometry);
    QDialog::done(result);
}

bool LookupForm::eventFilter(QObject *watched, QEvent *event)
{
    // Ctrl+' recalls the field from the last record saved in this form.
    if (watched == m_entry && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Apostrophe && key->modifiers().testFlag(Qt::ControlModifier)) {
            const int field = m_program.table(m_spec.table).decl().fieldIndex(m_spec.field);
            m_program.table(m_spec.table).buffer().set(m_spec.field, m_entry->text());
            if (m_form.ditto(field))
                showRecord();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

int runLookupForm(Program &program, const LookupFormSpec &spec, QWidget *parent)
{
    RecordForm form(program, spec.table);
    if (!form.start())
        return program.response;
    LookupForm window(program, form, spec, parent);
    window.exec();
    return program.response;
}

} // namespace cx
