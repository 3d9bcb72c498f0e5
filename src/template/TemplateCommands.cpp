#include "template/TemplateCommands.h"

#include "base/Workbench.h"
#include "display/DetailView.h"
#include "display/WorkAreaReset.h"
#include "edit/TextReplace.h"
#include "platform/MessagePort.h"
#include "platform/NativeName.h"
#include "platform/ProgressPort.h"
#include "platform/RichViewPort.h"
#include "template/ParameterImages.h"
#include "template/TemplateRead.h"
#include "template/WorkAreaTemplateStore.h"

ReplaceInLineFunction TemplateCommands::lineReplacer()
{
    return &TextReplace::ReplaceInLine;
}

bool TemplateCommands::Hinagata_Read(Workbench &wb, const QList<QByteArray> &nativePaths, bool discardTicked,
                                     ProgressPort *progress, const bool *stop)
{
    MessagePort &port = *wb.messages;
    WorkAreaTemplateStore store(wb.work);
    QStringList keys;
    for (const QByteArray &native : nativePaths)
        keys.append(NativeName::decodePath(native));
    if (!TemplateRead::checkSelection(keys, store, port))
        return false;
    switch (TemplateRead::askDiscard(discardTicked, wb.work.Result_Flag, port)) {
    case TemplateRead::Discard::Declined:
        return false;
    case TemplateRead::Discard::Discard:
        WorkAreaReset::Reset(wb);
        break;
    case TemplateRead::Discard::Keep:
        break;
    }
    const TemplateRunPorts ports{progress, wb.pump, &wb.status, RunNotices::Boxes::FirstOfEachKind, stop};
    const TemplateRead::Summary summary
        = TemplateRead::readTemplates(nativePaths, store, port, ports, wb.settings.encodingChoice());
    if (progress)
        progress->setShown(false);
    // Asked before the list is rebuilt, so that the list is built once, for
    // the word that stays.
    if (TemplateRead::askClearSearchWord(wb.work.Search_Word, port)) {
        wb.work.Search_Word.clear();
        wb.status.setText(StatusPanels::kWord, QStringLiteral("未設定"));
    }
    WorkAreaTemplateStore::finishRun(wb, summary.added > 0);
    return true;
}

bool TemplateCommands::commitParameters(Workbench &wb, const ParameterImages &images)
{
    if (!images.Commit(wb.parameters, *wb.messages))
        return false;
    wb.Param_Count = wb.parameters.Param_Count();
    wb.board.parametersChanged(wb.Param_Count);
    wb.MENU_SETTEI();
    return true;
}

TemplateDuplication::Summary TemplateCommands::Hinagata_Fukusei(Workbench &wb, const QStringList &sources,
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
    TemplateDuplication::Summary summary = TemplateDuplication::Run(wb.parameters.values, sources, searchText,
                                                                    pattern, store, port, lineReplacer(), ports);
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

QStringList TemplateCommands::sourceFiles(const Workbench &wb)
{
    return wb.work.Search_Hit_File_List().texts();
}
