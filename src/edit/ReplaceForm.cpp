#include "edit/ReplaceForm.h"

#include "base/Workbench.h"
#include "display/DetailView.h"
#include "display/ListView.h"
#include "edit/ReplacePass.h"
#include "edit/TextReplace.h"
#include "edit/UnsavableText.h"
#include "platform/MessagePort.h"
#include "platform/RichViewPort.h"

#include <algorithm>

const QString ReplaceForm::kListNote = QStringLiteral("↑　複数の個別選択も可能です。");
const QString ReplaceForm::kDetailNote = QStringLiteral("詳細画面からの置替はファイルの選択変更は出来ません。");

namespace {

void enableViews(RichViewPort &list, RichViewPort &detail, bool enabled)
{
    list.setViewEnabled(enabled);
    detail.setViewEnabled(enabled);
}

} // namespace

ReplaceForm::ReplaceForm(Workbench &wb) : m_wb(wb) {}

void ReplaceForm::Form_Load()
{
    const WorkArea &work = m_wb.work;
    m_files = work.Search_Hit_File_Change().texts();
    const bool detailShown = m_wb.detailView->isShown();
    enableViews(*m_wb.listView, *m_wb.detailView, false);
    Syousai_Gamen_Flg = detailShown ? 1 : 0;
    // The file the detail view shows, by its index: its header in the
    // display list may be cut and no longer tell the path.
    const int shown = m_wb.display.detailFileIndex;
    m_lockedFile = detailShown && shown >= 0 && shown < m_files.size() ? shown : -1;
}

QString ReplaceForm::initialSearch() const
{
    return m_wb.work.Search_Word;
}

bool ReplaceForm::Cmd_Jikkou_Click(const QString &search, const QString &replacement, bool caseSensitive,
                                      const QList<int> &selectedRows)
{
    MessagePort &port = *m_wb.messages;
    QList<int> targets;
    if (Syousai_Gamen_Flg == 1) {
        if (m_lockedFile >= 0)
            targets.append(m_lockedFile);
    } else {
        for (int row : selectedRows)
            if (row >= 0 && row < m_wb.work.Search_Hit_File_List().count())
                targets.append(row);
        std::sort(targets.begin(), targets.end());
        targets.erase(std::unique(targets.begin(), targets.end()), targets.end());
    }

    m_wb.pump->setBusyCursor(true);
    if (!ReplacePass::checkRequest(search, replacement, int(targets.size()),
                                   UnsavableText::shiftJisFiles(m_wb.work, targets), port)) {
        m_wb.pump->setBusyCursor(false);
        return false;
    }

    // Where the list caret stands, as a display line and a column in it:
    // the line's character count may change with its text, and the detail
    // view is found again from the caret.
    const ItemList &counts = m_wb.work.Mojisuu_Count_List();
    const int caretLine = ListView::Caret_To_Line(counts, m_wb.display.List_Caret_Pos);
    const qint32 caretColumn = m_wb.display.List_Caret_Pos - ListView::lineStart(counts, caretLine);

    ReplacePass pass(search, replacement, caseSensitive ? TextReplace::kExactCase : TextReplace::kIgnoreCase);
    replaceFiles(m_wb.work, pass, targets);
    pass.reportFailures(port);

    if (ReplacePass::askAdoption(m_wb.work.Search_Word, search, replacement, port)) {
        m_wb.work.Search_Word = replacement;
        m_wb.status.setText(StatusPanels::kWord, replacement);
    }
    refresh(caretLine, caretColumn);
    m_wb.pump->setBusyCursor(false);
    return true;
}

void ReplaceForm::Cmd_Cancel_Click()
{
    enableViews(*m_wb.listView, *m_wb.detailView, true);
}

int ReplaceForm::replaceFiles(WorkArea &work, ReplacePass &pass, const QList<int> &files)
{
    const QList<WorkArea::Range> blocks = work.fileDisplayBlocks();
    const ItemList &display = work.Search_Hit_List();
    const ItemList &store = work.Search_Hit_All_Line_List();
    // Display changes of every file go in together: the running totals after
    // them are counted once, not once per file.
    QList<WorkArea::DisplayText> shown;
    int changedFiles = 0;
    for (int file : files) {
        if (file < 0 || file >= work.Search_Hit_File_List().count())
            continue;
        const WorkArea::Range block = blocks.value(file);
        for (int j = block.first; j <= block.last; ++j) {
            QString output;
            if (pass.displayOutput(display.text(j), &output))
                shown.append({j, std::move(output)});
        }
        const WorkArea::Range lines = work.fileLineRange(file);
        bool changed = false;
        for (int k = lines.first; k <= lines.last; ++k) {
            QString output;
            if (pass.storedLine(store.text(k), &output) && work.replaceStoredLine(k, output))
                changed = true;
        }
        if (changed) {
            work.setFileChanged(file, true);
            ++changedFiles;
        }
    }
    work.replaceDisplayLines(shown);
    return changedFiles;
}

void ReplaceForm::refresh(int caretLine, qint32 caretColumn)
{
    Workbench &wb = m_wb;
    WorkArea &work = wb.work;
    work.recomputeResultFlag();
    if (work.Search_Hit_List().count() <= 1) {
        for (RichViewPort *view : {wb.listView, wb.detailView}) {
            view->setViewEnabled(false);
            view->setShown(false);
        }
        ListView::Show_Status_Counts(wb);
        return;
    }
    wb.display.detailCacheKey.clear();
    if (Syousai_Gamen_Flg == 0) {
        wb.listView->setViewEnabled(true);
        ListView::Build_List_View(wb);
        // After the build, which shows its own progress in the panels: they
        // tell the finished state until the next command.
        ListView::Show_Status_Counts(wb);
        return;
    }
    ListView::Build_List_View(wb);
    // The caret goes back to the same column of the same display line, which
    // is still the shown file's: replace moves no display line.
    const ItemList &counts = work.Mojisuu_Count_List();
    const int line = std::clamp(caretLine, 0, std::max(0, counts.count() - 1));
    const qint32 width = counts.isEmpty() ? 0 : std::max(0, counts.text(line).toInt() - 2);
    wb.listView->setCaret(ListView::lineStart(counts, line) + std::clamp<qint32>(caretColumn, 0, width));
    DetailView::Build_Detail_View(wb);
    wb.listView->setViewEnabled(false);
    wb.detailView->setViewEnabled(true);
    wb.board.afterChangeFlags(work);
}
