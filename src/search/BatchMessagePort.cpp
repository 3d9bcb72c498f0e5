#include "search/BatchMessagePort.h"

MessagePort::Answer BatchMessagePort::show(const QString &text, const QString &caption, Icon, Buttons buttons)
{
    QString line = caption + QStringLiteral(": ") + text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    line += QLatin1Char('\n');
    m_pending += line.toUtf8();
    if (m_pending.size() >= 64 * 1024 || m_clock.elapsed() >= 200)
        flush();
    ++m_shown;
    switch (buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::OkCancel:
        return Answer::Cancel;
    case Buttons::YesNo:
    case Buttons::YesNoCancel:
        break;
    }
    return Answer::No;
}

std::optional<QString> BatchMessagePort::input(const QString &, const QString &, const QString &)
{
    return std::nullopt;
}

void BatchMessagePort::flush()
{
    if (!m_pending.isEmpty()) {
        std::fwrite(m_pending.constData(), 1, size_t(m_pending.size()), m_out);
        m_pending.clear();
    }
    std::fflush(m_out);
    m_clock.restart();
}
