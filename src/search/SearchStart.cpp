#include "search/SearchStart.h"

#include "base/Workbench.h"
#include "platform/Cp932.h"
#include "platform/DirectoryListing.h"
#include "platform/MessagePort.h"
#include "search/SearchHistory.h"
#include "settings/SettingsIo.h"

const QString SearchStart::kCaption = QStringLiteral("ＱＵＡＶ　サーチ諸元設定");

namespace {

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

void reportWrite(Workbench &wb, bool ok, const QString &error)
{
    if (!ok)
        wb.messages->show(error, SearchStart::kCaption, MessagePort::Icon::Critical);
}

} // namespace

QString SearchStart::Search_Text(const QString &typed)
{
    QString text = typed.trimmed();
    for (QChar &c : text)
        for (const auto &pair : kLookAlikes)
            if (c.unicode() == pair[0])
                c = QChar(pair[1]);
    return text;
}

QString SearchStart::Unmapped_Characters(const QString &text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        QString one(text.at(i));
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            one.append(text.at(++i));
        bool mapped = true;
        for (QChar c : one)
            mapped = mapped && Cp932::isMapped(c.unicode()) && !c.isSurrogate();
        if (!mapped && !out.contains(one))
            out.append(one);
    }
    return out;
}

SearchStart::Refusal SearchStart::Check(Workbench &wb, const SearchChoice &choice)
{
    auto refuse = [&wb](const QString &text, Refusal why) {
        wb.messages->show(text, kCaption, MessagePort::Icon::Exclamation);
        return why;
    };
    const QString text = Search_Text(choice.searchText);
    if (text.isEmpty())
        return refuse(QStringLiteral("サーチ文字が設定されていません。"), Refusal::No_Word);
    // Files are read as code page 932: a character without a Shift-JIS form
    // can never occur in what a search reads, so such a search could only
    // ever find nothing.
    const QString unmapped = Unmapped_Characters(text);
    if (!unmapped.isEmpty())
        return refuse(QStringLiteral("サーチ文字にシフトJISで表せない文字が含まれています。")
                          + QStringLiteral("\r\n") + QStringLiteral("（") + unmapped + QStringLiteral("）")
                          + QStringLiteral("\r\n")
                          + QStringLiteral("この文字はシフトJISのファイルの中に現れないため、検索できません。"),
                      Refusal::Not_Shift_JIS);
    if (!choice.sikibetuAll && choice.identifierText.trimmed().isEmpty())
        return refuse(QStringLiteral("サーチ対象識別子が設定されていません。"), Refusal::No_Identifier);
    return Refusal::None;
}

void SearchStart::Store_Choices(Workbench &wb, const SearchChoice &choice)
{
    Settings &s = wb.settings;
    const QString identifier = choice.identifierText.trimmed();
    s.SUB_DIR_FLG = choice.subDirs ? 1 : 0;
    s.SIKIBETU_ALL_FLG = choice.sikibetuAll ? 1 : 0;
    wb.work.Search_Sikibetu = identifier;

    if (choice.sikibetuDefault) {
        s.DEFAULT_SIKIBETU = 0;
        const int at = choice.identifierItems.indexOf(identifier);
        if (at >= 0)
            s.DEFAULT_SIKIBETU = at;
    }

    const QString text = Search_Text(choice.searchText);
    SearchHistory::Record(s.DATA, s.DEFAULT_DATA, text, choice.dataDefault);
    wb.work.Search_Word = text;

    QString error;
    reportWrite(wb, SettingsIo::Write_Execute(wb, &error), error);
    reportWrite(wb, SettingsIo::Write_Search_Data(wb, &error), error);
    reportWrite(wb, SettingsIo::Write_Search_Sikibetu(wb, &error), error);
}

void SearchStart::Prepare_Run(Workbench &wb, bool caseSensitive)
{
    wb.board.disable({Command::SEARCH});
    wb.board.enable({Command::STOP});
    wb.work.Search_Running = 1;
    wb.work.Compare_Mode = caseSensitive ? 0 : 1;
    wb.work.Current_Dir = DirectoryListing::withSeparator(wb.work.Search_Path);
    wb.status.setText(StatusPanels::kHitSu, QStringLiteral("実行中"));
}
