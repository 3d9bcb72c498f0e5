#include "edit/UnsavableText.h"

#include "search/SearchWord.h"

QString UnsavableText::Refusal(const QString &what, const QString &text)
{
    const QString unmapped = SearchWord::Unmapped_Characters(text);
    if (unmapped.isEmpty())
        return QString();
    return what + QStringLiteral("にシフトJISで表せない文字が含まれています。\r\n（") + unmapped
        + QStringLiteral("）\r\nこの文字はシフトJISのファイルに保存できないため、入力できません。");
}
