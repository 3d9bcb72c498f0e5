#include "search/RunNotices.h"

#include "base/StatusPanels.h"
#include "platform/MessagePort.h"

RunNotices::RunNotices(MessagePort &messages, StatusPanels *status, Boxes boxes)
    : m_messages(messages), m_status(status), m_boxes(boxes)
{
}

void RunNotices::refuse(Kind kind, const std::function<QString()> &text, const QString &caption)
{
    const int n = ++m_refused[size_t(kind)];
    if (m_boxes == Boxes::Every || n == 1) {
        m_messages.show(text(), caption, MessagePort::Icon::Exclamation);
    } else {
        ++m_unshown;
    }
    if (m_status && m_boxes == Boxes::FirstOfEachKind)
        m_status->setText(StatusPanels::kHitSu,
                          runningCount(m_refused[size_t(Kind::AlreadyOpen)] + m_refused[size_t(Kind::Overflow)]));
}

QString RunNotices::closingMessage(const QStringList &skipped) const
{
    if (m_boxes == Boxes::Every || (m_unshown == 0 && skipped.isEmpty()))
        return {};
    return summaryText(refused(Kind::AlreadyOpen), refused(Kind::Overflow), skipped);
}

QString RunNotices::summaryText(int alreadyOpen, int overflow, const QStringList &skipped)
{
    QStringList lines{QStringLiteral("追加しなかったファイルがあります。")};
    if (alreadyOpen > 0)
        lines.append(QStringLiteral("既に開かれているファイル（追加中止）：%1件").arg(alreadyOpen));
    if (overflow > 0)
        lines.append(QStringLiteral("Over Flow（追加中止）：%1件").arg(overflow));
    if (!skipped.isEmpty()) {
        lines.append(QStringLiteral("読み込めなかった、またはスキップしたファイル・フォルダ：%1件").arg(skipped.size()));
        for (qsizetype i = 0; i < skipped.size() && i < kListedSkips; ++i) {
            QString entry = skipped.at(i);
            entry.replace(QStringLiteral("\r\n"), QStringLiteral("　"));
            lines.append(QStringLiteral("　") + entry);
        }
        if (skipped.size() > kListedSkips)
            lines.append(QStringLiteral("　ほか %1件").arg(skipped.size() - kListedSkips));
    }
    return lines.join(QStringLiteral("\r\n"));
}

QString RunNotices::runningCount(int refused)
{
    return QStringLiteral("追加中止 =") + QString::number(refused) + QStringLiteral("ﾌｧｲﾙ");
}
