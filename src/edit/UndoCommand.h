#pragma once

#include "edit/UndoRestore.h"

class WorkArea;
struct Workbench;

// The window's side of the undo journal, free of widgets: undoing the last
// save batch from the menu, and the offer at start-up to roll back a save
// that a crash cut short. Asks and reports through the workbench's message
// port. A file put back on disk that the work area still holds is marked
// changed: its stored lines are no longer what the disk holds.
class UndoCommand
{
public:
    // The menu entry: lists the files of the newest batch not yet undone,
    // asks (default No), puts them back and reports what was left alone.
    static void undoLastSave(Workbench &wb);
    // Every batch cut short: names the files it wrote and asks whether to
    // roll it back (Yes) or keep what was written (No).
    static void offerRecovery(Workbench &wb);
    // Marks the work area's files among `paths` (links followed) changed;
    // true when it marked any.
    static bool markRestored(WorkArea &work, const QList<QByteArray> &paths);
};
