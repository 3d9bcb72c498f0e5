#pragma once

#include "base/CommandBoard.h"
#include "base/StatusPanels.h"
#include "base/DisplayState.h"
#include "platform/ClipboardPort.h"
#include "platform/EventPump.h"
#include "platform/MessagePort.h"
#include "platform/ProgressPort.h"
#include "platform/RichViewPort.h"
#include "base/Settings.h"
#include "base/DuplicationParameters.h"
#include "workarea/WorkArea.h"

#include <QString>

#include <functional>

class SettingsStore;

// Everything the core works on, and the narrow ports through which it reaches
// the user. The main window owns one; tests build one with scripted ports.
// A port the caller has no such thing for (the batch search has no views)
// stays a null port that ignores what it is told, so core code uses every
// port without checking. Only the settings store may be null: without one,
// nothing is read or written.
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
    qint32 mainLeft = 0, mainTop = 0, mainWidth = 0, mainHeight = 0;
    static constexpr int kTwipsPerPixel = 15;

    MessagePort *messages = &m_nullMessages;
    ProgressPort *progress = &m_nullProgress;
    RichViewPort *listView = &m_nullListView;
    RichViewPort *detailView = &m_nullDetailView;
    ClipboardPort *clipboard = &m_nullClipboard;
    SettingsStore *store = nullptr;
    EventPump *pump = &m_nullPump;

    // Puts the null ports back, for an owner of ports that goes away first.
    void detachPorts()
    {
        messages = &m_nullMessages;
        progress = &m_nullProgress;
        listView = &m_nullListView;
        detailView = &m_nullDetailView;
        clipboard = &m_nullClipboard;
        pump = &m_nullPump;
    }

    // Set by the main window: copies the board's states to the menus.
    std::function<void()> menuSettei;
    void MENU_SETTEI() const
    {
        if (menuSettei)
            menuSettei();
    }

private:
    NullMessagePort m_nullMessages;
    NullProgressPort m_nullProgress;
    NullRichViewPort m_nullListView;
    NullRichViewPort m_nullDetailView;
    NullClipboardPort m_nullClipboard;
    NullEventPump m_nullPump;
};
