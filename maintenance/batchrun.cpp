#include "maintenance/batchrun.h"

#include <algorithm>

namespace cx {

BatchRun::BatchRun(BatchProcess &process) : m_process(process) {}

BatchRun::~BatchRun()
{
    if (m_state == State::Running)
        m_process.finish();
}

bool BatchRun::begin()
{
    if (m_state != State::Ready)
        return m_state == State::Running;
    if (!m_process.begin()) {
        m_state = m_process.failed() ? State::Stopped : State::NothingToDo;
        return false;
    }
    m_state = State::Running;
    return true;
}

bool BatchRun::tick()
{
    if (m_state != State::Running)
        return false;
    if (m_cancelRequested) {
        endAs(State::Cancelled);
        return false;
    }
    m_inTick = true;
    const bool more = m_process.tick();
    m_inTick = false;
    ++m_ticks;
    if (!more) {
        endAs(m_process.failed() ? State::Stopped : State::Completed);
        return false;
    }
    if (m_cancelRequested) {
        endAs(State::Cancelled);
        return false;
    }
    return true;
}

void BatchRun::cancel()
{
    if (m_state != State::Running)
        return;
    m_cancelRequested = true;
    // Inside a tick the process is between two records of one transaction:
    // the tick ends first, and tick() finishes the run.
    if (!m_inTick)
        endAs(State::Cancelled);
}

void BatchRun::endAs(State state)
{
    m_state = state;
    m_process.finish();
}

int BatchRun::percent() const
{
    if (m_state == State::Completed)
        return 100;
    return std::clamp(m_process.percent(), 0, 100);
}

QString BatchRun::statusText() const
{
    if (m_state == State::Completed)
        return QStringLiteral("Process Completed");
    return m_process.statusText();
}

QString BatchRun::percentText() const
{
    if (m_ticks == 0 && m_state != State::Completed)
        return QStringLiteral("0% Completed");
    return percentText(percent());
}

QString BatchRun::percentText(int percent)
{
    return QStringLiteral("%1% Completed").arg(percent, 3);
}

BatchRun::State runToEnd(BatchProcess &process, int cancelAfterTicks)
{
    BatchRun run(process);
    if (!run.begin())
        return run.state();
    for (;;) {
        if (cancelAfterTicks >= 0 && run.ticks() >= cancelAfterTicks) {
            run.cancel();
            break;
        }
        if (!run.tick())
            break;
    }
    return run.state();
}

} // namespace cx
