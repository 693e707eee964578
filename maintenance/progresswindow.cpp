#include "maintenance/progresswindow.h"

#include "maintenance/compilestamp.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QLabel>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace cx {

ProgressWindow::ProgressWindow(std::unique_ptr<BatchProcess> process, QWidget *parent)
    : QWidget(parent), m_process(std::move(process)), m_run(*m_process)
{
    setObjectName(QStringLiteral("progressWindow"));
    setWindowTitle(QStringLiteral("Processing Records"));

    m_status = new QLabel(m_process->statusText());
    m_status->setObjectName(QStringLiteral("status"));
    m_bar = new QProgressBar;
    m_bar->setObjectName(QStringLiteral("progress"));
    m_bar->setRange(0, 100);
    m_bar->setValue(0);
    m_bar->setTextVisible(false);
    m_percent = new QLabel(m_run.percentText());
    m_percent->setObjectName(QStringLiteral("percent"));
    m_percent->setAlignment(Qt::AlignCenter);
    m_cancel = new QPushButton(QStringLiteral("Cancel"));
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    connect(m_cancel, &QPushButton::clicked, this, &ProgressWindow::onCancel);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->setSpacing(8);
    layout->addWidget(m_status);
    layout->addWidget(m_bar);
    layout->addWidget(m_percent);
    layout->addWidget(m_cancel, 0, Qt::AlignHCenter);
    setMinimumWidth(300);

    // One tick per timer event, and the next one armed only when this one is
    // over: a message shown inside a tick runs an event loop of its own, and
    // the timer must not start another tick under it.
    m_timer.setSingleShot(true);
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &ProgressWindow::onTick);
}

ProgressWindow::~ProgressWindow() = default;

bool ProgressWindow::start()
{
    if (!m_run.begin())
        return false;
    refresh();
    m_timer.start();
    return true;
}

BatchRun::State ProgressWindow::exec()
{
    if (!start())
        return m_run.state();
    setWindowFlags(windowFlags() | Qt::Dialog);
    setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    connect(this, &ProgressWindow::finished, &loop, &QEventLoop::quit);
    show();
    if (!m_finishedSent)
        loop.exec();
    return m_run.state();
}

void ProgressWindow::showEvent(QShowEvent *event)
{
    noteWindowOpened();
    QWidget::showEvent(event);
}

void ProgressWindow::onTick()
{
    const bool more = m_run.tick();
    refresh();
    if (more) {
        m_timer.start();
        return;
    }
    runEnded();
}

void ProgressWindow::onCancel()
{
    m_run.cancel();
    // Inside a tick the cancel waits for the tick's end; onTick closes then.
    if (!m_run.isRunning())
        runEnded();
}

void ProgressWindow::refresh()
{
    m_status->setText(m_run.statusText());
    m_bar->setValue(m_run.percent());
    m_percent->setText(m_run.percentText());
}

void ProgressWindow::runEnded()
{
    m_timer.stop();
    m_cancel->setEnabled(false);
    refresh();
    if (m_closeAfterTick || m_run.state() != BatchRun::State::Completed) {
        closeWindow();
        return;
    }
    QTimer::singleShot(m_closeDelay, this, &ProgressWindow::closeWindow);
}

void ProgressWindow::closeWindow()
{
    // Inside the frame's window area the sub-window is what closes; it asks
    // this widget first.
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->close();
    else
        close();
}

void ProgressWindow::closeEvent(QCloseEvent *event)
{
    if (m_run.inTick()) {
        // A message of the tick is open: the window goes once the tick is over.
        m_run.cancel();
        m_closeAfterTick = true;
        event->ignore();
        return;
    }
    if (m_run.isRunning()) {
        m_run.cancel(); // closing the window is a Cancel
        refresh();
    }
    m_timer.stop();
    event->accept();
    if (!m_finishedSent) {
        m_finishedSent = true;
        emit finished();
    }
}

} // namespace cx
