#include "app/WorkAreaCommands.h"

#include "base/Workbench.h"
#include "platform/ClipboardPort.h"
#include "platform/MessagePort.h"
#include "platform/RichViewPort.h"

void WorkAreaCommands::Clear_Work_Area(Workbench &wb)
{
    if (wb.work.Result_Flag == 0)
        return;
    // With unsaved changes a Yes throws them away: Return must not.
    const auto answer = wb.messages->show(QStringLiteral("作業中の内容を全てクリアーします\r\nよろしいですか？"),
                                          QStringLiteral("ＱＵＡＶ"), MessagePort::Icon::Question,
                                          wb.work.Hozon_Flag == 1 ? MessagePort::Buttons::YesNoDefaultNo
                                                                  : MessagePort::Buttons::YesNo);
    if (answer != MessagePort::Answer::Yes)
        return;

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

void WorkAreaCommands::Copy_Selection(Workbench &wb)
{
    RichViewPort *view = wb.listView->isShown() ? wb.listView : wb.detailView;
    const QString selected = view->selectedText();
    if (selected.isEmpty()) {
        wb.messages->show(QStringLiteral("テキストが選択されていません。"), QStringLiteral("クリップボードコピー"),
                          MessagePort::Icon::Exclamation);
        return;
    }
    wb.clipboard->setText(selected);
}
