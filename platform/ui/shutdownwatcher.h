#pragma once
// Tells the program that it should end now: on SIGTERM, SIGHUP or SIGINT
// (system shut-down, terminal closed, Ctrl+C) and when the desktop session
// asks the program to save its data before the user logs off. The receiver
// closes the main window the ordinary way, so every window saves its
// position and closes its tables.
#include <QObject>

#include <memory>

class QSocketNotifier;

namespace cx {

class ShutdownWatcher : public QObject
{
    Q_OBJECT
public:
    explicit ShutdownWatcher(QObject *parent = nullptr);
    ~ShutdownWatcher() override;

    // Only one watcher at a time can own the signal handlers; a second one
    // reports the session request only.
    bool watchesSignals() const { return m_notifier != nullptr; }
    // The last signal received, 0 before any.
    int lastSignal() const { return m_lastSignal; }

signals:
    void shutdownRequested();

private:
    void readSignals();

    struct SavedActions;
    std::unique_ptr<SavedActions> m_saved;
    int m_readFd = -1;
    int m_writeFd = -1;
    int m_lastSignal = 0;
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace cx
