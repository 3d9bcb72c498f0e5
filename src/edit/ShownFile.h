#pragma once

#include <QString>
#include <QStringList>

class MessagePort;
class WorkArea;
struct Workbench;

// The file the detail view shows, as the line editor and the sort dialog take
// its lines out of the work area and put them back.
class ShownFile
{
public:
    // file (the detail view's file index), with its all-lines entries in
    // store order; -1 when it is no file of the work area (the user has been
    // told through port, under caption).
    static int take(const WorkArea &work, int file, MessagePort &port, const QString &caption, QStringList &entries);

    // entries (the file's key, rising line numbers) become file's stored
    // lines in place; the file is marked changed and the detail view rebuilt.
    // false when the work area could not take them: the user is shown
    // failure under caption and the work area is as it was.
    static bool putBack(Workbench &wb, int file, QStringList entries, const QString &failure, const QString &caption);
};
