#include "edit/UnsavableText.h"

#include "search/SearchStart.h"

QString UnsavableText::Characters(const QString &text)
{
    // The search dialog refuses the same characters in a search string.
    return SearchStart::Unmapped_Characters(text);
}

QString UnsavableText::Refusal(const QString &what, const QString &text)
{
    const QString unmapped = Characters(text);
    if (unmapped.isEmpty())
        return QString();
    return what + QStringLiteral("にシフトJISで表せない文字が含まれています。\r\n（") + unmapped
        + QStringLiteral("）\r\nこの文字はシフトJISのファイルに保存できないため、入力できません。");
}
