#include "display/WorkAreaReset.h"

#include "base/Workbench.h"

void WorkAreaReset::Reset(Workbench &wb)
{
    wb.work.clearAll();

    wb.board.enable({Command::SEARCH, Command::HINAGATA});
    wb.board.disable({Command::HOZON, Command::FILE_DELETE, Command::SORT, Command::CHANGE, Command::UPDATE,
                      Command::CLIP, Command::PARAMETER, Command::HINA_FUKUSEI, Command::STOP, Command::DISP_SEARCH,
                      Command::DISP});

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
    wb.work.Hozon_Flag = 0;
    wb.work.Result_Flag = 0;
}
