#pragma once

struct Workbench;

// The two commands of the main window that need no dialog.
class WorkAreaCommands
{
public:
    // CLEAR and M_EDIT_CLEAR: after one question (No is its default while
    // changes are unsaved), empties all seven lists,
    // both views (emptied and hidden) and the detail cache, and offers SEARCH
    // and HINAGATA again. Nothing happens while the work area holds no result.
    static void Clear_Work_Area(Workbench &wb);

    // CLIP and M_EDIT_CLIP: the text selected in the visible view goes to the
    // clipboard as plain text, line breaks as CR LF.
    static void Copy_Selection(Workbench &wb);
};
