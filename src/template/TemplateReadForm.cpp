#include "template/TemplateReadForm.h"

#include "base/Workbench.h"
#include "display/WorkAreaReset.h"
#include "platform/MessagePort.h"
#include "platform/NativeName.h"
#include "platform/ProgressPort.h"
#include "template/TemplateRead.h"
#include "template/WorkAreaTemplateStore.h"

bool TemplateReadForm::Hinagata_Read(Workbench &wb, const QList<QByteArray> &nativePaths, bool discardTicked,
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
