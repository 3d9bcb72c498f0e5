#include "edit/UnsavableText.h"

#include "platform/Cp932.h"
#include "workarea/WorkArea.h"

namespace {

// More names would push the message off a screen.
constexpr qsizetype kNamesShown = 5;

} // namespace

QString UnsavableText::Refusal(const QString &what, const QString &text, const QStringList &shiftJisFiles)
{
    if (shiftJisFiles.isEmpty())
        return QString();
    const QString unmapped = Cp932::unmappedCharacters(text);
    if (unmapped.isEmpty())
        return QString();
    QString message = what + QStringLiteral("にシフトJISで表せない文字が含まれています。\r\n（") + unmapped
        + QStringLiteral("）\r\nこの文字はシフトJISのファイルに保存できないため、入力できません。");
    for (qsizetype i = 0; i < shiftJisFiles.size() && i < kNamesShown; ++i)
        message += QStringLiteral("\r\n") + shiftJisFiles.at(i);
    if (shiftJisFiles.size() > kNamesShown)
        message += QStringLiteral("\r\nほか %1 ファイル").arg(shiftJisFiles.size() - kNamesShown);
    return message;
}

QStringList UnsavableText::shiftJisFiles(const WorkArea &work, const QList<int> &files)
{
    QStringList names;
    for (int i : files)
        if (i >= 0 && i < work.Search_Hit_File_List().count() && work.encodingOf(i) == TextEncoding::Cp932)
            names.append(work.File_Key(i));
    return names;
}
