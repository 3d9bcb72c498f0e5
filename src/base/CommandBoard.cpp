#include "base/CommandBoard.h"

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
