#pragma once

#include "edit/SaveForm.h"
#include "edit/SaveProgress.h"
#include "edit/SaveQueue.h"
#include "platform/MessagePort.h"
#include "platform/SaveBatch.h"

#include <QList>
#include <QString>

struct Workbench;

// The writing of the files chosen in the save dialog, as one batch of the
// undo journal whose files are made durable a group at a time (SaveQueue).
// A file is prepared when it is given; it reaches its name, its change flag
// is cleared and its stamp kept when its group is flushed. The window is
// served between files and while a file waits for another save's lock, and
// STOP ends the run there.
//
// The user is never asked or told anything while prepared files wait for
// their flush: every message box comes after settle() (the files waiting
// are renamed first), so a box left open keeps no lock of another file and
// no file half done.
class SaveRun
{
public:
    SaveRun(Workbench &wb, int total, SaveForm::Outcome &out);
    ~SaveRun();
    SaveRun(const SaveRun &) = delete;
    SaveRun &operator=(const SaveRun &) = delete;

    // Before file i (named as the work area shows it): false when STOP
    // ended the run.
    bool next(const QString &file);
    // Writes file i of the work area; its result may come with its group.
    void save(int i, bool overwriteAgreed = false);
    // Flushes the files waiting and deals with every result so far; after
    // it the user may be asked.
    void settle();
    // Settles and ends the batch and the busy state; says what STOP left
    // unsaved, and what the batch found left over by an earlier save.
    void finish();

private:
    struct Result
    {
        int file;
        SaveResult result;
        bool agreed; // the overwrite was agreed to already
    };
    void deliver();
    void handle(const Result &done);
    void show(const QString &text, MessagePort::Icon icon);

    Workbench &m_wb;
    int m_total;
    SaveForm::Outcome &m_out;
    QList<Result> m_results; // delivered by the queue, not yet dealt with
    int m_current = -1;      // the file being given to the queue
    int m_waitStopped = -1;  // the file whose wait for a lock STOP ended
    QString m_stopNote;      // why that file was not saved
    bool m_finished = false;
    SaveBatch m_batch;
    SaveProgress m_progress;
    SaveQueue m_queue; // last: its callbacks use the members above
};
