#include "search/SearchRun.h"

#include "base/Workbench.h"
#include "display/ListView.h"
#include "platform/DirectoryListing.h"
#include "platform/MessagePort.h"
#include "platform/RichViewPort.h"
#include "search/FileMatchers.h"
#include "search/FileScan.h"
#include "search/FolderWalk.h"
#include "search/ResultFile.h"
#include "search/ResultSink.h"
#include "search/ScanPool.h"
#include "search/SearchRequest.h"
#include "search/WalkFeed.h"
#include "search/WordMatcher.h"
#include "workarea/LineFormat.h"
#include "workarea/LineIndex.h"

int SearchRun::scanHelpers = -1;

const QString SearchRun::kClearQuestion =
    QStringLiteral("既にワークエリアにデータが存在します。\r\nクリアしますか？");

namespace {

void noteSkipped(StatusPanels &status, SearchOutcome &outcome, const QString &reason)
{
    outcome.skipped.append(reason);
    QString note = reason;
    note.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    status.setText(StatusPanels::kPath, note);
}

// A file with a hit that is not open yet, read whole: false, with nothing
// added, when the work area has no room for it. Admission is decided on the
// line count the reader took before anything is decoded (a file of more than
// 32,767 lines never fits).
bool offer(ResultSink &sink, const FileMatchers &matchers, const WalkFile &file, ScanProbe &probe, ScannedFile &scanned,
           EventPump *pump)
{
    if (probe.tooLong)
        return false;
    if (probe.decoded)
        return sink.Admit(file, probe.scanned, probe.encoding);
    if (probe.lines > sink.lineRoom())
        return false;
    matchers.collect(probe.encoding, probe.bytes, ResultSink::keyOf(file), scanned, pump, probe.lines);
    return sink.Admit(file, scanned, probe.encoding);
}

// The walk and the scan together: folders are listed a little ahead and their
// files read ahead by the pool, while the files are taken into the work area
// strictly in walk order here. STOP is tested after each file and before any
// further folder is listed; a file begun is finished.
void Walk_Folder(Workbench &wb, const SearchRequest &request, SearchOutcome &outcome, RunNotices &notices)
{
    WorkArea &work = wb.work;
    FileMatchers matchers(request);
    ResultSink sink(work, notices, request.timestamps);
    FolderWalk walk(request, [&](const QString &reason) { noteSkipped(wb.status, outcome, reason); });
    WalkFeed feed(walk, matchers, ScanPool::Mode::Results, wb.pump, sink.lineRoom());
    const auto going = [&] { return work.Search_Running != 0; };

    feed.listAhead(going);
    ScannedFile scanned;
    ScanProbe probe;
    ScanPool *pool = feed.pool();
    while (work.Search_Running != 0 && pool && pool->take(probe)) {
        WalkFile file = feed.next();
        if (work.Current_Dir != file.dir) {
            work.Current_Dir = file.dir;
            work.Search_Path = file.dir.size() > 1 ? file.dir.chopped(1) : file.dir;
        }
        file.size = probe.size;
        file.modifiedNsecs = probe.modifiedNsecs;
        if (probe.hasHit && request.timestamps)
            file.modified = QDateTime::fromSecsSinceEpoch(probe.modifiedSecs);

        wb.status.setText(StatusPanels::kPath, file.name);
        wb.pump->yield();
        if (!probe.readable)
            noteSkipped(wb.status, outcome, probe.error);
        else if (probe.hasHit && sink.isOpen(file))
            sink.refuseDuplicate(file);
        else if (probe.hasHit && !offer(sink, matchers, file, probe, scanned, wb.pump))
            sink.refuseOverflow(file);
        work.clearScanBuffer();
        pool->setRoom(sink.lineRoom());
        feed.listAhead(going);
    }
    if (pool)
        pool->cancel();
    outcome.admitted = sink.admitted();
}

} // namespace

SearchOutcome SearchRun::Search_Execute(Workbench &wb, const SearchRequest &request,
                                        const std::function<void()> &buildViews, RunNotices::Boxes refusals)
{
    SearchOutcome outcome;
    WorkArea &work = wb.work;
    if (wb.board.isBusy())
        return outcome;

    // Recorded for the rest of the program: the list view marks the word
    // with its letter case, the replace offers it, the folder dialogs start
    // from the folder.
    work.Search_Word = request.word;
    work.Compare_Mode = request.ignoreCase ? 1 : 0;
    work.Search_Path = request.root;
    work.Search_Path_Native = request.nativeRoot;
    work.Current_Dir = DirectoryListing::withSeparator(request.root);

    wb.pump->setBusyCursor(true);
    work.clearScanBuffer();

    if (!work.Search_Hit_File_List().isEmpty()) {
        // A Yes throws unsaved changes away: then Return must not.
        if (wb.messages->show(kClearQuestion, ResultSink::kCaption, MessagePort::Icon::Question,
                              work.Hozon_Flag == 1 ? MessagePort::Buttons::YesNoDefaultNo
                                                   : MessagePort::Buttons::YesNo)
            == MessagePort::Answer::Yes)
            work.clearResults();
    } else {
        work.clearResults();
    }

    wb.board.Enter_Busy();
    wb.MENU_SETTEI();
    wb.board.searchStarting();

    wb.status.setText(StatusPanels::kSearch, QStringLiteral("Search...!"));
    wb.status.setText(StatusPanels::kPath, request.root);
    wb.status.setText(StatusPanels::kWord, request.word);

    if (work.Search_Hit_File_List().isEmpty())
        work.appendDisplayLine(LineFormat::kColumnHeader);

    RunNotices notices(*wb.messages, &wb.status, refusals);
    Walk_Folder(wb, request, outcome, notices);
    outcome.stopped = work.Search_Running == 0;
    outcome.alreadyOpen = notices.refused(RunNotices::Kind::AlreadyOpen);
    outcome.overflow = notices.refused(RunNotices::Kind::Overflow);

    work.noteResultLines();

    wb.status.setText(StatusPanels::kSearch, QStringLiteral("Wait...!"));
    wb.status.setText(StatusPanels::kPath, QStringLiteral("ｲﾝﾃﾞｯｸｽを生成中 !"));
    LineIndex::Build_Line_Index(work, wb.pump);

    // The walk leaves both on the last folder it entered; the rest of the
    // program expects the folder the search started from.
    work.Search_Path = request.root;
    work.Current_Dir = DirectoryListing::withSeparator(request.root);

    if (buildViews)
        buildViews();

    if (!work.Search_Hit_List().isEmpty() && request.resultFile) {
        const WriteResult result = ResultFile::writeResultFile(work, request.resultFileName);
        outcome.resultWritten = result.written;
        if (!result.written)
            outcome.resultError = result.reason;
        if (result.written)
            wb.messages->show(ResultFile::doneMessage(result.path, outcome.stopped), ResultFile::kCaption,
                              MessagePort::Icon::Information);
        else
            wb.messages->show(result.reason, ResultFile::kCaption, MessagePort::Icon::Critical);
    }

    // Before the busy state ends: the window acts on its end (a close asked
    // for during the run), and no box may still be open then.
    const QString summary = notices.closingMessage(outcome.skipped);
    if (!summary.isEmpty())
        wb.messages->show(summary, ResultSink::kCaption, MessagePort::Icon::Exclamation);

    wb.pump->setBusyCursor(false);
    wb.board.Leave_Busy();
    wb.MENU_SETTEI();
    wb.listView->setViewEnabled(true);

    ListView::Show_Status_Counts(wb);
    return outcome;
}
