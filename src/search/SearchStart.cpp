#include "search/SearchStart.h"

#include "base/Workbench.h"
#include "platform/DirectoryListing.h"
#include "platform/MessagePort.h"
#include "search/SearchHistory.h"
#include "search/SearchWord.h"
#include "settings/SettingsIo.h"

const QString SearchStart::kCaption = QStringLiteral("ＱＵＡＶ　サーチ諸元設定");

SearchStart::Refusal SearchStart::Check(Workbench &wb, const SearchChoice &choice)
{
    auto refuse = [&wb](const QString &text, Refusal why) {
        wb.messages->show(text, kCaption, MessagePort::Icon::Exclamation);
        return why;
    };
    const SearchWord::Prepared word = SearchWord::Prepare(choice.searchText, choice.encoding);
    switch (word.problem) {
    case SearchWord::Problem::None:
        break;
    case SearchWord::Problem::Empty:
        return refuse(word.message, Refusal::NoWord);
    case SearchWord::Problem::LineBreak:
        return refuse(word.message, Refusal::LineBreak);
    case SearchWord::Problem::NotShiftJis:
        return refuse(word.message, Refusal::NotShiftJis);
    }
    if (!choice.sikibetuAll && SearchWord::trimSpaces(choice.identifierText).isEmpty())
        return refuse(QStringLiteral("サーチ対象識別子が設定されていません。"), Refusal::NoIdentifier);
    return Refusal::None;
}

void SearchStart::storeChoices(Workbench &wb, const SearchChoice &choice)
{
    Settings &s = wb.settings;
    const QString identifier = SearchWord::trimSpaces(choice.identifierText);
    s.SUB_DIR_FLG = choice.subDirs ? 1 : 0;
    s.SIKIBETU_ALL_FLG = choice.sikibetuAll ? 1 : 0;
    s.ENCODING = TextEncodings::choiceName(choice.encoding);
    wb.work.Search_Sikibetu = identifier;

    if (choice.sikibetuDefault) {
        s.DEFAULT_SIKIBETU = 0;
        const int at = choice.identifierItems.indexOf(identifier);
        if (at >= 0)
            s.DEFAULT_SIKIBETU = at;
    }

    const QString text = SearchWord::Prepare(choice.searchText, choice.encoding).word;
    SearchHistory::Record(s.DATA, s.DEFAULT_DATA, text, choice.dataDefault);
    wb.work.Search_Word = text;

    SettingsIo::Write_Execute(wb);
    SettingsIo::Write_Search_Data(wb);
    SettingsIo::Write_Search_Sikibetu(wb);
}

void SearchStart::prepareRun(Workbench &wb, bool caseSensitive)
{
    wb.board.searchStarting();
    wb.work.Search_Running = 1;
    wb.work.Compare_Mode = caseSensitive ? 0 : 1;
    wb.work.Current_Dir = DirectoryListing::withSeparator(wb.work.Search_Path);
    wb.status.setText(StatusPanels::kHitSu, QStringLiteral("実行中"));
}
