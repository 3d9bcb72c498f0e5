#pragma once

#include "platform/ProgressPort.h"

class QProgressBar;
class QWidget;

// A dialog's own progress bar as the core's progress port; `hidden` is the
// widget shown in its place while the bar is not (or null).
class BarProgressPort : public ProgressPort
{
public:
    BarProgressPort(QProgressBar *bar, QWidget *hidden = nullptr) : m_bar(bar), m_hidden(hidden) {}
    void setRange(int minimum, int maximum) override;
    void setValue(int value) override;
    void setShown(bool shown) override;

private:
    QProgressBar *m_bar;
    QWidget *m_hidden;
};
