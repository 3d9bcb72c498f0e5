#pragma once

#include <QString>

struct Workbench;
class WorkArea;

// The detail view (RTB_Syousai_Disp): one whole file of the work area, found
// from the display line under the list caret. Build_Detail_View also leaves
// behind which file that is (Detail_Header, Detail_File_Key, Detail_First,
// Detail_Last, detailFileIndex) for the editing dialogs.
class DetailView
{
public:
    enum class Origin { DoubleClick, Toolbar, Menu };

    // The user's entries: double-click in the list view, toolbar DISP, menu
    // M_DISP_SYOUSAI. Ignored while the board is busy.
    static void Show_Detail_View(Workbench &wb, Origin origin);
    // Locates the file of the display line under the list caret and, unless
    // Range_Only_Flag is 1, shows it. true when a file was located.
    static bool Build_Detail_View(Workbench &wb);

    // The file-list index of the file whose header is display line k, or -1.
    // Uses the full key kept beside the header; where none was kept, the
    // header's own text when it is whole, or the one file whose key begins
    // with a cut header's path. Never guesses between two files.
    static int locateHeaderFile(const WorkArea &work, int k);
};
