#include "base/StatusPanels.h"

QString StatusPanels::keyOf(StatusPanel panel)
{
    switch (panel) {
    case StatusPanel::SEARCH:
        return QStringLiteral("SEARCH");
    case StatusPanel::PATH:
        return QStringLiteral("PATH");
    case StatusPanel::WORD:
        return QStringLiteral("WORD");
    case StatusPanel::HIT_SU:
        return QStringLiteral("HIT_SU");
    }
    return QString();
}

void StatusPanels::setText(StatusPanel panel, const QString &text)
{
    std::optional<QString> &slot = m_panels[size_t(panel)];
    if (slot && *slot == text)
        return;
    slot = text;
    Q_EMIT changed(panel, text);
}

QString StatusPanels::text(StatusPanel panel) const
{
    return m_panels[size_t(panel)].value_or(QString());
}
