#pragma once

#include <QString>

struct Workbench;
class ItemList;
class StatusPanels;
class WorkArea;

// The list view (RTB_Search_Kekka): the list document of every display line,
// the status after a change, and the mapping from its caret to a display line.
// Caret positions count each paragraph break as two characters (CR LF), so a
// line of single-byte characters takes 85.
class ListView
{
public:
    // Above this start offset a clicked line is not highlighted.
    static constexpr qint32 kHighlightLimit = 32300;

    // Rebuilds the list document and loads it into the list view. false when
    // the document could not be written (the user has been told).
    static bool Build_List_View(Workbench &wb);
    // Panels and toolbar states after a change of the work area.
    static void Show_Status_Counts(Workbench &wb);
    // "対象数 =" + number of files + "ﾌｧｲﾙ"
    static QString fileCountText(const WorkArea &work);
    // "SEARCH" := "Ready", "PATH" := Search_Path, "HIT_SU" := the file count.
    static void showReadyPanels(StatusPanels &status, const WorkArea &work);

    // Caret position -> display line, from end offsets held as ItemData of
    // the count list. A caret exactly at a line's end offset stands at the
    // start of the next line and belongs to it; past the last line gives the
    // last line; an empty list gives 0.
    static int Caret_To_Line(const ItemList &counts, qint32 position);
    // Where display line k starts in the list view's text.
    static qint32 lineStart(const ItemList &counts, int k);

    // The click event of the list view: highlights the clicked line. Ignored
    // while the board is busy (Clicked_Line_Index and Clicked_Caret_Pos stay).
    static void KIHON_RTB_Search_Kekka_Click(Workbench &wb);
    // Back from the detail view to the list (toolbar DISP_SEARCH or menu
    // M_DISP_ITIRAN).
    static void Show_List_View(Workbench &wb, bool fromToolbar);
};
