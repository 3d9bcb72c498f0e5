#include "base/CommandBoard.h"

#include "workarea/LineFormat.h"
#include "workarea/WorkArea.h"

CommandBoard::CommandBoard()
{
    m_enabled.fill(true);
    m_visible.fill(true);
}

bool CommandBoard::isEnabled(Command command) const
{
    return m_enabled[size_t(command)];
}

bool CommandBoard::isVisible(Command command) const
{
    return m_visible[size_t(command)];
}

void CommandBoard::setEnabled(Command command, bool enabled)
{
    if (m_enabled[size_t(command)] == enabled)
        return;
    m_enabled[size_t(command)] = enabled;
    Q_EMIT changed(command);
}

void CommandBoard::setVisible(Command command, bool visible)
{
    if (m_visible[size_t(command)] == visible)
        return;
    m_visible[size_t(command)] = visible;
    Q_EMIT changed(command);
}

void CommandBoard::enable(std::initializer_list<Command> list)
{
    for (Command c : list)
        setEnabled(c, true);
}

void CommandBoard::disable(std::initializer_list<Command> list)
{
    for (Command c : list)
        setEnabled(c, false);
}

bool CommandBoard::Enter_Busy()
{
    if (m_busy)
        return false;
    for (int i = 0; i < kCount; ++i)
        m_saved[size_t(i)] = m_enabled[size_t(i)] ? 1 : 0;
    for (int i = 0; i < kCount; ++i)
        setEnabled(Command(i), false);
    m_busy = true;
    Q_EMIT busyChanged(true);
    return true;
}

void CommandBoard::Leave_Busy()
{
    for (int i = 0; i < kCount; ++i)
        if (m_saved[size_t(i)] == 1)
            setEnabled(Command(i), true);
    if (m_busy) {
        m_busy = false;
        Q_EMIT busyChanged(false);
    }
}

void CommandBoard::applyStartup()
{
    enable({Command::DRIVE, Command::FOLDER, Command::SEARCH, Command::CLEAR, Command::HINAGATA, Command::TIME,
            Command::SETTEI, Command::END});
    disable({Command::HOZON, Command::SEARCH_SAVE, Command::FILE_DELETE, Command::SORT, Command::CHANGE,
             Command::UPDATE, Command::CLIP, Command::PARAMETER, Command::HINA_FUKUSEI, Command::STOP,
             Command::DISP_SEARCH, Command::DISP, Command::NONE1});
    setVisible(Command::NONE1, false);
}

void CommandBoard::searchStarting()
{
    disable({Command::SEARCH});
    enable({Command::STOP});
}

void CommandBoard::saveStarting()
{
    enable({Command::STOP});
}

void CommandBoard::saveEnded()
{
    disable({Command::STOP});
}

void CommandBoard::afterResultsChanged(const WorkArea &work)
{
    setEnabled(Command::HOZON, work.Hozon_Flag == 1);
    enable({Command::SEARCH_SAVE, Command::CHANGE, Command::CLIP, Command::PARAMETER, Command::DISP,
            Command::FILE_DELETE});
    disable({Command::STOP});
    // SEARCH comes back only here: after a search with results a new one
    // needs CLEAR or a template read first.
    if (work.Search_Hit_File_List().isEmpty()) {
        enable({Command::SEARCH, Command::SEARCH_SAVE});
        disable({Command::HOZON, Command::FILE_DELETE, Command::CHANGE, Command::UPDATE, Command::CLIP,
                 Command::PARAMETER, Command::DISP, Command::STOP, Command::HINA_FUKUSEI});
    }
}

void CommandBoard::afterClear()
{
    enable({Command::SEARCH, Command::HINAGATA});
    disable({Command::HOZON, Command::FILE_DELETE, Command::SORT, Command::CHANGE, Command::UPDATE, Command::CLIP,
             Command::PARAMETER, Command::HINA_FUKUSEI, Command::STOP, Command::DISP_SEARCH, Command::DISP});
}

void CommandBoard::afterChangeFlags(const WorkArea &work)
{
    setEnabled(Command::HOZON, work.Hozon_Flag == 1);
}

void CommandBoard::listViewShown()
{
    enable({Command::DISP, Command::HINAGATA, Command::FILE_DELETE});
    disable({Command::DISP_SEARCH, Command::SORT, Command::UPDATE});
}

void CommandBoard::detailRequested()
{
    // Before the snapshot, so that leaving the busy state keeps it off.
    disable({Command::FILE_DELETE});
    Enter_Busy();
}

void CommandBoard::detailShown(const QString &header)
{
    Leave_Busy();
    enable({Command::DISP_SEARCH, Command::UPDATE});
    disable({Command::DISP, Command::HINAGATA});
    setEnabled(Command::SORT, LineFormat::isAddedFileHeader(header));
}

void CommandBoard::detailKeptAfterChange()
{
    disable({Command::FILE_DELETE});
}

void CommandBoard::detailRefused()
{
    Leave_Busy();
    enable({Command::FILE_DELETE, Command::DISP});
    disable({Command::DISP_SEARCH});
}

void CommandBoard::parametersChanged(int paramCount)
{
    setEnabled(Command::HINA_FUKUSEI, paramCount >= 1);
}

void CommandBoard::activated(int paramCount, const WorkArea &work, bool detailShown, const QString &header)
{
    // The window is activated again when the search dialog hides itself for
    // the run; the busy state owns the buttons until it ends.
    if (m_busy)
        return;
    parametersChanged(paramCount);
    if (work.Result_Flag == 0)
        return;
    // After CLEAR neither view shows: that is not the detail view.
    if (detailShown) {
        enable({Command::UPDATE});
        setEnabled(Command::SORT, LineFormat::isAddedFileHeader(header));
    } else {
        disable({Command::UPDATE, Command::SORT});
    }
}

void CommandBoard::offerDump()
{
    setVisible(Command::NONE1, true);
    enable({Command::NONE1});
}
