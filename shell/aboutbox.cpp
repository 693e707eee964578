#include "shell/aboutbox.h"

#include "maintenance/compileinfowindow.h"
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

    // The build stamps, in a window of their own over this one; a small link
    // below the one button of the box.
    auto *compileInfo = new QLabel(QStringLiteral("<a href=\"compile\">Compile Information</a>"));
    compileInfo->setObjectName(QStringLiteral("compileInfoLink"));
    compileInfo->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    QFont small = compileInfo->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    compileInfo->setFont(small);
    connect(compileInfo, &QLabel::linkActivated, this, [this] {
        CompileInfoWindow window(this);
        window.exec();
    });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->setSpacing(14);
    layout->addWidget(logo);
    layout->addWidget(version);
    layout->addWidget(back, 0, Qt::AlignHCenter);
    layout->addWidget(compileInfo, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace cx
