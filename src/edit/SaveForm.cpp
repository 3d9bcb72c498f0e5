#include "edit/SaveForm.h"

#include "edit/SaveRun.h"

#include "base/Workbench.h"
#include "platform/MessagePort.h"
#include "workarea/LineFormat.h"
#include "workarea/WorkArea.h"

const QString SaveForm::kCaption = QStringLiteral("保存");

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

MessagePort::Answer ask(MessagePort &port, const QString &text, MessagePort::Buttons buttons)
{
    return port.show(text, SaveForm::kCaption, MessagePort::Icon::Exclamation, buttons);
}

} // namespace

WorkArea::Range SaveForm::linesOf(const WorkArea &work, int i)
{
    const WorkArea::Range range = work.fileLineRange(i);
    if (range.isEmpty())
        return {};
    const ItemList &all = work.Search_Hit_All_Line_List();
    const QString key = work.File_Key(i);
    if (LineFormat::Entry_Key(all.text(range.first)) != key || LineFormat::Entry_Key(all.text(range.last)) != key)
        return {};
    return range;
}

QList<SaveForm::Item> SaveForm::Form_Load(const WorkArea &work)
{
    QList<Item> items;
    const ItemList &change = work.Search_Hit_File_Change();
    for (int i = 0; i < change.count(); ++i)
        items.append({change.text(i), change.data(i) == 1});
    return items;
}

StoredLine SaveForm::storedLine(QStringView entry, qsizetype keyLength)
{
    // The separators are looked for after the key, not through it: a path is
    // long, and a replace of thousands of files splits every stored line.
    const QStringView sep = LineFormat::kSeparator;
    if (entry.size() >= keyLength + sep.size() && entry.sliced(keyLength, sep.size()) == sep) {
        const qsizetype numberAt = keyLength + sep.size();
        const qsizetype q = entry.indexOf(sep, numberAt);
        if (q >= 0)
            return {entry.sliced(numberAt, q - numberAt), entry.sliced(q + sep.size())};
    }
    return {LineFormat::Entry_Line_No(entry), LineFormat::Entry_Text(entry)};
}

SaveRequest SaveForm::requestFor(const WorkArea &work, int i, QStringList &entries)
{
    SaveRequest r;
    r.path = work.nativePath(i);
    r.displayName = work.File_Key(i);
    const auto [first, last] = linesOf(work, i);
    entries.clear();
    for (int k = first; k <= last; ++k)
        entries.append(work.Search_Hit_All_Line_List().text(k));
    const qsizetype keyLength = r.displayName.size();
    r.lines.reserve(entries.size());
    for (const QString &entry : std::as_const(entries))
        r.lines.append(storedLine(entry, keyLength));
    const FileOrigin origin = i < work.fileOrigins().size() ? work.fileOrigins().at(i) : FileOrigin();
    if (origin.size >= 0)
        r.readStamp = DiskStamp{origin.size, origin.modifiedNsecs};
    else
        r.sourceBytes = origin.sourceBytes;
    r.encoding = origin.encoding;
    return r;
}

void SaveForm::keepStamp(WorkArea &work, int i, const DiskStamp &stamp)
{
    work.keepFileStamp(i, stamp.size, stamp.mtimeNs);
}

void SaveForm::updateHozon(Workbench &wb)
{
    wb.work.recomputeHozonFlag();
    wb.board.afterChangeFlags(wb.work);
    wb.MENU_SETTEI();
}

SaveForm::Outcome SaveForm::Cmd_Jikkou(Workbench &wb, const QList<bool> &selected)
{
    using Answer = MessagePort::Answer;
    using Buttons = MessagePort::Buttons;
    WorkArea &work = wb.work;
    const ItemList &change = work.Search_Hit_File_Change();
    const int n = std::min(int(selected.size()), change.count());

    int chosen = 0, unchanged = 0;
    for (int i = 0; i < n; ++i)
        if (selected.at(i)) {
            ++chosen;
            if (change.data(i) == 0)
                ++unchanged;
        }

    Outcome out;
    if (chosen == 0) {
        wb.messages->show(QStringLiteral("対象ファイルリストが１件も選択されていません。"), kCaption,
                          MessagePort::Icon::Exclamation);
        return out;
    }
    out.closes = true;

    bool allAgreed = false;
    if (unchanged > 0 && chosen > 1)
        allAgreed = ask(*wb.messages,
                        QStringLiteral("更新のないファイルを含んでいます。") + kLineBreak
                            + QStringLiteral("一括更新保存しますか？"),
                        Buttons::YesNo)
            == Answer::Yes;

    // One batch in the undo journal for all the files of this save, made
    // durable a group at a time. While it runs the window is served (every
    // 30 ms), the status bar counts the files, and STOP (which clears
    // Search_Running, as for a search) ends it between two files or during
    // a wait for another save: the files prepared by then are put in place,
    // the files not yet written keep their change flags, and the batch
    // holds just the files written.
    {
        SaveRun run(wb, chosen, out);
        for (int i = 0; i < n; ++i) {
            if (!selected.at(i))
                continue;
            if (!run.next(change.text(i)))
                break;
            if (change.data(i) == 0 && !allAgreed) {
                run.settle();
                if (ask(*wb.messages,
                        change.text(i) + kLineBreak + QStringLiteral("上のファイルは更新のないファイルです。")
                            + kLineBreak + QStringLiteral("保存しますか？"),
                        Buttons::YesNo)
                    != Answer::Yes) {
                    ++out.skipped;
                    continue;
                }
            }
            run.save(i);
        }
        run.finish();
    }
    updateHozon(wb);
    return out;
}
