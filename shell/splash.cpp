#include "shell/splash.h"

#include "platform/ui/images.h"
#include "platform/ui/svgpixmap.h"

#include "store/version.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

namespace cx {

QString Splash::picturePath()
{
    return imagePath(QStringLiteral("crx97"));
}

Splash::Splash(QWidget *frame)
    : QWidget(frame, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("splash"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Cantorix"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);

    auto *picture = new QLabel;
    picture->setObjectName(QStringLiteral("splashPicture"));
    picture->setPixmap(svgPixmap(picturePath(), 1.0, devicePixelRatioF()));
    picture->setAlignment(Qt::AlignCenter);

    auto *caption = new QLabel(versionCaption());
    caption->setObjectName(QStringLiteral("splashVersion"));
    caption->setAlignment(Qt::AlignCenter);
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);

    // Clicks anywhere on the splash close it, the labels included.
    for (QLabel *label : {picture, caption})
        label->setAttribute(Qt::WA_TransparentForMouseEvents);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 8);
    layout->setSpacing(6);
    layout->addWidget(picture);
    layout->addWidget(caption);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_timer.setSingleShot(true);
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, &Splash::closeNow);
}

void Splash::setInterval(int milliseconds)
{
    m_timer.setInterval(milliseconds);
    if (m_timer.isActive())
        m_timer.start();
}

void Splash::closeNow()
{
    close();
}

void Splash::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    adjustSize();
    QRect over;
    if (QWidget *frame = parentWidget())
        over = frame->window()->frameGeometry();
    else if (const QScreen *screen = QGuiApplication::primaryScreen())
        over = screen->availableGeometry();
    if (over.isValid()) {
        QRect mine(QPoint(), size());
        mine.moveCenter(over.center());
        move(mine.topLeft());
    }
    if (!m_finished && !m_timer.isActive())
        m_timer.start();
}

void Splash::closeEvent(QCloseEvent *event)
{
    m_timer.stop();
    event->accept();
    if (!m_finished) {
        m_finished = true;
        emit finished();
    }
}

void Splash::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    closeNow();
}

void Splash::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    closeNow();
}

void Splash::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    // A frameless window needs an edge of its own.
    QPainter painter(this);
    painter.setPen(QColor(0x4a, 0x4f, 0x5c));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace cx
