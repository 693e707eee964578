#pragma once
// A long job over many records, done a fixed number of records at a time so
// that the program stays responsive between the steps and can be cancelled
// between them. Widget-free: the progress window drives one on a timer, and
// tests drive one with runToEnd().
#include <QString>

namespace cx {

class BatchProcess
{
public:
    virtual ~BatchProcess() = default;

    // The status line while the process runs ("Copying...").
    virtual QString statusText() const = 0;
    // Records handled per tick.
    virtual int rowsPerTick() const = 0;

    // Opens what the process needs. False when there is nothing to run: the
    // process has no work and shows no window, or it could not start (its
    // message has been shown and failed() is true). Nothing is left open then.
    virtual bool begin() = 0;
    // Handles up to rowsPerTick() records; true while records remain. False
    // also after a failure whose message has been shown (failed() is true).
    virtual bool tick() = 0;
    // How far the process has come, 0 to 100.
    virtual int percent() const = 0;
    // Closes what begin() opened; called once, after the last tick or on cancel.
    virtual void finish() = 0;
    virtual bool failed() const = 0;
};

} // namespace cx
