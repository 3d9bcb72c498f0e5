#pragma once

#include "workarea/WorkArea.h"

// Write access to the lists behind the work area's operations, for the tests
// that need a state the operations refuse: broken invariants to be found, a
// store the line index must survive, raw items to be dumped. Every other
// test sets up its work area through the operations.
struct WorkAreaTestAccess
{
    static ItemList &files(WorkArea &w) { return w.m_fileList; }
    static ItemList &changes(WorkArea &w) { return w.m_changeList; }
    static ItemList &allLines(WorkArea &w) { return w.m_allLines; }
    static ItemList &display(WorkArea &w) { return w.m_hitList; }
    static ItemList &counts(WorkArea &w) { return w.m_countList; }
    static ItemList &scanBuffer(WorkArea &w) { return w.m_searchList; }
    static ItemList &sortList(WorkArea &w) { return w.m_sortList; }
    static QList<FileOrigin> &origins(WorkArea &w) { return w.m_origins; }
    // A file in the file, change and origin lists alone, without lines.
    static int addFile(WorkArea &w, const QString &path, const FileOrigin &origin = {})
    {
        return w.Add_File(path, origin);
    }
    static void removeFile(WorkArea &w, int i) { w.removeFile(i); }
    // A display line of any kind, a file header without its file included.
    static bool appendDisplayLine(WorkArea &w, const QString &text) { return w.appendAnyDisplayLine(text); }
};
