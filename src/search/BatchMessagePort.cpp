#include "search/BatchMessagePort.h"

#include "search/ResultSink.h"

#include <QStringEncoder>

namespace {

void appendUtf8(QByteArray &out, QStringEncoder &utf8, QStringView text)
{
    const qsizetype at = out.size();
    out.resize(at + utf8.requiredSpace(text.size()));
    char *end = utf8.appendToBuffer(out.data() + at, text);
    out.truncate(end - out.constData());
}

} // namespace

MessagePort::Answer BatchMessagePort::show(const QString &text, const QString &caption, Icon, Buttons buttons)
{
    // "caption: text", each CR LF as LF, encoded straight into the block.
    appendUtf8(m_pending, m_utf8, caption);
    m_pending += ": ";
    const char16_t *chars = QStringView(text).utf16();
    const qsizetype size = text.size();
    qsizetype from = 0;
    for (qsizetype i = 0; i + 1 < size; ++i) {
        if (chars[i] == u'\r' && chars[i + 1] == u'\n') {
            appendUtf8(m_pending, m_utf8, QStringView(text).sliced(from, i - from));
            m_pending += '\n';
            from = ++i + 1;
        }
    }
    appendUtf8(m_pending, m_utf8, QStringView(text).sliced(from));
    m_pending += '\n';
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
    case Buttons::YesNoDefaultNo:
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

void BatchMessagePort::showSkipped(const QStringList &reasons)
{
    for (const QString &reason : reasons)
        show(reason, ResultSink::kCaption, Icon::Exclamation, Buttons::Ok);
}
