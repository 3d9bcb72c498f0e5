#include "edit/ShownFile.h"

#include "base/Workbench.h"
#include "display/DetailView.h"
#include "platform/MessagePort.h"

int ShownFile::take(const WorkArea &work, int file, MessagePort &port, const QString &caption, QStringList &entries)
{
    const WorkArea::Range range = work.fileLineRange(file);
    if (range.isEmpty()) {
        port.show(QStringLiteral("詳細画面のファイルが作業領域に見つかりません。"), caption,
                  MessagePort::Icon::Exclamation);
        return -1;
    }
    entries.clear();
    entries.reserve(range.size());
    for (int k = range.first; k <= range.last; ++k)
        entries.append(work.Search_Hit_All_Line_List().text(k));
    return file;
}

bool ShownFile::putBack(Workbench &wb, int file, QStringList entries, const QString &failure, const QString &caption)
{
    WorkArea &work = wb.work;
    wb.pump->setBusyCursor(true);
    if (!work.replaceFileLines(file, std::move(entries))) {
        wb.pump->setBusyCursor(false);
        wb.messages->show(failure, caption, MessagePort::Icon::Critical);
        return false;
    }
    work.setFileChanged(file, true);
    wb.board.afterChangeFlags(work);
    wb.display.detailCacheKey.clear();
    DetailView::Build_Detail_View(wb);
    wb.pump->setBusyCursor(false);
    return true;
}
