#include "template/TemplateDuplicationForm.h"

#include "base/Workbench.h"
#include "display/DetailView.h"
#include "platform/ProgressPort.h"
#include "platform/RichViewPort.h"
#include "template/WorkAreaTemplateStore.h"

TemplateDuplication::Summary TemplateDuplicationForm::Hinagata_Fukusei(Workbench &wb, const QStringList &sources,
                                                                      const QString &searchText, int pattern,
                                                                      ProgressPort *progress, const bool *stop)
{
    WorkAreaTemplateStore store(wb.work);
    MessagePort &port = *wb.messages;
    if (!TemplateDuplication::checkRun(int(sources.size()), searchText, pattern, port)) {
        TemplateDuplication::Summary refused;
        refused.refused = true;
        return refused;
    }
    wb.pump->setBusyCursor(true);
    const TemplateRunPorts ports{progress, wb.pump, &wb.status, RunNotices::Boxes::FirstOfEachKind, stop};
    TemplateDuplication::Summary summary = TemplateDuplication::Run(
        wb.parameters.values, sources, searchText, pattern, store, port, TemplateDuplication::lineReplacer(), ports);
    if (progress)
        progress->setShown(false);
    wb.board.afterChangeFlags(wb.work);
    wb.MENU_SETTEI();
    const bool detailShown = wb.detailView->isShown();
    if (detailShown) {
        // The list is rebuilt under the detail view, its caret kept, and the
        // detail view shows its file again from the changed work area.
        const qint32 caret = wb.display.List_Caret_Pos;
        wb.display.detailCacheKey.clear();
        WorkAreaTemplateStore::finishRun(wb, summary.made > 0);
        wb.display.List_Caret_Pos = caret;
        wb.listView->setCaret(caret);
        DetailView::Build_Detail_View(wb);
        wb.listView->setViewEnabled(false);
        wb.detailView->setViewEnabled(true);
        // The after-change update offers what the list view offers; the
        // detail view does not deselect files.
        wb.board.detailKeptAfterChange();
        wb.MENU_SETTEI();
    } else {
        wb.listView->setViewEnabled(true);
        WorkAreaTemplateStore::finishRun(wb, summary.made > 0);
        wb.MENU_SETTEI();
    }
    wb.pump->setBusyCursor(false);
    return summary;
}

QStringList TemplateDuplicationForm::sourceFiles(const WorkArea &work)
{
    return work.Search_Hit_File_List().texts();
}
