#include "app/WorkAreaCommands.h"

#include "base/Workbench.h"
#include "display/WorkAreaReset.h"
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

    WorkAreaReset::Reset(wb);
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
