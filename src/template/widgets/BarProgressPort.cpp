#include "template/widgets/BarProgressPort.h"

#include <QProgressBar>

void BarProgressPort::setRange(int minimum, int maximum)
{
    m_bar->setRange(minimum, maximum);
}

void BarProgressPort::setValue(int value)
{
    m_bar->setValue(value);
}

void BarProgressPort::setShown(bool shown)
{
    m_bar->setVisible(shown);
    if (m_hidden)
        m_hidden->setVisible(!shown);
}
