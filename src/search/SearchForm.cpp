#include "search/SearchForm.h"

#include "base/Workbench.h"
#include "platform/DirectoryListing.h"
#include "platform/MessagePort.h"
#include "platform/NativeName.h"
#include "search/SearchHistory.h"
#include "search/SearchWord.h"
#include "settings/SettingsIo.h"

const QString SearchForm::kCaption = QStringLiteral("ＱＵＡＶ　サーチ諸元設定");

SearchForm::Refusal SearchForm::Check(MessagePort &messages, const SearchChoice &choice)
{
    auto refuse = [&messages](const QString &text, Refusal why) {
        messages.show(text, kCaption, MessagePort::Icon::Exclamation);
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

void SearchForm::storeChoices(Workbench &wb, const SearchChoice &choice)
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

SearchRequest SearchForm::request(const SearchChoice &choice, const Settings &settings, const WorkArea &work)
{
    SearchRequest r;
    r.word = SearchWord::Prepare(choice.searchText, choice.encoding).word;
    r.ignoreCase = !choice.caseSensitive;
    r.root = work.Search_Path;
    // The bytes of an earlier search's folder serve only while it is still
    // the folder chosen.
    if (NativeName::decodePath(work.Search_Path_Native) == work.Search_Path)
        r.nativeRoot = work.Search_Path_Native;
    if (choice.sikibetuAll) {
        r.identifiers = SearchRequest::listed(settings.SIKIBETU);
    } else if (const QString identifier = SearchWord::trimSpaces(choice.identifierText); !identifier.isEmpty()) {
        r.identifiers = {identifier};
    }
    r.subDirs = choice.subDirs;
    r.timestamps = settings.FILE_NAME_DISP == 1;
    r.resultFile = settings.FILE_OUT == 1;
    r.resultFileName = settings.FILE_OUT_NAME;
    r.encoding = choice.encoding;
    return r;
}

void SearchForm::prepareRun(CommandBoard &board, WorkArea &work, StatusPanels &status, bool caseSensitive)
{
    board.searchStarting();
    work.Search_Running = 1;
    work.Compare_Mode = caseSensitive ? 0 : 1;
    work.Current_Dir = DirectoryListing::withSeparator(work.Search_Path);
    status.setText(StatusPanels::kHitSu, QStringLiteral("実行中"));
}
