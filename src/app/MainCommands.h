#pragma once

#include <QString>

class MessagePort;
class WorkArea;
struct Workbench;
struct ViewFrame;

// The main window's own commands that need no dialog, kept free of widgets.
class MainCommands
{
public:
    static const QString kVersionCaption; // "バージョン情報"
    static const QString kVersionText;    // "ＱＵＡＶ　Ver1.2"
    static const QString kNoParameters;   // duplication without parameters
    static const QString kFukuseiCaption; // "雛形複製"

    // Start-up steps that need no window: settings store, window geometry,
    // settings, last folder, status panels, command states, duplication
    // parameters. Returns an error text to show when the store could not be
    // read or written (the program runs on with what it has in memory).
    static QString Startup(Workbench &wb, const QString &startDir);

    // The activation handler (the main window became active). UPDATE and
    // SORT are offered only while the detail view shows a file; nothing
    // changes while the board is busy.
    static void Activate(Workbench &wb, bool detailViewShown);

    // Toolbar and status-bar toggles: `checked` is the menu entry's check mark
    // before the click; returns the new check mark. The views' frame changes
    // by 420 (toolbar: top and height) or 370 twips (status bar: height), the
    // setting is changed and the window configuration written.
    static bool toggleToolBar(Workbench &wb, ViewFrame &frame, bool checked);
    static bool toggleStatusBar(Workbench &wb, ViewFrame &frame, bool checked);

    // The result views after a search run: the list view, when the work area
    // holds files.
    static void buildResultViews(Workbench &wb);

    // END, M_FILE_EXIT, the close box: true when the program may end. With
    // unsaved changes (Hozon_Flag 1) the user is asked first, and only a
    // Yes ends it without saving; No, the default, stays.
    static bool confirmEnd(const WorkArea &work, MessagePort &messages);

    // STOP: the running search stops at its next check.
    static void Stop(WorkArea &work);
    // HINA_FUKUSEI without parameters shows its message; true when the
    // duplication dialog may open. paramCount: Param_Count.
    static bool checkFukusei(int paramCount, MessagePort &messages);
};
