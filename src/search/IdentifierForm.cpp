#include "search/IdentifierForm.h"

#include "platform/MessagePort.h"
#include "search/SearchWord.h"

#include <algorithm>

const QString IdentifierForm::kCaption = QStringLiteral("識別子　編集");

IdentifierForm::IdentifierForm(const std::array<QString, kMaxItems> &sikibetu)
{
    for (const QString &s : sikibetu)
        if (!s.isEmpty())
            m_items.append(s);
}

bool IdentifierForm::Add(QString &text, MessagePort &messages)
{
    auto refuse = [&messages](const char *message) {
        messages.show(QString::fromUtf8(message), kCaption, MessagePort::Icon::Exclamation);
        return false;
    };
    text = SearchWord::trimSpaces(text).toUpper();
    if (text.isEmpty())
        return refuse("識別子が入力されていません。");
    if (text.contains(QLatin1Char('.')))
        return refuse("．の入力は不要です。");
    if (m_items.contains(text))
        return refuse("アイテムが重複しています。");
    if (m_items.size() >= kMaxItems)
        return refuse("アイテムが多すぎます(MAX20件です)。");
    if (text.contains(QLatin1Char('*'))) {
        text.clear();
        return refuse("*は特殊文字扱いであり登録できません。");
    }
    // A file's identifier has at most three characters, so a longer one is
    // kept only when the user insists; it will never match.
    if (text.size() > 3) {
        const auto answer = messages.show(QStringLiteral("通常識別子は３文字までです。\r\nよろしいですか？"), kCaption,
                                          MessagePort::Icon::Exclamation, MessagePort::Buttons::YesNo);
        if (answer != MessagePort::Answer::Yes) {
            text.clear();
            return false;
        }
    }
    m_items.append(text);
    return true;
}

bool IdentifierForm::Remove(const QList<int> &selectedRows, MessagePort &messages)
{
    if (selectedRows.isEmpty()) {
        messages.show(QStringLiteral("識別子リストが選択されていません。"), kCaption, MessagePort::Icon::Exclamation);
        return false;
    }
    QList<int> rows = selectedRows;
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    // From the last to the first, so earlier indexes stay valid.
    for (auto it = rows.crbegin(); it != rows.crend(); ++it)
        if (*it >= 0 && *it < m_items.size())
            m_items.removeAt(*it);
    return true;
}

void IdentifierForm::Store(std::array<QString, kMaxItems> &sikibetu) const
{
    for (QString &s : sikibetu)
        s.clear();
    for (int i = 0; i < m_items.size() && i < kMaxItems; ++i)
        sikibetu[size_t(i)] = m_items.at(i);
}
