#include "maintenance/compileinfowindow.h"

#include "maintenance/compilestamp.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace cx {

namespace {
// Wide enough for the given number of characters; the dates follow the
// system's short date, whose length varies, so only the name is limited.
QLineEdit *field(const char *objectName, int characters)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(objectName));
    edit->setReadOnly(true);
    const int width = edit->fontMetrics().horizontalAdvance(QString(characters + 2, QLatin1Char('0')));
    edit->setFixedWidth(width);
    return edit;
}
} // namespace

CompileInfoWindow::CompileInfoWindow(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("compileInformation"));
    setWindowTitle(QStringLiteral("Compile Information"));

    m_application = field("application", 8);
    m_application->setMaxLength(8);
    m_creationDate = field("creationDate", 12);
    m_changeDate = field("changeDate", 12);
    m_creationTime = field("creationTime", 8);
    m_changeTime = field("changeTime", 8);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Application"), m_application);
    form->addRow(QStringLiteral("Creation Date:"), m_creationDate);
    form->addRow(QStringLiteral("Change Date:"), m_changeDate);
    form->addRow(QStringLiteral("Creation Time:"), m_creationTime);
    form->addRow(QStringLiteral("Change Time:"), m_changeTime);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("closeButton"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    refresh();
}

void CompileInfoWindow::refresh()
{
    const CompileStamp created = creationStamp();
    const CompileStamp changed = changeStamp();
    m_application->setText(compileApplicationName());
    m_creationDate->setText(stampDateText(created.date));
    m_changeDate->setText(stampDateText(changed.date));
    m_creationTime->setText(stampTimeText(created.time));
    m_changeTime->setText(stampTimeText(changed.time));
}

} // namespace cx
