#include "base/StatusPanels.h"

const QString StatusPanels::kSearch = QStringLiteral("SEARCH");
const QString StatusPanels::kPath = QStringLiteral("PATH");
const QString StatusPanels::kWord = QStringLiteral("WORD");
const QString StatusPanels::kHitSu = QStringLiteral("HIT_SU");

int StatusPanels::slotOf(const QString &key)
{
    // Callers pass the constants themselves: compared by address first.
    const QString *const keys[] = {&kSearch, &kPath, &kWord, &kHitSu};
    for (int i = 0; i < 4; ++i)
        if (&key == keys[i])
            return i;
    for (int i = 0; i < 4; ++i)
        if (key == *keys[i])
            return i;
    return -1;
}

void StatusPanels::setText(const QString &key, const QString &text)
{
    const int slot = slotOf(key);
    if (slot >= 0) {
        std::optional<QString> &panel = m_panels[size_t(slot)];
        if (panel && *panel == text)
            return;
        panel = text;
    } else {
        const auto it = m_texts.find(key);
        if (it == m_texts.end())
            m_texts.insert(key, text);
        else if (*it == text)
            return;
        else
            *it = text;
    }
    Q_EMIT changed(key, text);
}

QString StatusPanels::text(const QString &key) const
{
    const int slot = slotOf(key);
    if (slot >= 0)
        return m_panels[size_t(slot)].value_or(QString());
    return m_texts.value(key);
}
