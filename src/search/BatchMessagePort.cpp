#include "search/BatchMessagePort.h"

MessagePort::Answer BatchMessagePort::show(const QString &text, const QString &caption, Icon, Buttons buttons)
{
    QString line = caption + QStringLiteral(": ") + text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    line += QLatin1Char('\n');
    const QByteArray utf8 = line.toUtf8();
    std::fwrite(utf8.constData(), 1, size_t(utf8.size()), m_out);
    std::fflush(m_out);
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
