#pragma once

// The main window's progress bar.
class ProgressPort
{
public:
    virtual ~ProgressPort() = default;
    virtual void setRange(int minimum, int maximum) = 0;
    virtual void setValue(int value) = 0;
    virtual void setShown(bool shown) = 0;
};

// Progress nobody watches.
class NullProgressPort : public ProgressPort
{
public:
    void setRange(int, int) override {}
    void setValue(int) override {}
    void setShown(bool) override {}
};
