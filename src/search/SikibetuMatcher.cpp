#include "search/SikibetuMatcher.h"

#include "base/Settings.h"

SikibetuMatcher::SikibetuMatcher(const Settings &settings, const QString &searchSikibetu)
{
    if (settings.SIKIBETU_ALL_FLG == 1) {
        for (const QString &s : settings.SIKIBETU)
            if (!s.isEmpty())
                m_chosen.append(s);
    } else if (!searchSikibetu.isEmpty()) {
        m_chosen.append(searchSikibetu);
    }
}

QStringView SikibetuMatcher::identifierIn(QStringView upperName)
{
    const QStringView last4 = upperName.right(4);
    const qsizetype dot = last4.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QStringView() : last4.mid(dot + 1);
}

bool SikibetuMatcher::Match_Sikibetu(QStringView identifier) const
{
    return !identifier.isEmpty() && m_chosen.contains(identifier);
}
