#include "app/StatusPanels.h"

const QString StatusPanels::kSearch = QStringLiteral("SEARCH");
const QString StatusPanels::kPath = QStringLiteral("PATH");
const QString StatusPanels::kWord = QStringLiteral("WORD");
const QString StatusPanels::kHitSu = QStringLiteral("HIT_SU");

void StatusPanels::setText(const QString &key, const QString &text)
{
    // One lookup: the search sets a panel for every file it reads.
    const auto it = m_texts.find(key);
    if (it == m_texts.end())
        m_texts.insert(key, text);
    else if (*it == text)
        return;
    else
        *it = text;
    Q_EMIT changed(key, text);
}
