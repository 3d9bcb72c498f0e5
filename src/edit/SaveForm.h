#pragma once

#include "edit/FileSave.h"
#include "workarea/WorkArea.h"

#include <QList>
#include <QString>
#include <QStringList>

struct Workbench;

// The algorithm of the save dialog "保存", free of widgets: which files are
// offered and preselected, the questions, writing the chosen files (SaveRun:
// one batch, made durable a group at a time), and the change flags,
// Hozon_Flag and HOZON afterwards.
class SaveForm
{
public:
    static const QString kCaption; // "保存"

    struct Item
    {
        QString text;  // the file's key, as the work area shows it
        bool selected; // preselected: changed and not saved
    };
    // One item per file of the work area, in work-area order.
    static QList<Item> Form_Load(const WorkArea &work);

    struct Outcome
    {
        bool closes = false; // false only when nothing was selected
        int written = 0;
        int skipped = 0; // answered No (unchanged file, or changed on disk)
        int failed = 0;  // reported, left as it was on disk
        bool stopped = false; // STOP ended the save between two files or during a wait
    };
    // selected[i]: whether List1 item i is selected. Asks and reports through
    // the workbench's message port; one file's failure is reported and the
    // others are still written.
    static Outcome Cmd_Jikkou(Workbench &wb, const QList<bool> &selected);

    // Hozon_Flag and HOZON from the change flags.
    static void updateHozon(Workbench &wb);

    // The request that writes file i from its stored lines. entries holds
    // the entries the request's views point into; it must outlive the request.
    static SaveRequest requestFor(const WorkArea &work, int i, QStringList &entries);

    // The line number and text of an entry of the file whose key has
    // keyLength characters (the key is the entry's start).
    static StoredLine storedLine(QStringView entry, qsizetype keyLength);

    // The index range of file i's entries in the all-lines store, by the
    // line index; empty when it has none or the range's ends are not the
    // file's (a save never writes another file's lines).
    static WorkArea::Range linesOf(const WorkArea &work, int i);

    // Stores a written file's stamp as its origin, so that the next save
    // compares with what this one wrote.
    static void keepStamp(WorkArea &work, int i, const DiskStamp &stamp);
};
