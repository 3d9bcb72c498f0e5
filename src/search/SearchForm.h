#pragma once

#include "platform/TextEncoding.h"
#include "search/SearchRequest.h"

#include <QString>
#include <QStringList>

class CommandBoard;
class MessagePort;
class StatusPanels;
class WorkArea;
struct Settings;
struct Workbench;

// What the search settings dialog shows when its search button is pressed.
struct SearchChoice
{
    QString searchText;          // as typed
    QString identifierText;      // as typed (the dialog keeps it upper case)
    QStringList identifierItems; // the identifier combo's list
    bool dataDefault = false;    // Check_Data_Default
    bool sikibetuDefault = false; // Check_Sikibetu_Default
    bool sikibetuAll = false;    // Check_Sikibetu_All
    bool subDirs = false;        // Opt_SUB_DIR_YES
    bool caseSensitive = false;  // Opt_Moji_Kubetu_Yes
    EncodingChoice encoding = EncodingChoice::Detect; // Opt_Encoding_Auto / Opt_Encoding_Cp932
};

// The search button of the search settings dialog, without its widgets:
// checking the choice, storing it in the settings and the shared state, and
// preparing the run.
class SearchForm
{
public:
    static const QString kCaption; // "ＱＵＡＶ　サーチ諸元設定"

    enum class Refusal { None, NoWord, LineBreak, NotShiftJis, NoIdentifier };

    // The checks of the search button, in order (the search text prepared
    // as SearchWord::Prepare does it); a refusal has been shown
    // through the message port (caption kCaption, exclamation icon) and the
    // caller puts the focus on the control concerned.
    static Refusal Check(MessagePort &messages, const SearchChoice &choice);

    // Takes the choice into the settings and the shared state and writes the
    // EXECUTE, SEARCH_DATA and SEARCH_SIKIBETU sections. A section that cannot
    // be written is reported (once in a session) and the search goes on.
    static void storeChoices(Workbench &wb, const SearchChoice &choice);

    // The search the dialog's choice asks for, in Search_Path, with the
    // stored list of identifiers, time-stamp switch and result file.
    static SearchRequest request(const SearchChoice &choice, const Settings &settings, const WorkArea &work);

    // SEARCH off and STOP on, Search_Running, Compare_Mode, Current_Dir (with
    // its trailing "/") and the "HIT_SU" panel, just before the run.
    static void prepareRun(CommandBoard &board, WorkArea &work, StatusPanels &status, bool caseSensitive);
};
