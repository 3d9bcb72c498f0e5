#pragma once

#include "app/CommandBoard.h"
#include "app/StatusPanels.h"
#include "display/DisplayState.h"
#include "platform/EventPump.h"
#include "settings/Settings.h"
#include "template/DuplicationParameters.h"
#include "workarea/WorkArea.h"

#include <QString>

#include <functional>

class MessagePort;
class ProgressPort;
class RichViewPort;
class ClipboardPort;
class SettingsStore;

// Everything the core works on, and the narrow ports through which it reaches
// the user. The main window owns one; tests build one with scripted ports.
// Ports may be null where a caller has no such thing (the batch search has no
// views); core code checks before use.
struct Workbench
{
    WorkArea work;
    Settings settings;
    CommandBoard board;
    StatusPanels status;
    DisplayState display;

    QString Start_Dir; // the folder the program started in, with a trailing "/"
    int Param_Count = 0;
    // The committed duplication parameters; Param_Count follows each commit.
    DuplicationParameters parameters;
    // When the next break reminder falls due (ms since the epoch; 0 = none).
    qint64 VDT_Next_Time = 0;

    // The main window's remembered geometry in twips (15 per pixel), used to
    // centre dialogs. Left and top follow the window on activation; width and
    // height keep their start-up values.
    qint32 Main_Left = 0, Main_Top = 0, Main_Width = 0, Main_Height = 0;
    static constexpr int kTwipsPerPixel = 15;

    MessagePort *messages = nullptr;
    ProgressPort *progress = nullptr;
    RichViewPort *listView = nullptr;
    RichViewPort *detailView = nullptr;
    ClipboardPort *clipboard = nullptr;
    SettingsStore *store = nullptr;
    EventPump *pump = &m_nullPump;

    // Set by the main window: copies the board's states to the menus.
    std::function<void()> menuSettei;
    // Set by the main window: enables or disables it (a search enables it so
    // that STOP can be pressed while the settings dialog is hidden).
    std::function<void(bool)> mainWindowEnabled;
    void Enable_Main_Window(bool enabled) const
    {
        if (mainWindowEnabled)
            mainWindowEnabled(enabled);
    }
    void MENU_SETTEI() const
    {
        if (menuSettei)
            menuSettei();
    }

private:
    NullEventPump m_nullPump;
};
