#include "app/StatusPanels.h"

const QString StatusPanels::kSearch = QStringLiteral("SEARCH");
const QString StatusPanels::kPath = QStringLiteral("PATH");
const QString StatusPanels::kWord = QStringLiteral("WORD");
const QString StatusPanels::kHitSu = QStringLiteral("HIT_SU");

void StatusPanels::setText(const QString &key, const QString &text)
{
    if (m_texts.value(key) == text && m_texts.contains(key))
        return;
    m_texts.insert(key, text);
    Q_EMIT changed(key, text);
}
