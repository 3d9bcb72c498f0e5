#pragma once

#include "platform/EventPump.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

class QWidget;

// Lets the event loop run from inside long operations, at most about every
// 30 ms: often enough to repaint and take a click on STOP, rarely enough to
// cost nothing measurable.
class TimedEventPump : public QObject, public EventPump
{
public:
    static constexpr int kIntervalMs = 30;

    explicit TimedEventPump(QWidget *window);
    void yield() override;
    void yieldNow() override;
    void setBusyCursor(bool busy) override;
    void flushInput() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWidget> m_window;
    QElapsedTimer m_clock;
    bool m_swallowInput = false;
};
