#include "edit/DeselectCommand.h"

#include "base/Workbench.h"
#include "display/DetailView.h"
#include "display/ListView.h"
#include "platform/MessagePort.h"
#include "platform/RichViewPort.h"

const QString DeselectCommand::kCaption = QStringLiteral("選択取り消し");

void DeselectCommand::KIHON_M_EDIT_DELETE_Click(Workbench &wb)
{
    wb.pump->setBusyCursor(true);
    wb.board.Enter_Busy();
    wb.MENU_SETTEI();

    DisplayState &d = wb.display;
    d.Range_Only_Flag = 1;
    const bool located = DetailView::Build_Detail_View(wb);
    d.Range_Only_Flag = 0;
    // On the column heading the build has told the user and given the
    // toolbar back.
    if (!located || d.Detail_Header.isEmpty()) {
        wb.pump->setBusyCursor(false);
        return;
    }

    // A Yes drops the file's unsaved changes with it: Return must not.
    const bool unsaved = wb.work.Search_Hit_File_Change().data(d.detailFileIndex) == 1;
    const auto answer
        = wb.messages->show(d.Detail_File_Key + QStringLiteral("を取り消します。\r\nよろしいですか？"), kCaption,
                            MessagePort::Icon::Question,
                            unsaved ? MessagePort::Buttons::YesNoDefaultNo : MessagePort::Buttons::YesNo);
    if (answer != MessagePort::Answer::Yes) {
        // The locate step left the list view disabled on the located line
        // and the panels waiting.
        wb.listView->setViewEnabled(true);
        ListView::showReadyPanels(wb.status, wb.work);
        wb.board.Leave_Busy();
        wb.MENU_SETTEI();
        wb.pump->setBusyCursor(false);
        return;
    }
    wb.status.setText(StatusPanels::kPath, QStringLiteral("選択ファイルの取り消し処理中"));
    removeLocatedFile(wb);
    wb.pump->setBusyCursor(false);
}

void DeselectCommand::removeLocatedFile(Workbench &wb)
{
    WorkArea &work = wb.work;
    DisplayState &d = wb.display;
    wb.listView->setViewEnabled(false);

    work.dropFile(d.detailFileIndex);
    work.recomputeResultFlag();
    // Every index after the dropped file moved: nothing may point into the
    // old lists any more.
    d.detailFileIndex = -1;
    d.Detail_Header.clear();
    d.Detail_File_Key.clear();
    d.detailCacheKey.clear();

    wb.listView->clearText();
    wb.listView->refresh();
    if (work.Search_Hit_List().count() > 1) {
        wb.listView->setViewEnabled(true);
        if (!work.Search_Hit_File_List().isEmpty())
            ListView::Build_List_View(wb);
    } else {
        for (RichViewPort *view : {wb.listView, wb.detailView}) {
            view->setViewEnabled(false);
            view->setShown(false);
        }
    }
    wb.board.Leave_Busy();
    wb.MENU_SETTEI();
    ListView::Show_Status_Counts(wb);
    wb.board.afterChangeFlags(work);
}
