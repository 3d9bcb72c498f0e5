#include "edit/UndoCommand.h"

#include "base/Workbench.h"
#include "edit/SaveForm.h"
#include "platform/MessagePort.h"
#include "platform/NativeName.h"

#include <QSet>

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

void report(MessagePort &port, const UndoRestore::Result &r)
{
    const QString done = QStringLiteral("%1 個のファイルを保存前の内容に戻しました。").arg(r.restoredPaths().size());
    if (r.allRestored())
        port.show(done, UndoRestore::kCaption, MessagePort::Icon::Information);
    else
        port.show(done + kLineBreak + r.problems(), UndoRestore::kCaption, MessagePort::Icon::Exclamation);
}

} // namespace

bool UndoCommand::markRestored(WorkArea &work, const QList<QByteArray> &paths)
{
    QSet<QByteArray> restored;
    for (const QByteArray &p : paths)
        restored.insert(NativeName::realFile(p));
    bool marked = false;
    for (int i = 0; i < work.Search_Hit_File_List().count(); ++i)
        if (restored.contains(NativeName::realFile(work.nativePath(i)))) {
            work.setFileChanged(i, true);
            marked = true;
        }
    return marked;
}

void UndoCommand::undoLastSave(Workbench &wb)
{
    MessagePort &port = *wb.messages;
    const std::optional<UndoStore::Batch> batch = UndoStore::lastUndoable();
    if (!batch) {
        port.show(QStringLiteral("取り消せる保存はありません。"), UndoRestore::kCaption, MessagePort::Icon::Information);
        return;
    }
    QList<QByteArray> paths;
    for (const UndoManifest::File &f : batch->manifest.files)
        paths.append(f.path);
    if (port.show(QStringLiteral("次の保存を取り消して、ファイルを保存前の内容に戻しますか？") + kLineBreak
                      + UndoRestore::describe(*batch) + kLineBreak + kLineBreak + UndoRestore::nameList(paths),
                  UndoRestore::kCaption, MessagePort::Icon::Question, MessagePort::Buttons::YesNoDefaultNo)
        != MessagePort::Answer::Yes)
        return;
    const UndoRestore::Mode mode = batch->interrupted() ? UndoRestore::Mode::Rollback : UndoRestore::Mode::Undo;
    const UndoRestore::Result r = UndoRestore::run(*batch, mode, false);
    if (markRestored(wb.work, r.restoredPaths()))
        SaveForm::updateHozon(wb);
    report(port, r);
}

void UndoCommand::offerRecovery(Workbench &wb)
{
    MessagePort &port = *wb.messages;
    for (const UndoStore::Batch &batch : UndoStore::interrupted()) {
        const QList<QByteArray> written = UndoRestore::writtenFiles(batch);
        const QString text = QStringLiteral("前回の保存は途中で中断されました。") + kLineBreak
            + UndoRestore::describe(batch) + kLineBreak + kLineBreak
            + (written.isEmpty() ? QStringLiteral("書き込まれたファイルはありません。")
                                 : QStringLiteral("書き込まれたファイル:") + kLineBreak + UndoRestore::nameList(written))
            + kLineBreak + kLineBreak
            + QStringLiteral("この保存を取り消して、ファイルを保存前の内容に戻しますか？") + kLineBreak
            + QStringLiteral("（「いいえ」なら書き込まれた内容を残します。あとで取り消すこともできます。）");
        if (port.show(text, UndoRestore::kCaption, MessagePort::Icon::Question, MessagePort::Buttons::YesNo)
            == MessagePort::Answer::Yes) {
            const UndoRestore::Result r = UndoRestore::run(batch, UndoRestore::Mode::Rollback, false);
            if (markRestored(wb.work, r.restoredPaths()))
                SaveForm::updateHozon(wb);
            report(port, r);
        } else {
            UndoStore::Hold hold(batch.id);
            hold.setState(UndoManifest::State::Kept);
        }
    }
}
