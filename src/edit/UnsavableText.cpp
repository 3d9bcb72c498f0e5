#include "edit/UnsavableText.h"

#include "platform/Cp932.h"

QString UnsavableText::Refusal(const QString &what, const QString &text)
{
    const QString unmapped = Cp932::unmappedCharacters(text);
    if (unmapped.isEmpty())
        return QString();
    return what + QStringLiteral("にシフトJISで表せない文字が含まれています。\r\n（") + unmapped
        + QStringLiteral("）\r\nこの文字はシフトJISのファイルに保存できないため、入力できません。");
}
