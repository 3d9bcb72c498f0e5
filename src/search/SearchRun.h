#pragma once

#include "search/RunNotices.h"

#include <QString>
#include <QStringList>

#include <functional>

struct Workbench;
struct SearchRequest;

// What a run did, beyond what it left in the work area.
struct SearchOutcome
{
    int admitted = 0;     // files added to the work area by this run
    bool stopped = false; // STOP was pressed
    QStringList skipped;  // files and folders that could not be read, with the reason
    int alreadyOpen = 0;  // files with a hit refused as already open
    int overflow = 0;     // files with a hit refused as too many lines
    bool resultWritten = false;
    QString resultError;  // the result file could not be written
};

// The search run: walks the request's folder (and its subfolders on request),
// scans every file with a chosen identifier and fills the work area.
class SearchRun
{
public:
    static const QString kClearQuestion; // "既にワークエリアにデータが存在します。" CR LF "クリアしますか？"

    // The whole run of the request, started with Search_Running = 1. It
    // records the word, the letter case and the folder in the work area
    // (Search_Word, Compare_Mode, Search_Path, Current_Dir), where the rest
    // of the program reads them. Messages go through the workbench's message port; the null
    // port answers "No", so an existing result is then kept, and shows no
    // refusal. The window shows the first refusal of each kind and sums up the
    // rest at the end; the batch search asks for every one. Nothing is done
    // while the board is busy (a run cannot start inside another operation).
    // buildViews, given by whoever shows the results, is called once the work
    // area and its line index are complete, before the result file is written.
    static SearchOutcome Search_Execute(Workbench &wb, const SearchRequest &request,
                                        const std::function<void()> &buildViews = {},
                                        RunNotices::Boxes refusals = RunNotices::Boxes::FirstOfEachKind);

    // Helper threads that read and prefilter files ahead of the run: -1 for
    // as many as the machine has cores beyond one (at most 3), 0 for none.
    // Only the reading and byte matching run on them; the work area, the
    // ports and the messages stay on the calling thread.
    static int scanHelpers;
};
