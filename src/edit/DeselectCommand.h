#pragma once

#include <QString>

struct Workbench;

// Deselect (FILE_DELETE, M_EDIT_DELETE): the file under the list view's
// remembered caret leaves the work area after one question. The file on disk
// is not touched; unsaved changes of that file are dropped.
class DeselectCommand
{
public:
    static const QString kCaption; // "選択取り消し"

    // The command: locates the file through the detail view's locate-only
    // build, asks, and removes it on Yes. The toolbar's states are saved
    // before and given back on every way out.
    static void KIHON_M_EDIT_DELETE_Click(Workbench &wb);

    // The removal of the located file (wb.display.detailFileIndex) and the
    // refresh after it: the list view rebuilt over the remaining files, or
    // both views hidden when none is left; Hozon_Flag recomputed.
    static void removeLocatedFile(Workbench &wb);
};
