#pragma once
// The small window every batch process runs in: "Processing Records", the
// process's status line, a progress bar, the percentage and "Cancel". The
// process works on a timer, one tick per timer event, so the program goes on
// answering between ticks; Cancel takes effect at the next tick boundary.
// When the process has handled every record the status reads "Process
// Completed" for a moment and the window closes.
#include "maintenance/batchrun.h"

#include <QTimer>
#include <QWidget>

#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;

namespace cx {

class ProgressWindow : public QWidget
{
    Q_OBJECT
public:
    explicit ProgressWindow(std::unique_ptr<BatchProcess> process, QWidget *parent = nullptr);
    ~ProgressWindow() override;

    // Begins the process and arms its timer; false when there is nothing to
    // run, and then the window should not be shown at all.
    bool start();
    // Runs the process modally on the caller's event loop (as a dialog over
    // the parent) until the window closes; returns how the run ended.
    BatchRun::State exec();

    BatchRun &run() { return m_run; }
    BatchProcess &process() { return *m_process; }

    // How long "Process Completed" stays before the window closes.
    void setCloseDelay(int milliseconds) { m_closeDelay = milliseconds; }
    // The pause between two ticks (0: as soon as pending events are handled).
    void setTickInterval(int milliseconds) { m_timer.setInterval(milliseconds); }

signals:
    // The run has ended (completed, cancelled or stopped) and the window closes.
    void finished();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void onTick();
    void onCancel();
    void refresh();
    void runEnded();
    void closeWindow();

    std::unique_ptr<BatchProcess> m_process;
    BatchRun m_run;
    QTimer m_timer;
    QLabel *m_status;
    QProgressBar *m_bar;
    QLabel *m_percent;
    QPushButton *m_cancel;
    int m_closeDelay = 400;
    bool m_closeAfterTick = false;
    bool m_finishedSent = false;
};

} // namespace cx
