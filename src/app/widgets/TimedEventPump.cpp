#include "app/widgets/TimedEventPump.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

TimedEventPump::TimedEventPump(QWidget *window)
    : m_window(window)
{
    m_clock.start();
}

void TimedEventPump::yield()
{
    if (m_clock.elapsed() >= kIntervalMs)
        yieldNow();
}

void TimedEventPump::yieldNow()
{
    QCoreApplication::processEvents();
    m_clock.restart();
}

void TimedEventPump::setBusyCursor(bool busy)
{
    if (!m_window)
        return;
    if (busy)
        m_window->setCursor(Qt::WaitCursor);
    else
        m_window->unsetCursor();
}

// Pending mouse input that arrived while a click was handled is dropped, so a
// click queued during a slow handler does not act on a view that has changed.
void TimedEventPump::flushInput()
{
    m_swallowInput = true;
    qApp->installEventFilter(this);
    QCoreApplication::processEvents();
    qApp->removeEventFilter(this);
    m_swallowInput = false;
}

bool TimedEventPump::eventFilter(QObject *watched, QEvent *event)
{
    if (m_swallowInput) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            return true;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}
