#include "search/SikibetuMatcher.h"

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
