#include "display/ListView.h"

#include "base/Workbench.h"
#include "display/RtfBuilder.h"
#include "platform/MessagePort.h"
#include "platform/ProgressPort.h"
#include "platform/RichViewPort.h"

namespace {

// A single-byte display line: 83 columns and its CR LF.
constexpr qint32 kCharsPerLine = 85;

} // namespace

QString ListView::fileCountText(const WorkArea &work)
{
    return QStringLiteral("対象数 =") + QString::number(work.Search_Hit_File_List().count()) + QStringLiteral("ﾌｧｲﾙ");
}

void ListView::showReadyPanels(StatusPanels &status, const WorkArea &work)
{
    status.setText(StatusPanels::kSearch, QStringLiteral("Ready"));
    status.setText(StatusPanels::kPath, work.Search_Path);
    status.setText(StatusPanels::kHitSu, fileCountText(work));
}

bool ListView::Build_List_View(Workbench &wb)
{
    const int n = wb.work.Search_Hit_List().count();
    wb.progress->setRange(0, std::max(0, n - 1));
    wb.progress->setValue(0);
    wb.progress->setShown(true);
    wb.status.setText(StatusPanels::kSearch, QStringLiteral("Editing..."));
    if (wb.settings.Color_Set_Flg == 1)
        wb.status.setText(StatusPanels::kPath, QStringLiteral("一覧表示画面作成中！"));
    wb.pump->yieldNow();

    // The display lines changed, and with them possibly the lines of the file
    // a cached detail document shows (a new search re-reads every file).
    wb.display.detailCacheKey.clear();

    const WriteResult document = RtfBuilder::Make_RTF_Document(wb, RtfBuilder::ListMode, 1, 1, QStringLiteral(" "));
    QString error;
    if (!document.written) {
        error = RtfBuilder::writeFailureText(document);
    } else {
        if (!wb.listView->loadRtf(wb.display.listDocumentPath))
            error = RtfBuilder::loadFailureText(wb.display.listDocumentPath);
        wb.listView->refresh();
        wb.listView->setCaret(1);
        wb.listView->setShown(true);
    }
    wb.progress->setShown(false);
    if (!error.isEmpty()) {
        wb.messages->show(error, QStringLiteral("一覧表示"), MessagePort::Icon::Critical);
        return false;
    }
    return true;
}

void ListView::Show_Status_Counts(Workbench &wb)
{
    showReadyPanels(wb.status, wb.work);

    wb.board.afterResultsChanged(wb.work);
}

qint32 ListView::lineStart(const ItemList &counts, int k)
{
    if (k <= 0 || counts.isEmpty())
        return 0;
    return counts.data(std::min(k, counts.count()) - 1);
}

int ListView::Caret_To_Line(const ItemList &counts, qint32 p)
{
    const int n = counts.count();
    if (n == 0)
        return 0;
    // The estimate is exact while every line before the caret is single-byte;
    // the walk corrects what double-byte lines (fewer characters) add.
    int k = std::clamp(p / kCharsPerLine, 0, n - 1);
    if (k == 0 && p < counts.data(0))
        return 0;
    while (counts.data(k) <= p) {
        if (k >= n - 1)
            return n - 1;
        ++k;
    }
    while (k > 0 && lineStart(counts, k) > p)
        --k;
    return k;
}

void ListView::KIHON_RTB_Search_Kekka_Click(Workbench &wb)
{
    DisplayState &d = wb.display;
    RichViewPort *view = wb.listView;
    if (wb.board.isBusy())
        return;
    const ItemList &counts = wb.work.Mojisuu_Count_List();
    d.Clicked_Caret_Pos = view->caret();
    d.Clicked_Line_Index = Caret_To_Line(counts, d.Clicked_Caret_Pos);
    if (d.Clicked_Line_Index == 0) {
        view->setCaret(0);
    } else {
        const qint32 start = lineStart(counts, d.Clicked_Line_Index);
        if (start < kHighlightLimit) {
            view->setCaret(start);
            view->selectToLineEnd();
        }
    }
    wb.pump->flushInput();
}

void ListView::Show_List_View(Workbench &wb, bool fromToolbar)
{
    DisplayState &d = wb.display;
    RichViewPort *list = wb.listView;
    if (!fromToolbar || d.List_Caret_Pos < kHighlightLimit) {
        list->setCaret(d.List_Caret_Pos);
        list->selectToLineEnd();
    }
    list->refresh();
    list->setShown(true);
    list->setViewEnabled(true);
    list->focus();
    RichViewPort *detail = wb.detailView;
    if (fromToolbar) {
        detail->clearText();
        detail->refresh();
    }
    detail->setShown(false);
    wb.board.listViewShown();
    showReadyPanels(wb.status, wb.work);
}
