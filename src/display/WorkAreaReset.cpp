#include "display/WorkAreaReset.h"

#include "base/Workbench.h"

void WorkAreaReset::Reset(Workbench &wb)
{
    wb.work.clearAll();

    wb.board.afterClear();

    for (RichViewPort *view : {wb.listView, wb.detailView}) {
        view->clearText();
        view->setCaret(0);
        view->refresh();
        view->setShown(false);
    }

    // The next detail view must be built from the new work area, never taken
    // from a document of the old one.
    wb.display.detailCacheKey.clear();
    wb.display.detailFileIndex = -1;
}
