#pragma once

// "Keep responsive": long operations call yield() often; the pump lets the
// event loop run only when some 30 ms have passed since it last did, since a
// yield per line would cost more than the work.
class EventPump
{
public:
    virtual ~EventPump() = default;
    virtual void yield() = 0;      // throttled by the clock
    virtual void yieldNow() = 0;   // unconditional
    virtual void setBusyCursor(bool busy) = 0;
    // Drops pending mouse input after a click (the view handlers end with it).
    virtual void flushInput() = 0;
};

// A pump for code that runs without an event loop (batch search, tests).
class NullEventPump : public EventPump
{
public:
    void yield() override {}
    void yieldNow() override {}
    void setBusyCursor(bool) override {}
    void flushInput() override {}
};
