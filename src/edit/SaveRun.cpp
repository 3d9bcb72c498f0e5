#include "edit/SaveRun.h"

#include "base/Workbench.h"

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

} // namespace

SaveRun::SaveRun(Workbench &wb, int total, SaveForm::Outcome &out)
    : m_wb(wb), m_total(total), m_out(out),
      m_batch(FileSave::batchOptions(wb.settings, SaveForm::kCaption)), m_progress(wb, total), m_queue(m_batch)
{
    m_queue.setFlushBeforeUnwritten(true);
    m_queue.setWhileWaiting([this](const QString &file) {
        if (m_progress.waiting(file))
            return true;
        m_waitStopped = m_current;
        return false;
    });
}

SaveRun::~SaveRun()
{
    finish();
}

bool SaveRun::next(const QString &file)
{
    if (m_progress.next(file))
        return true;
    m_out.stopped = true;
    return false;
}

void SaveRun::save(int i, bool overwriteAgreed)
{
    QStringList entries;
    SaveRequest request = SaveForm::requestFor(m_wb.work, i, entries);
    if (request.lines.isEmpty()) {
        // Every file read has at least one line: none found means the
        // store lost track of it, and writing would empty the file.
        ++m_out.failed;
        settle();
        show(m_wb.work.Search_Hit_File_Change().text(i) + kLineBreak
                 + QStringLiteral("作業エリアにこのファイルの行が見つかりません。") + kLineBreak
                 + QStringLiteral("保存できませんでした。ファイルは元のままです。"),
             MessagePort::Icon::Critical);
        return;
    }
    request.batch = &m_batch;
    request.overwriteAgreed = overwriteAgreed;
    m_current = i;
    // The queue keeps no line of the request: entries may go when it returns.
    m_queue.save(request, [this, i, overwriteAgreed](const SaveResult &r) {
        m_results.append({i, r, overwriteAgreed});
    });
    deliver();
}

void SaveRun::settle()
{
    m_queue.flush();
    deliver();
}

void SaveRun::deliver()
{
    // Dealing with a result may flush (before a box) or save again (after a
    // Yes): both add results behind it.
    while (!m_results.isEmpty())
        handle(m_results.takeFirst());
}

void SaveRun::show(const QString &text, MessagePort::Icon icon)
{
    m_queue.flush();
    m_wb.messages->show(text, SaveForm::kCaption, icon);
}

void SaveRun::handle(const Result &done)
{
    const SaveResult &r = done.result;
    if (done.file == m_waitStopped && !r.written()) {
        // Not a failure: the user ended the wait, and the run with it.
        m_out.stopped = true;
        m_stopNote = r.message;
        return;
    }
    if (r.needsQuestion() && !done.agreed) {
        // Someone else's content is at stake: only an explicit Yes replaces
        // it, and No keeps the change flag. Nothing is overwritten where the
        // file was removed.
        m_queue.flush();
        const QString question = r.outcome == SaveResult::Outcome::RemovedOnDisk
            ? QStringLiteral("保存し直しますか？")
            : QStringLiteral("上書き保存しますか？");
        if (m_wb.messages->show(r.message + kLineBreak + question, SaveForm::kCaption,
                                MessagePort::Icon::Exclamation, MessagePort::Buttons::YesNoDefaultNo)
            != MessagePort::Answer::Yes) {
            ++m_out.skipped;
            return;
        }
        save(done.file, true);
        return;
    }
    if (!r.written()) {
        ++m_out.failed;
        show(r.message, MessagePort::Icon::Critical);
        return;
    }
    SaveForm::keepStamp(m_wb.work, done.file, r.stamp);
    m_wb.work.setFileChanged(done.file, false);
    ++m_out.written;
    if (!r.warning.isEmpty())
        show(r.warning, MessagePort::Icon::Exclamation);
}

void SaveRun::finish()
{
    if (m_finished)
        return;
    m_finished = true;
    settle();
    m_batch.finish();
    m_progress.end();
    if (m_out.stopped) {
        QString text = QStringLiteral("保存を中止しました。") + kLineBreak
            + QStringLiteral("%1 件中 %2 件を保存しました。保存していないファイルは変更ありのままです。")
                  .arg(m_total)
                  .arg(m_out.written);
        if (!m_stopNote.isEmpty())
            text += kLineBreak + kLineBreak + m_stopNote;
        m_wb.messages->show(text, SaveForm::kCaption, MessagePort::Icon::Information);
    }
    for (const QString &notice : m_batch.notices())
        m_wb.messages->show(notice, SaveForm::kCaption, MessagePort::Icon::Exclamation);
}
