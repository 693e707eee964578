#include "shell/aboutbox.h"

#include "shell/mainframe.h"
#include "store/version.h"

#include <QLabel>
#include <QPushButton>
#include <QSvgRenderer>
#include <QPainter>
#include <QVBoxLayout>

namespace cx {

AboutBox::AboutBox(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("aboutBox"));
    setWindowTitle(tr("About Cantorix"));

    // The logo half as large again as drawn, at the pixel density of the screen.
    QSvgRenderer renderer(MainFrame::builtInLogoPath());
    const QSize size = renderer.defaultSize() * 3 / 2;
    const qreal ratio = devicePixelRatioF();
    QPixmap pixmap(size * ratio);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        renderer.render(&painter);
    }
    pixmap.setDevicePixelRatio(ratio);
    auto *logo = new QLabel;
    logo->setObjectName(QStringLiteral("aboutLogo"));
    logo->setPixmap(pixmap);
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
