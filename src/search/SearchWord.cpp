#include "search/SearchWord.h"

#include "platform/Cp932.h"
#include "platform/LineBreak.h"

namespace {

constexpr char16_t kIdeographicSpace = 0x3000;

// Characters that Linux input methods and UTF-8 texts use where code page 932
// has a look-alike of another code point; Windows-31J decodes the Shift-JIS
// bytes to the right-hand characters.
constexpr char16_t kLookAlikes[][2] = {
    {0x301C, 0xFF5E}, // 〜 WAVE DASH -> ～ FULLWIDTH TILDE (81 60)
    {0x2016, 0x2225}, // ‖ -> ∥ (81 61)
    {0x2212, 0xFF0D}, // − MINUS SIGN -> － (81 7C)
    {0x00A2, 0xFFE0}, // ¢ -> ￠ (81 91)
    {0x00A3, 0xFFE1}, // £ -> ￡ (81 92)
    {0x00AC, 0xFFE2}, // ¬ -> ￢ (81 CA)
    {0x2014, 0x2015}, // — EM DASH -> ― (81 5C)
};

bool isSpace(QChar c)
{
    return c.unicode() == u' ' || c.unicode() == kIdeographicSpace;
}

} // namespace

QString SearchWord::trimSpaces(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isSpace(text.at(begin)))
        ++begin;
    while (end > begin && isSpace(text.at(end - 1)))
        --end;
    return text.sliced(begin, end - begin).toString();
}

QString SearchWord::convertLookAlikes(QString text)
{
    for (QChar &c : text)
        for (const auto &pair : kLookAlikes)
            if (c.unicode() == pair[0])
                c = QChar(pair[1]);
    return text;
}

SearchWord::Prepared SearchWord::Prepare(QStringView typed, EncodingChoice choice)
{
    Prepared p;
    p.word = convertLookAlikes(trimSpaces(typed));
    if (p.word.isEmpty()) {
        p.problem = Problem::Empty;
        p.message = QStringLiteral("サーチ文字が設定されていません。");
    } else if (LineBreak::isIn(p.word)) {
        p.problem = Problem::LineBreak;
        p.message = LineBreak::Refusal(QStringLiteral("サーチ文字"), p.word);
    } else if (const QString unmapped = choice == EncodingChoice::Cp932 ? Cp932::unmappedCharacters(p.word) : QString();
               !unmapped.isEmpty()) {
        // Every file is read as code page 932: a character without a Shift-JIS
        // form can never occur in what a search reads, so such a search could
        // only ever find nothing.
        p.problem = Problem::NotShiftJis;
        p.message = QStringLiteral("サーチ文字にシフトJISで表せない文字が含まれています。\r\n（") + unmapped
            + QStringLiteral("）\r\nこの文字はシフトJISのファイルの中に現れないため、検索できません。");
    }
    return p;
}
