#include "shell/aboutbox.h"

#include "platform/ui/svgpixmap.h"
#include "shell/mainframe.h"
#include "store/version.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace cx {

AboutBox::AboutBox(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("aboutBox"));
    setWindowTitle(tr("About Cantorix"));

    // The logo half as large again as drawn, at the pixel density of the screen.
    auto *logo = new QLabel;
    logo->setObjectName(QStringLiteral("aboutLogo"));
    logo->setPixmap(svgPixmap(MainFrame::builtInLogoPath(), 1.5, devicePixelRatioF()));
    logo->setAlignment(Qt::AlignCenter);

    auto *version = new QLabel(versionCaption());
    version->setObjectName(QStringLiteral("aboutVersion"));
    version->setAlignment(Qt::AlignCenter);
    QFont bold = version->font();
    bold.setBold(true);
    version->setFont(bold);

    auto *back = new QPushButton(tr("&Return to Cantorix"));
    back->setObjectName(QStringLiteral("returnButton"));
    back->setDefault(true);
    connect(back, &QPushButton::clicked, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->setSpacing(14);
    layout->addWidget(logo);
    layout->addWidget(version);
    layout->addWidget(back, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace cx
