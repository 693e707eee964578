#pragma once
// One run of a batch process: begins it, ticks it, cancels it at a tick
// boundary and finishes it exactly once, and gives the texts the progress
// window shows. Widget-free, so the same run is driven by the window's timer
// and, in tests, by a plain loop.
#include "maintenance/batchprocess.h"

namespace cx {

class BatchRun
{
public:
    enum class State {
        Ready,       // not begun
        Running,     // begun, ticks remain
        Completed,   // every record handled
        Cancelled,   // stopped by Cancel; what was done stays done
        Stopped,     // ended on a failure whose message has been shown
        NothingToDo, // begin() found no work; no window is shown
    };

    explicit BatchRun(BatchProcess &process);
    // A run still going when it goes (its window was destroyed) is finished,
    // so the tables it opened are closed.
    ~BatchRun();
    BatchRun(const BatchRun &) = delete;
    BatchRun &operator=(const BatchRun &) = delete;

    // True when the process has work and ticks should follow.
    bool begin();
    // One tick unless a cancel is pending; true while more ticks are wanted.
    bool tick();
    // Stops the run at the next tick boundary: at once between ticks, after the
    // current tick when asked from inside one (a message shown by the tick).
    void cancel();

    State state() const { return m_state; }
    bool isRunning() const { return m_state == State::Running; }
    bool inTick() const { return m_inTick; }
    int ticks() const { return m_ticks; }
    BatchProcess &process() { return m_process; }

    int percent() const;
    QString statusText() const;  // the process's status; "Process Completed" at the end
    QString percentText() const; // "0% Completed" before the first tick
    // The percentage as the window writes it: three positions, right-aligned.
    static QString percentText(int percent);

private:
    void endAs(State state);

    BatchProcess &m_process;
    State m_state = State::Ready;
    int m_ticks = 0;
    bool m_inTick = false;
    bool m_cancelRequested = false;
};

// Runs a process from begin to end without a window; with cancelAfterTicks >= 0
// the run is cancelled after that many ticks. Returns how it ended.
BatchRun::State runToEnd(BatchProcess &process, int cancelAfterTicks = -1);

} // namespace cx
